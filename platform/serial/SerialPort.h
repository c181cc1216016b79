// The object behind a serial port handle. It keeps the port's input queue, its pending reads, writes and
// comm-event wait, its settings, time-outs and event mask, and runs one engine thread that moves bytes
// between the queue and the device, ends requests when their condition or time-out is reached and reports
// comm events. Devices differ only in the SerialDevice they bring.
#pragma once

#include "platform/serial/CommApi.h"
#include "platform/serial/IoObject.h"
#include "platform/serial/ModemTracker.h"
#include "platform/serial/SerialDevice.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace doliva::serial {

class SerialPort final : public IoObject {
public:
    // Takes the opened device; Start must follow once the object is shared.
    SerialPort(std::unique_ptr<SerialDevice> device, bool overlapped);
    ~SerialPort() override;

    // Starts the engine; answers a Win32 error or 0.
    DWORD Start();

    // IoObject
    BOOL Read(LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) override;
    BOOL Write(LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped) override;
    std::size_t Cancel(DWORD tid, LPOVERLAPPED overlapped) override;
    BOOL Flush() override;
    DWORD FileType() const override { return FILE_TYPE_CHAR; }
    void HandleClosed(bool lastHandle) override;

    // The comm calls; each answers the Win32 way.
    BOOL GetState(DCB* dcb);
    BOOL SetState(const DCB& dcb);
    BOOL GetTimeouts(COMMTIMEOUTS* timeouts);
    BOOL SetTimeouts(const COMMTIMEOUTS& timeouts);
    BOOL Setup(DWORD inQueue, DWORD outQueue);
    BOOL Purge(DWORD flags);
    BOOL ClearError(DWORD* errors, COMSTAT* status);
    BOOL Escape(DWORD function);
    BOOL ModemStatus(DWORD* status);
    BOOL SetMask(DWORD mask);
    BOOL GetMask(DWORD* mask);
    BOOL WaitEvent(DWORD* events, LPOVERLAPPED overlapped);
    BOOL EventStamp(ModemEdgeStamp* stamp);
    BOOL SupportsModemLines();

private:
    struct Request;
    struct Completion {
        LPOVERLAPPED overlapped = nullptr;
        DWORD error = 0;
        DWORD bytes = 0;
        DWORD* events = nullptr;
        DWORD eventValue = 0;
    };
    using Completions = std::vector<Completion>;
    class Events;

    enum class Submit { Done, Pending, Failed };

    // Runs a request to its end: at once when it can, else by the engine. Handles the synchronous case.
    BOOL Issue(std::unique_ptr<Request> request, LPOVERLAPPED overlapped, LPDWORD transferred);
    Submit SubmitLocked(std::unique_ptr<Request>& request, Completions& done, DWORD* error);

    void EngineLoop();
    // Advances reads and writes; answers the nanoseconds until the engine must look again (-1 for never).
    std::int64_t ServiceLocked(Completions& done);
    bool ServiceReadLocked(Request& read, std::int64_t now, std::int64_t* next);
    bool ServiceWriteLocked(Request& write, std::int64_t now, std::int64_t* next, Completions& done);
    void TakeInputLocked(DeviceInput& in, Completions& done);
    // Input arrived (with the event character or not); its EV_RXCHAR is raised by ReportArrivalLocked when
    // due, else `next` learns when it will be.
    void NoteArrivalLocked(bool eventChar);
    // One character's time on the line at the current settings, and how long input is gathered.
    std::int64_t CharacterNs() const;
    std::int64_t GatherNs() const;
    // The look at the device when a gathering ends: what came meanwhile, or the line's quiet.
    void GatherLocked(Completions& done);
    void ReportArrivalLocked(std::int64_t now, std::int64_t* next, Completions& done);
    void RaiseLocked(DWORD events, Completions& done);
    void FinishLocked(std::unique_ptr<Request> request, DWORD error, Completions& done);
    void AbortAllLocked(DWORD error, Completions& done);
    void GoneLocked(Completions& done);
    bool WriteHeldLocked(bool* ctsHold, bool* dsrHold);
    void Fire(Completions& done);
    void Wake();
    void Shutdown();

    void ModemSampleArrived(const ModemSample& sample);
    void ModemRebase(const ModemSample& sample);

    std::unique_ptr<SerialDevice> device_;
    const bool overlapped_;
    std::shared_ptr<Events> events_;

    std::mutex mutex_;
    std::mutex maskMutex_; // orders SetCommMask calls, whose interest change runs outside mutex_
    DCB dcb_{};
    COMMTIMEOUTS timeouts_{};
    DWORD mask_ = 0;
    DWORD history_ = 0;
    DWORD errors_ = 0;
    std::size_t inCapacity_;
    std::deque<std::uint8_t> input_;
    std::deque<std::unique_ptr<Request>> reads_;
    std::deque<std::unique_ptr<Request>> writes_;
    std::unique_ptr<Request> wait_;
    ModemTracker modem_;
    // Input not yet reported by EV_RXCHAR.
    struct Arrival {
        bool unreported = false;
        bool eventChar = false;
        std::int64_t eventLookAt = 0; // monotonic ns; 0: no event character yet
        std::int64_t reportBy = 0;
    };
    Arrival arrival_;
    // Input is being gathered: the engine looks at the device again then (monotonic ns; 0 when not).
    std::int64_t gatherUntil_ = 0;
    bool modemLines_ = false;
    bool writeBlocked_ = false;
    bool gone_ = false;
    bool stopping_ = false;
    bool closed_ = false;

    int wakeFd_ = -1;
    std::thread engine_;
};

// Runs `body` on a new thread with every signal blocked, so that the process's signals (service controls
// and the watcher's stop signal) are never taken by it.
std::thread StartQuietThread(std::function<void()> body);

} // namespace doliva::serial
