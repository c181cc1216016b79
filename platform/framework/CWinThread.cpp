#include "platform/framework/CWinThread.h"

#include "platform/display/User.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"
#include "platform/kernel/Handles.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

namespace {

thread_local CWinThread* t_pThread = nullptr;

} // namespace

CWinThread* AfxGetThread() {
    if (t_pThread) {
        return t_pThread;
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_nThreadID == ::GetCurrentThreadId()) {
        return pApp;
    }
    return nullptr;
}

CWinThread::CWinThread() = default;
CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

CWinThread::~CWinThread() {
    if (m_hThread) {
        ::CloseHandle(m_hThread);
    }
    if (t_pThread == this) {
        t_pThread = nullptr;
    }
}

DWORD CWinThread::ThreadEntry(LPVOID param) {
    auto* pThread = static_cast<CWinThread*>(param);
    t_pThread = pThread;
    UINT exitCode = 0;
    if (pThread->m_pfnThreadProc) {
        exitCode = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
    } else if (pThread->InitInstance()) {
        exitCode = static_cast<UINT>(pThread->Run());
    } else {
        if (pThread->m_pMainWnd && pThread->m_pMainWnd->GetSafeHwnd()) {
            pThread->m_pMainWnd->DestroyWindow();
        }
        exitCode = static_cast<UINT>(pThread->ExitInstance());
    }
    AfxDeleteTempMaps();
    t_pThread = nullptr;
    if (pThread->m_bAutoDelete) {
        pThread->Delete();
    }
    return exitCode;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    DWORD id = 0;
    m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                               dwCreateFlags & CREATE_SUSPENDED, &id);
    if (!m_hThread) {
        return FALSE;
    }
    m_nThreadID = id;
    return TRUE;
}

int CWinThread::GetThreadPriority() {
    return ::GetThreadPriority(m_hThread);
}
BOOL CWinThread::SetThreadPriority(int nPriority) {
    return ::SetThreadPriority(m_hThread, nPriority);
}
DWORD CWinThread::ResumeThread() {
    return ::ResumeThread(m_hThread);
}
BOOL CWinThread::PostThreadMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::ExitInstance() {
    AfxDeleteTempMaps();
    return static_cast<int>(m_msgCur.wParam);
}

void CWinThread::Delete() {
    if (m_bAutoDelete) {
        delete this;
    }
}

CWnd* CWinThread::GetMainWnd() {
    if (m_pActiveWnd) {
        return m_pActiveWnd;
    }
    return m_pMainWnd;
}

int CWinThread::Run() {
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++)) {
                bIdle = FALSE;
            }
        }
        do {
            if (!PumpMessage()) {
                return ExitInstance();
            }
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage() {
    if (!::GetMessageW(&m_msgCur, nullptr, 0, 0)) {
        return FALSE;
    }
    if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL AfxPumpMessage() {
    CWinThread* pThread = AfxGetThread();
    if (pThread) {
        return pThread->PumpMessage();
    }
    MSG msg{};
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
        return FALSE;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return TRUE;
}

void AfxPostQuitMessage(int nExitCode) {
    ::PostQuitMessage(nExitCode);
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg) {
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(AfxKindThread, pMsg->message, 0, 0);
    if (!e && pMsg->message >= 0xC000 && pMsg->message <= 0xFFFF) {
        e = FindMessageEntry(AfxKindRegisteredThread, pMsg->message, 0, 0);
    }
    if (!e) {
        return FALSE;
    }
    AFX_MSGCALL call;
    call.message = pMsg->message;
    call.wParam = pMsg->wParam;
    call.lParam = pMsg->lParam;
    e->pfn(this, call);
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    if (!pMsg->hwnd && DispatchThreadMessageEx(pMsg)) {
        return TRUE;
    }
    CWnd* pMainWnd = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(CWnd::SafeHwndOf(pMainWnd), pMsg)) {
        return TRUE;
    }
    // Messages of windows outside the main window (modeless dialogs) still get its accelerators.
    if (pMainWnd && pMainWnd->GetSafeHwnd() && pMsg->hwnd) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd && pWnd->GetParentOwner() != pMainWnd) {
            return pMainWnd->PreTranslateMessage(pMsg);
        }
    }
    return FALSE;
}

BOOL CWinThread::ProcessMessageFilter(int, LPMSG lpMsg) {
    return lpMsg ? PreTranslateMessage(lpMsg) : FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
    // Moves to the same place, paints and the system's own timers do not restart idle processing.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y && pMsg->message == m_nMsgLast) {
            return FALSE;
        }
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != WM_SYSTIMER;
}

BOOL CWinThread::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible()) {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        return TRUE;
    }
    if (lCount == 1) {
        AfxDeleteTempMaps();
    }
    return FALSE;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) {
    LRESULT result = 0;
    if (pMsg->message == WM_CREATE) {
        result = -1;
    } else if (pMsg->message == WM_PAINT) {
        ::ValidateRect(pMsg->hwnd, nullptr);
    }
    if (!e->IsKindOf(RUNTIME_CLASS(CUserException))) {
        e->ReportError(MB_ICONEXCLAMATION | MB_OK, AFX_IDP_INTERNAL_FAILURE);
    }
    e->Delete();
    return result;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    auto* pThread = new CWinThread(pfnThreadProc, pParam);
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        pThread->Delete();
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED)) {
        pThread->ResumeThread();
    }
    return pThread;
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    CObject* object = pThreadClass ? pThreadClass->CreateObject() : nullptr;
    auto* pThread = dynamic_cast<CWinThread*>(object);
    if (!pThread) {
        delete object;
        return nullptr;
    }
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        pThread->Delete();
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED)) {
        pThread->ResumeThread();
    }
    return pThread;
}

void AfxEndThread(UINT nExitCode, BOOL bDelete) {
    CWinThread* pThread = t_pThread;
    AfxDeleteTempMaps();
    if (pThread) {
        t_pThread = nullptr;
        if (bDelete) {
            pThread->Delete();
        }
    }
    ::ExitThread(nExitCode);
}
