#include "receiver/LinkThread.h"

#include "platform/kernel/Kernel.h"

LinkThread::~LinkThread() {
    WaitUntilEnded();
    if (m_hThread != nullptr) {
        CloseHandle(m_hThread);
    }
}

void LinkThread::WaitUntilEnded() {
    // Destroying the object under a running thread would pull its state away from it.
    while (m_hThread != nullptr && WaitForSingleObject(m_hThread, 1000) != WAIT_OBJECT_0) {
    }
}

DWORD LinkThread::ThreadProc(LPVOID self) {
    LinkThread* thread = static_cast<LinkThread*>(self);
    SetThreadDescription(GetCurrentThread(), thread->Name());
    return thread->Run();
}

BOOL LinkThread::Start() {
    m_hThread = CreateThread(nullptr, 0, &LinkThread::ThreadProc, this, CREATE_SUSPENDED, nullptr);
    if (m_hThread == nullptr) {
        return FALSE;
    }
    SetThreadPriority(m_hThread, THREAD_PRIORITY_NORMAL);
    return ResumeThread(m_hThread) != static_cast<DWORD>(-1);
}

BOOL LinkThread::Join(DWORD milliseconds) {
    return m_hThread == nullptr || WaitForSingleObject(m_hThread, milliseconds) == WAIT_OBJECT_0;
}
