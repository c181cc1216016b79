// A worker thread of the receiver link: created suspended at normal priority, then started; the owner joins
// it and never lets go of a thread that still runs.
#pragma once

#include "platform/base/Win32Types.h"

class LinkThread {
public:
    LinkThread() = default;
    virtual ~LinkThread();
    LinkThread(const LinkThread&) = delete;
    LinkThread& operator=(const LinkThread&) = delete;

    BOOL Start();
    // TRUE once the thread has ended (at once when it never started).
    BOOL Join(DWORD milliseconds);
    HANDLE ThreadHandle() const { return m_hThread; }

protected:
    virtual DWORD Run() = 0;
    // The thread's name for the system's tools (ps, top).
    virtual LPCWSTR Name() const = 0;
    // For the destructor of a derived class: its members must outlive the thread that uses them.
    void WaitUntilEnded();

private:
    static DWORD ThreadProc(LPVOID self);
    HANDLE m_hThread = nullptr;
};
