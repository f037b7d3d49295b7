#include "platform/decoder/ParameterSetBudget.h"

#include "core/mpeg/StartCode.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr std::uint8_t kNalSlice = 1;
constexpr std::uint8_t kNalIdrSlice = 5;
constexpr std::uint8_t kNalSequenceSet = 7;
constexpr std::uint8_t kNalPictureSet = 8;
constexpr unsigned kMaxSequenceId = 31;
constexpr unsigned kMaxPictureId = 255;
constexpr std::size_t kPrefixBytes = 3;  // 00 00 01
// The id is the first element of a picture set and follows three bytes
// (profile, constraint flags, level) in a sequence set.
constexpr int kSequenceIdBit = 24;

// The first bytes of a NAL unit's payload with the emulation prevention bytes taken out.
struct RbspHead {
    std::uint8_t bytes[8] = {};
    std::size_t size = 0;
};

RbspHead ReadHead(const std::uint8_t* nal, std::size_t size)
{
    RbspHead head;
    int zeros = 0;
    for (std::size_t i = 1; i < size && head.size < sizeof(head.bytes); ++i) {
        if (zeros >= 2 && nal[i] == 3) {
            zeros = 0;
            continue;
        }
        zeros = nal[i] == 0 ? zeros + 1 : 0;
        head.bytes[head.size++] = nal[i];
    }
    return head;
}

// An unsigned Exp-Golomb value starting at bit `bit` of the head; bit moves past it.
bool ReadUe(const RbspHead& head, int& bit, unsigned* value)
{
    const int bits = int(head.size) * 8;
    auto at = [&](int i) { return (head.bytes[i / 8] >> (7 - i % 8)) & 1; };
    int zeros = 0;
    while (bit < bits && at(bit) == 0) {
        ++zeros;
        ++bit;
    }
    if (bit + 1 + zeros > bits || zeros > 16)
        return false;
    ++bit;
    unsigned suffix = 0;
    for (int i = 0; i < zeros; ++i)
        suffix = (suffix << 1) | unsigned(at(bit++));
    *value = (1u << zeros) - 1 + suffix;
    return true;
}

bool ReadId(const std::uint8_t* nal, std::size_t size, bool sequence, unsigned* id)
{
    const RbspHead head = ReadHead(nal, size);
    int bit = sequence ? kSequenceIdBit : 0;
    return ReadUe(head, bit, id) && *id <= (sequence ? kMaxSequenceId : kMaxPictureId);
}

// The picture set a slice names: its third element, after first_mb_in_slice and slice_type.
bool ReadSlicePictureSet(const std::uint8_t* nal, std::size_t size, unsigned* id)
{
    const RbspHead head = ReadHead(nal, size);
    int bit = 0;
    for (int element = 0; element < 3; ++element) {
        if (!ReadUe(head, bit, id))
            return false;
    }
    return *id <= kMaxPictureId;
}

// Where the start code before a NAL unit's header begins: 00 00 01, or 00 00 00 01.
std::size_t NalBegin(const std::uint8_t* data, std::size_t header)
{
    const std::size_t prefix = header - kPrefixBytes;
    return prefix > 0 && data[prefix - 1] == 0 ? prefix - 1 : prefix;
}

} // namespace

