#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

// What a recorder that glitches, restarts and changes its settings sends: a
// few real clips (H.264 and MPEG-4 Part 2, several sizes, one interlaced)
// encoded once with libavcodec, and a generator that plays pieces of them on
// a camera the way they go wrong in practice.

namespace livemem {

struct Picture {
    std::vector<std::uint8_t> data;
    bool keyframe = false;
};

struct Clip {
    const char* name;
    bool h264;
    std::vector<Picture> pictures;
};

// `pictures` pictures with a keyframe every ten; encoder "libx264" or "mpeg4".
Clip EncodeClip(const char* name, const char* encoder, int width, int height, bool interlaced, int pictures);
// H.264 176x144, 352x288, 704x576 interlaced and 1280x720; MPEG-4 Part 2
// 320x240 and 704x576.
std::vector<Clip> EncodeClips(int pictures);

// H.264 NAL units with a start code: a picture parameter set (CAVLC, for
// sequence set 0), and the first bytes of a sequence set and of a P slice
// naming a picture set (enough for what reads their ids).
std::vector<std::uint8_t> PictureParameterSet(unsigned id);
std::vector<std::uint8_t> SequenceSetHead(unsigned id);
std::vector<std::uint8_t> SliceHead(unsigned pictureSetId);

// Plays one piece of a clip on one camera: from its start or joined in the
// middle of a group of pictures, whole, truncated, with damaged bytes,
// garbage instead of pictures, or H.264 parameter sets under ever new ids
// (as a recorder restarting with new settings sends), one piece after another.
class CameraPlayer {
public:
    CameraPlayer(const std::vector<Clip>& clips, unsigned seed);

    // The camera's next access unit and its time stamp.
    void Next(std::vector<std::uint8_t>* unit, std::uint64_t* pts);

private:
    enum class Kind { Whole, JoinMidGroup, Truncated, Damaged, Garbage, ParameterSets };
    static constexpr int kKinds = 6;
    void StartPiece();
    void AddParameterSets(std::vector<std::uint8_t>* unit);

    const std::vector<Clip>& m_clips;
    std::mt19937 m_random;
    const Clip* m_clip = nullptr;
    Kind m_kind = Kind::Whole;
    std::size_t m_next = 0;
    std::size_t m_end = 0;
    std::uint64_t m_pts = 0;
};

} // namespace livemem
