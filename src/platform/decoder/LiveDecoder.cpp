#include "platform/decoder/LiveDecoder.h"

namespace {

constexpr unsigned char kStreamTypeMpeg4 = 0x82;
constexpr unsigned char kStreamTypeH264 = 0x84;
constexpr unsigned char kStreamTypeMuLaw = 0x91;
constexpr int kMinUnitBytes = 4;
constexpr int kStreamIdOffset = 3;

} // namespace

CLiveDecoder::CLiveDecoder()
{
    MP4MUL_InitializeDecoder();
    MP4MUL_make_pack_header(m_packHeader);
}

CLiveDecoder::~CLiveDecoder()
{
    DisposeDecodeSystems();
    MP4MUL_DestroyDecoder();
}

bool CLiveDecoder::Initialise(HWND window, int mode, int maxWidth, int maxHeight, bool pairedType5)
{
    bool started = false;
    {
        std::lock_guard guard(m_lock);
        m_slots.Clear();
        m_mode = mode;
        const bool mapBuilt = mode == 0 || mode == 1;
        if (mapBuilt) {
            unsigned char types[kStreamCount];
            unsigned char ids[kStreamCount];
            int widths[kStreamCount];
            int heights[kStreamCount];
            for (int i = 0; i < kStreamCount; ++i) {
                const bool video = i < kStreamsPerKind;
                types[i] = video ? (mode == 0 ? kStreamTypeMpeg4 : kStreamTypeH264) : kStreamTypeMuLaw;
                ids[i] = static_cast<unsigned char>(video ? kVideoStreamIdBase + i
                                                          : kAudioStreamIdBase + (i - kStreamsPerKind));
                widths[i] = maxWidth;
                heights[i] = maxHeight;
            }
            MP4MUL_make_program_stream_map(m_streamMap, types, widths, heights, ids);
        }
        started = InitializeDecodeSystems(window, true, pairedType5);
        if (started) {
            Demux(m_packHeader, m_packHeader + kPackHeaderBytes, 0);
            if (mapBuilt)
                Demux(m_streamMap, m_streamMap + kStreamMapBytes, 0);
        }
        m_initialised = true;
    }
    return started;
}

int CLiveDecoder::AllocateSlot()
{
    std::lock_guard guard(m_lock);
    return m_slots.AllocateSlot();
}

void CLiveDecoder::FreeSlot(int slot)
{
    std::lock_guard guard(m_lock);
    m_slots.FreeSlot(slot);
}

void CLiveDecoder::AddMapping(int slot, int camera, int channel)
{
    std::lock_guard guard(m_lock);
    m_slots.AddMapping(slot, camera, channel);
}

void CLiveDecoder::RemoveMapping(int slot, int camera)
{
    std::lock_guard guard(m_lock);
    m_slots.RemoveMapping(slot, camera);
}

void CLiveDecoder::ClearMappings(int slot)
{
    std::lock_guard guard(m_lock);
    m_slots.ClearMappings(slot);
}

bool CLiveDecoder::IsSlotInUse(int slot) const
{
    std::lock_guard guard(m_lock);
    return m_slots.IsInUse(slot);
}

int CLiveDecoder::PushVideo(int slot, unsigned char* unit, int length)
{
    if (unit == nullptr || length < kMinUnitBytes)
        return -1;
    std::lock_guard guard(m_lock);
    unit[kStreamIdOffset] = m_slots.Rewrite(slot, unit[kStreamIdOffset]);
    m_lastVideoLength = length;
    Demux(unit, unit + length, 0);
    return unit[kStreamIdOffset] - kVideoStreamIdBase;
}

bool CLiveDecoder::PushAudio(int /*slot*/, unsigned char* unit, int length)
{
    if (unit == nullptr || length < kMinUnitBytes)
        return false;
    std::lock_guard guard(m_lock);
    if (!m_audioOn || unit[kStreamIdOffset] - kAudioStreamIdBase != m_audioChannel)
        return false;
    Demux(unit, unit + length, 0);
    return true;
}

void CLiveDecoder::SelectAudio(int camera)
{
    std::lock_guard guard(m_lock);
    m_audioChannel = camera;
    SelectAudioChannel(camera);
}

void CLiveDecoder::SetAudioOn(bool on)
{
    std::lock_guard guard(m_lock);
    m_audioOn = on;
}

bool CLiveDecoder::IsInitialised() const
{
    std::lock_guard guard(m_lock);
    return m_initialised;
}

int CLiveDecoder::LastVideoLength() const
{
    std::lock_guard guard(m_lock);
    return m_lastVideoLength;
}

int CLiveDecoder::AudioChannel() const
{
    std::lock_guard guard(m_lock);
    return m_audioChannel;
}
