// Threads of the framework: worker threads (a function) and user-interface threads (InitInstance, a message
// loop with idle processing, ExitInstance), and the calling thread's framework state.
#pragma once

#include "platform/base/Exceptions.h"
#include "platform/framework/CCmdTarget.h"
#include "platform/kernel/Threads.h"

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)

public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // Starts the thread (suspended with CREATE_SUSPENDED). The object deletes itself when the thread ends
    // unless m_bAutoDelete is cleared; keep it (or duplicate m_hThread) to wait for the thread.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

    CWnd* m_pMainWnd = nullptr;
    CWnd* m_pActiveWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    operator HANDLE() const { return m_hThread; }

    int GetThreadPriority();
    BOOL SetThreadPriority(int nPriority);
    DWORD ResumeThread();
    BOOL PostThreadMessageW(UINT message, WPARAM wParam, LPARAM lParam);

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop: idle passes while the queue is empty, then messages until WM_QUIT.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    // lCount 0: update the command UI of the main window and its bars; 1: free temporary objects. Answers
    // whether more idle passes are wanted.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual void Delete();
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    virtual BOOL ProcessMessageFilter(int code, LPMSG lpMsg);
    virtual CWnd* GetMainWnd();
    // Runs the ON_THREAD_MESSAGE entries for a message posted to the thread.
    BOOL DispatchThreadMessageEx(MSG* pMsg);

    MSG m_msgCur{};
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
    int m_nDisablePumpCount = 0;

    // Used by the thread start; not for callers.
    static DWORD ThreadEntry(LPVOID param);

protected:
    POINT m_ptCursorLast{-1, -1};
    UINT m_nMsgLast = 0;

    DECLARE_MESSAGE_MAP()
};

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Ends the calling framework thread (deleting its object when bDelete and m_bAutoDelete).
[[noreturn]] void AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
// The framework thread object of the calling thread; the application on the main thread.
CWinThread* AfxGetThread();
BOOL AfxPumpMessage();
void AfxPostQuitMessage(int nExitCode);
