#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

// libavcodec's H.264 decoder and parser each keep every picture parameter
// set they are given, some 170 kB apiece, under up to 256 ids, for as long as
// they live: flushing keeps them. A stream that keeps bringing new ids (a
// recorder restarting with new settings, damaged or hostile data) made each
// channel hold up to 90 MB, all sixteen well over a gigabyte.
//
// This decides, set by set, what goes into one decoder: a picture set under
// an id the decoder has, or while it has fewer than kMaxPictureSets ids, goes
// in. One more id and the decoder (with its parser) must be replaced by a
// fresh one, primed with the set the slices use and the newest others, so
// the stream goes on decoding;
// that happens at most once per unit, and sets past it are dropped. Sequence
// sets (at most 32 ids of a few kB) always go in. Parameter sets whose id
// cannot be read are dropped: the decoder would refuse them anyway.
class ParameterSetBudget {
public:
    static constexpr std::size_t kMaxPictureSets = 8;
    // Newest sets of each kind a fresh decoder is primed with.
    static constexpr std::size_t kPrimingSets = 4;
    // A real parameter set is a few dozen bytes; a larger one is not kept for priming.
    static constexpr std::size_t kMaxKeptBytes = 512;

    // A stretch of a unit the decoder takes; when reopenFirst is set the
    // decoder must be replaced and primed (see Priming) before it.
    struct Run {
        const std::uint8_t* data;
        std::size_t size;
        bool reopenFirst;
    };

    // Splits an Annex B unit into the runs the decoder takes, in order,
    // leaving out dropped sets. The caller feeds them and replaces the
    // decoder where asked: the budget counts on it.
    void Plan(const std::uint8_t* data, std::size_t size, std::vector<Run>* runs);
    // The sets to feed the replacing decoder first (the newest ones when the
    // last Plan asked for it), sequence sets first, as Annex B bytes.
    const std::vector<std::uint8_t>& Priming() const { return m_priming; }
    // A decoder of another stream: no ids taken, nothing kept.
    void Reset();

    std::size_t PictureSetsTaken() const { return m_pictureIds.count(); }

private:
    struct Kept {
        unsigned id;
        std::vector<std::uint8_t> nal;
    };
    enum class Verdict { Take, Reopen, Drop };

    Verdict Judge(const std::uint8_t* nal, std::size_t size, bool reopened);
    // Keeps the set as the newest of its kind, at most `most` of them.
    void Keep(std::deque<Kept>& kept, unsigned id, const std::uint8_t* nal, std::size_t size, std::size_t most);
    // A slice names the picture set: a fresh decoder is primed with it.
    void Touch(unsigned id);
    void TakePrimingIds();

    static constexpr unsigned kNoPictureSet = 256;

    std::bitset<256> m_pictureIds;  // picture set ids the current decoder has
    unsigned m_inUse = kNoPictureSet;  // named by the last slice
    std::deque<Kept> m_sequenceSets;  // newest first
    std::deque<Kept> m_pictureSets;   // newest first
    std::vector<std::uint8_t> m_priming;
    std::vector<std::size_t> m_codes;  // Plan's start code offsets, kept to spare allocations
};