void ParameterSetBudget::Plan(const std::uint8_t* data, std::size_t size, std::vector<Run>* runs)
{
    runs->clear();
    m_codes.clear();
    mpeg::ForEachStartCode(data, size, [&](std::uint8_t, std::size_t at) {
        m_codes.push_back(at);
        return true;
    });
    std::size_t runStart = 0;
    bool reopenFirst = false;
    bool reopened = false;
    auto endRun = [&](std::size_t end) {
        if (end > runStart || reopenFirst)
            runs->push_back(Run{data + runStart, end - runStart, reopenFirst});
    };
    for (std::size_t i = 0; i < m_codes.size(); ++i) {
        const std::size_t at = m_codes[i];
        const std::uint8_t type = data[at] & 0x1F;
        if ((data[at] & 0x80) != 0)
            continue;
        const std::size_t begin = NalBegin(data, at);
        const std::size_t end = i + 1 < m_codes.size() ? NalBegin(data, m_codes[i + 1]) : size;
        if (type == kNalSlice || type == kNalIdrSlice) {
            unsigned id = 0;
            if (ReadSlicePictureSet(data + at, end - at, &id))
                Touch(id);
            continue;
        }
        if (type != kNalSequenceSet && type != kNalPictureSet)
            continue;
        switch (Judge(data + at, end - at, reopened)) {
        case Verdict::Take:
            break;
        case Verdict::Reopen:
            endRun(begin);
            runStart = begin;
            reopenFirst = true;
            reopened = true;
            break;
        case Verdict::Drop:
            endRun(begin);
            runStart = end;
            reopenFirst = false;
            break;
        }
    }
    endRun(size);
}

ParameterSetBudget::Verdict ParameterSetBudget::Judge(const std::uint8_t* nal, std::size_t size, bool reopened)
{
    const bool sequence = (nal[0] & 0x1F) == kNalSequenceSet;
    unsigned id = 0;
    if (!ReadId(nal, size, sequence, &id))
        return Verdict::Drop;
    if (sequence) {
        Keep(m_sequenceSets, id, nal, size, kPrimingSets);
        return Verdict::Take;
    }
    Verdict verdict = Verdict::Take;
    if (!m_pictureIds.test(id) && m_pictureIds.count() >= kMaxPictureSets) {
        if (reopened)
            return Verdict::Drop;
        TakePrimingIds();
        verdict = Verdict::Reopen;
    }
    m_pictureIds.set(id);
    Keep(m_pictureSets, id, nal, size, kMaxPictureSets);
    return verdict;
}

void ParameterSetBudget::Keep(std::deque<Kept>& kept, unsigned id, const std::uint8_t* nal, std::size_t size,
                              std::size_t most)
{
    kept.erase(std::remove_if(kept.begin(), kept.end(), [id](const Kept& k) { return k.id == id; }), kept.end());
    if (size > kMaxKeptBytes)
        return;
    kept.push_front(Kept{id, std::vector<std::uint8_t>(nal, nal + size)});
    if (kept.size() > most)
        kept.pop_back();
}

void ParameterSetBudget::Touch(unsigned id)
{
    m_inUse = id;
}

void ParameterSetBudget::TakePrimingIds()
{
    static constexpr std::uint8_t kStartCode[] = {0, 0, 0, 1};
    // The set the slices use, and the newest others.
    std::vector<const Kept*> chosen;
    const Kept* inUse = nullptr;
    for (const Kept& set : m_pictureSets) {
        if (set.id == m_inUse)
            inUse = &set;
        else if (chosen.size() + 1 < kPrimingSets)
            chosen.push_back(&set);
    }
    std::reverse(chosen.begin(), chosen.end());
    if (inUse)
        chosen.push_back(inUse);
    std::vector<const Kept*> sequenceSets;
    for (auto it = m_sequenceSets.rbegin(); it != m_sequenceSets.rend(); ++it)
        sequenceSets.push_back(&*it);
    chosen.insert(chosen.begin(), sequenceSets.begin(), sequenceSets.end());

    m_priming.clear();
    m_pictureIds.reset();
    for (const Kept* set : chosen) {
        m_priming.insert(m_priming.end(), std::begin(kStartCode), std::end(kStartCode));
        m_priming.insert(m_priming.end(), set->nal.begin(), set->nal.end());
    }
    for (std::size_t i = sequenceSets.size(); i < chosen.size(); ++i)
        m_pictureIds.set(chosen[i]->id);
}

void ParameterSetBudget::Reset()
{
    m_pictureIds.reset();
    m_inUse = kNoPictureSet;
    m_sequenceSets.clear();
    m_pictureSets.clear();
    m_priming.clear();
}
