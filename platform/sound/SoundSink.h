// Where sounds are played: one sound at a time, a new one in place of the old.
#pragma once

#include "platform/sound/Wave.h"

#include <cstdint>
#include <string>

struct SoundClip {
    std::u16string name; // the resource or file name, for the record
    WaveSound sound;
    bool loop = false;
};

class SoundSink {
public:
    virtual ~SoundSink() = default;
    // Starts the clip in place of whatever plays. Answers a ticket for Wait, or 0 when there is no output
    // device.
    virtual std::uint64_t Play(SoundClip clip) = 0;
    virtual void Stop() = 0;
    virtual bool IsPlaying() = 0;
    // Returns once the ticket's clip has ended, was stopped or was replaced.
    virtual void Wait(std::uint64_t ticket) = 0;
};
