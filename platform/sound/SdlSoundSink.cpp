#include "platform/sound/SdlSoundSink.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {
constexpr auto kRetryDelay = std::chrono::seconds(30);

// Whether the machine has anything to play on. Without a sound card or a sound server the audio library
// would only print its failures to the console every time it is tried.
bool SoundOutputPresent() {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::exists("/dev/snd", error) || std::getenv("PULSE_SERVER")) {
        return true;
    }
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        return fs::exists(fs::path(runtime) / "pulse" / "native", error) ||
               fs::exists(fs::path(runtime) / "pipewire-0", error);
    }
    return false;
}

constexpr int kDeviceRate = 44100;
constexpr int kDeviceChannels = 2;
constexpr int kDeviceFrames = 1024;
} // namespace

SdlSoundSink::SdlSoundSink(std::string driver) : m_driver(std::move(driver)) {}

SdlSoundSink::~SdlSoundSink() {
    std::lock_guard lock(m_deviceMutex);
    if (m_device) {
        SDL_CloseAudioDevice(m_device);
    }
    if (m_audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool SdlSoundSink::OpenDevice() {
    std::lock_guard lock(m_deviceMutex);
    if (m_device) {
        return true;
    }
    auto now = std::chrono::steady_clock::now();
    if (now < m_nextAttempt) {
        return false;
    }
    m_nextAttempt = now + kRetryDelay;
    if (!m_audioStarted) {
        if (m_driver.empty() && !SoundOutputPresent()) {
            return false;
        }
        if (!m_driver.empty()) {
            SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, m_driver.c_str(), SDL_HINT_OVERRIDE);
        }
        // SDL would otherwise catch SIGINT and SIGTERM and turn them into a quit event nobody reads.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            return false;
        }
        m_audioStarted = true;
    }
    SDL_AudioSpec want{};
    want.freq = kDeviceRate;
    want.format = AUDIO_S16SYS;
    want.channels = kDeviceChannels;
    want.samples = kDeviceFrames;
    want.callback = &SdlSoundSink::Feed;
    want.userdata = this;
    SDL_AudioSpec have{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                   SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (!m_device) {
        return false;
    }
    m_deviceFormat = have.format;
    m_deviceChannels = have.channels;
    m_deviceRate = have.freq;
    m_silence = have.silence;
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

std::vector<std::uint8_t> SdlSoundSink::Convert(const WaveSound& sound) const {
    SDL_AudioFormat from = sound.format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioStream* stream = SDL_NewAudioStream(
        from, static_cast<Uint8>(sound.format.channels), static_cast<int>(sound.format.samplesPerSec),
        static_cast<SDL_AudioFormat>(m_deviceFormat), static_cast<Uint8>(m_deviceChannels), m_deviceRate);
    std::vector<std::uint8_t> out;
    if (!stream) {
        return out;
    }
    if (SDL_AudioStreamPut(stream, sound.samples.data(), static_cast<int>(sound.samples.size())) == 0 &&
        SDL_AudioStreamFlush(stream) == 0) {
        out.resize(static_cast<size_t>(SDL_AudioStreamAvailable(stream)));
        int got = SDL_AudioStreamGet(stream, out.data(), static_cast<int>(out.size()));
        out.resize(static_cast<size_t>(std::max(got, 0)));
    }
    SDL_FreeAudioStream(stream);
    return out;
}

std::uint64_t SdlSoundSink::Play(SoundClip clip) {
    if (!OpenDevice()) {
        return 0;
    }
    std::vector<std::uint8_t> converted = Convert(clip.sound);
    std::lock_guard lock(m_mutex);
    m_buffer = std::move(converted);
    m_position = 0;
    m_loop = clip.loop && !m_buffer.empty();
    m_playing = !m_buffer.empty();
    ++m_ticket;
    m_ended.notify_all(); // waiters of the clip replaced
    return m_ticket;
}

void SdlSoundSink::Stop() {
    std::lock_guard lock(m_mutex);
    m_playing = false;
    m_buffer.clear();
    m_position = 0;
    m_ended.notify_all();
}

bool SdlSoundSink::IsPlaying() {
    std::lock_guard lock(m_mutex);
    return m_playing;
}

void SdlSoundSink::Wait(std::uint64_t ticket) {
    std::unique_lock lock(m_mutex);
    m_ended.wait(lock, [&] { return !m_playing || m_ticket != ticket; });
}

void SdlSoundSink::Feed(void* self, std::uint8_t* stream, int length) {
    auto* sink = static_cast<SdlSoundSink*>(self);
    size_t want = static_cast<size_t>(length);
    std::lock_guard lock(sink->m_mutex);
    size_t done = 0;
    while (sink->m_playing && done < want) {
        size_t n = std::min(want - done, sink->m_buffer.size() - sink->m_position);
        std::memcpy(stream + done, sink->m_buffer.data() + sink->m_position, n);
        done += n;
        sink->m_position += n;
        if (sink->m_position == sink->m_buffer.size()) {
            if (sink->m_loop) {
                sink->m_position = 0;
            } else {
                sink->m_playing = false;
                sink->m_ended.notify_all();
            }
        }
    }
    std::memset(stream + done, sink->m_silence, want - done);
}
