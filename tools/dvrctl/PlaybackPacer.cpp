#include "PlaybackPacer.h"

namespace {

constexpr std::uint64_t kPtsModulus = std::uint64_t{1} << 33;
constexpr std::int64_t kTicksPerMs = 90;

// b - a in the 33-bit stamp space, as the shorter way round (negative when b is earlier).
std::int64_t StampDifference(std::uint64_t a, std::uint64_t b)
{
    const std::uint64_t forward = (b - a) % kPtsModulus;
    return forward < kPtsModulus / 2 ? static_cast<std::int64_t>(forward)
                                     : static_cast<std::int64_t>(forward) - static_cast<std::int64_t>(kPtsModulus);
}

} // namespace

std::chrono::milliseconds PlaybackPacer::Schedule(std::optional<std::uint64_t> pts)
{
    if (!pts)
        return m_lastPicture.value_or(std::chrono::milliseconds(0));
    const std::chrono::milliseconds earliest =
        m_lastPicture ? *m_lastPicture + m_minGap : std::chrono::milliseconds(0);
    std::chrono::milliseconds due = earliest;
    if (m_anchorPts) {
        due = m_anchorTime + std::chrono::milliseconds(StampDifference(*m_anchorPts, *pts) / kTicksPerMs);
        if (due > earliest + kMaxJump || due < earliest - kMaxJump)
            m_anchorPts.reset();
        else if (due < earliest)
            due = earliest;
    }
    if (!m_anchorPts) {
        m_anchorPts = *pts % kPtsModulus;
        m_anchorTime = earliest;
        due = earliest;
    }
    m_lastPicture = due;
    return due;
}
