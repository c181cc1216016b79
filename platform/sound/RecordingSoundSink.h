// A sound sink for tests: it records what it was asked to play and plays it for as long as the test says.
#pragma once

#include "platform/sound/SoundSink.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

class RecordingSoundSink : public SoundSink {
public:
    struct Record {
        std::u16string name;
        WaveFormat format;
        size_t frames = 0;
        bool loop = false;
        std::vector<BYTE> samples;
    };

    std::uint64_t Play(SoundClip clip) override;
    void Stop() override;
    bool IsPlaying() override;
    void Wait(std::uint64_t ticket) override;

    // Without a device every Play answers 0 and nothing is recorded.
    void SetDeviceAvailable(bool available);
    // Set: a clip ends as soon as it starts. Otherwise it plays until Finish or Stop.
    void SetFinishAtOnce(bool atOnce);
    // The playing clip ends (a looping one too).
    void Finish();

    std::vector<Record> Played() const;
    // The name of the playing clip, if one plays.
    std::optional<std::u16string> Current() const;
    int StopCount() const;
    // Until `count` callers wait in Wait; false when that did not happen within the time-out.
    bool AwaitWaiters(int count, std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_device = true;
    bool m_finishAtOnce = false;
    bool m_playing = false;
    std::uint64_t m_ticket = 0;
    int m_stops = 0;
    int m_waiters = 0;
    std::vector<Record> m_played;
};
