// Sounds through an SDL2 audio device, opened on the first sound. Each clip is converted to the device's
// format and fed from the device's callback, which also loops it and tells waiters when it has ended. When
// no device can be opened, Play answers 0 and the next attempt is made no sooner than 30 seconds later, so
// a machine without sound pays for the attempt once in a while, not on every tick.
#pragma once

#include "platform/sound/SoundSink.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

class SdlSoundSink : public SoundSink {
public:
    // A driver name ("dummy", "pulseaudio", "alsa") picks SDL's audio driver; empty leaves it to SDL.
    explicit SdlSoundSink(std::string driver = {});
    ~SdlSoundSink() override;
    SdlSoundSink(const SdlSoundSink&) = delete;
    SdlSoundSink& operator=(const SdlSoundSink&) = delete;

    std::uint64_t Play(SoundClip clip) override;
    void Stop() override;
    bool IsPlaying() override;
    void Wait(std::uint64_t ticket) override;

private:
    bool OpenDevice();
    std::vector<std::uint8_t> Convert(const WaveSound& sound) const;
    static void Feed(void* self, std::uint8_t* stream, int length);

    std::string m_driver;
    std::mutex m_deviceMutex; // opening and closing
    bool m_audioStarted = false;
    std::uint32_t m_device = 0;
    int m_deviceFormat = 0;
    int m_deviceChannels = 0;
    int m_deviceRate = 0;
    std::uint8_t m_silence = 0;
    std::chrono::steady_clock::time_point m_nextAttempt{};

    std::mutex m_mutex; // the playing clip, shared with the device's callback
    std::condition_variable m_ended;
    std::vector<std::uint8_t> m_buffer;
    size_t m_position = 0;
    bool m_loop = false;
    bool m_playing = false;
    std::uint64_t m_ticket = 0;
};
