#include "platform/audio/AudioOutput.h"

#include "core/media/MuLaw.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace {

constexpr Uint32 kMaxQueuedBytes = AudioOutput::kSampleRate * sizeof(int16_t) / 2;

void ReportSilentOnce(const char* reason)
{
    static std::once_flag reported;
    std::call_once(reported, [reason] {
        std::fprintf(stderr, "Ombrel: no sound device (%s); audio is not played.\n", reason);
    });
}

} // namespace

AudioOutput::AudioOutput()
{
    // SDL would turn SIGINT and SIGTERM into quit events nobody reads, and the
    // program would no longer end on them; it handles them itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        ReportSilentOnce(SDL_GetError());
        return;
    }
    m_subsystemStarted = true;
    SDL_AudioSpec wanted{};
    wanted.freq = kSampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 256;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the device really plays.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (m_device == 0) {
        ReportSilentOnce(SDL_GetError());
        return;
    }
    SDL_PauseAudioDevice(m_device, 0);
}

AudioOutput::~AudioOutput()
{
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    if (m_subsystemStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioOutput::SetVolume(int volume)
{
    m_volume.store(std::clamp(volume, 0, 100));
}

void AudioOutput::PlayMuLaw(const uint8_t* codes, size_t count)
{
    if (m_device == 0 || count == 0)
        return;
    std::lock_guard guard(m_scratchLock);
    m_scratch.resize(count);
    media::DecodeMuLaw(codes, count, m_volume.load(), m_scratch.data());
    const Uint32 bytes = Uint32(count * sizeof(int16_t));
    if (SDL_GetQueuedAudioSize(m_device) + bytes > kMaxQueuedBytes)
        SDL_ClearQueuedAudio(m_device);
    SDL_QueueAudio(m_device, m_scratch.data(), bytes);
}

void AudioOutput::Flush()
{
    if (m_device != 0)
        SDL_ClearQueuedAudio(m_device);
}
