#include "core/video/JpegComment.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kFirstApplication = 0xE0;
constexpr std::uint8_t kLastApplication = 0xEF;
constexpr std::uint8_t kComment = 0xFE;
constexpr std::size_t kMaxSegmentPayload = 0xFFFF - 2;

} // namespace

std::optional<std::vector<std::uint8_t>> InsertJpegComment(const std::vector<std::uint8_t>& jpeg,
                                                           std::string_view comment)
{
    if (jpeg.size() < 4 || jpeg[0] != kMarker || jpeg[1] != kStartOfImage)
        return std::nullopt;
    // Skip the application segments (JFIF, Exif), each a marker and a length
    // that counts itself.
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == kMarker && jpeg[at + 1] >= kFirstApplication &&
           jpeg[at + 1] <= kLastApplication) {
        const std::size_t length = std::size_t(jpeg[at + 2]) << 8 | jpeg[at + 3];
        if (length < 2 || at + 2 + length > jpeg.size())
            return std::nullopt;
        at += 2 + length;
    }
    if (at + 2 > jpeg.size() || jpeg[at] != kMarker)
        return std::nullopt;

    const std::size_t payload = std::min(comment.size(), kMaxSegmentPayload);
    const std::size_t length = payload + 2;
    std::vector<std::uint8_t> out;
    out.reserve(jpeg.size() + 2 + length);
    out.insert(out.end(), jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(at));
    out.push_back(kMarker);
    out.push_back(kComment);
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(static_cast<std::uint8_t>(length & 0xFF));
    out.insert(out.end(), comment.begin(), comment.begin() + static_cast<std::ptrdiff_t>(payload));
    out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(at), jpeg.end());
    return out;
}
