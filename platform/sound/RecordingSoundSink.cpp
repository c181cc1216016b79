#include "platform/sound/RecordingSoundSink.h"

std::uint64_t RecordingSoundSink::Play(SoundClip clip) {
    std::lock_guard lock(m_mutex);
    if (!m_device) {
        return 0;
    }
    m_played.push_back(
        {clip.name, clip.sound.format, clip.sound.Frames(), clip.loop, std::move(clip.sound.samples)});
    m_playing = !m_finishAtOnce;
    ++m_ticket;
    m_changed.notify_all();
    return m_ticket;
}

void RecordingSoundSink::Stop() {
    std::lock_guard lock(m_mutex);
    ++m_stops;
    m_playing = false;
    m_changed.notify_all();
}

bool RecordingSoundSink::IsPlaying() {
    std::lock_guard lock(m_mutex);
    return m_playing;
}

void RecordingSoundSink::Wait(std::uint64_t ticket) {
    std::unique_lock lock(m_mutex);
    ++m_waiters;
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return !m_playing || m_ticket != ticket; });
    --m_waiters;
}

void RecordingSoundSink::SetDeviceAvailable(bool available) {
    std::lock_guard lock(m_mutex);
    m_device = available;
}

void RecordingSoundSink::SetFinishAtOnce(bool atOnce) {
    std::lock_guard lock(m_mutex);
    m_finishAtOnce = atOnce;
}

void RecordingSoundSink::Finish() {
    std::lock_guard lock(m_mutex);
    m_playing = false;
    m_changed.notify_all();
}

std::vector<RecordingSoundSink::Record> RecordingSoundSink::Played() const {
    std::lock_guard lock(m_mutex);
    return m_played;
}

std::optional<std::u16string> RecordingSoundSink::Current() const {
    std::lock_guard lock(m_mutex);
    if (!m_playing || m_played.empty()) {
        return std::nullopt;
    }
    return m_played.back().name;
}

int RecordingSoundSink::StopCount() const {
    std::lock_guard lock(m_mutex);
    return m_stops;
}

bool RecordingSoundSink::AwaitWaiters(int count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_waiters >= count; });
}
