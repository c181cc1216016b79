#include "grid/CGXLongOperationImp.h"

#include "grid/GridLibraryState.h"
#include "platform/display/InputApi.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "platform/kernel/Ticks.h"

namespace {

const char16_t* const kSpinner[4] = {u"  -", u"  \\", u"  |", u"  /"};

// A queue that keeps refilling itself (a window that never validates its paint) must not hold the
// operation for ever.
constexpr int kMaxMessagesPerRound = 10000;

GridLongOperationState& State() {
    return GetLongOperationState();
}

BOOL LevelShown(const GridLongOperationState& state) {
    return state.displayLevelLimit == -1 || state.displayLevelLimit >= state.level - 1;
}

BOOL HasLevelSlot(int level) {
    return level >= 1 && level <= GridLongOperationState::kMaxLevels;
}

// Escape, Ctrl+Break and Ctrl+C stop an operation.
BOOL IsAbortKey(const MSG& msg) {
    return msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_CANCEL ||
                                         (msg.wParam == 'C' && (::GetKeyState(VK_CONTROL) & 0x8000)));
}

// Keys, mouse clicks and commands are dropped while an operation runs.
BOOL IsUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= 0x0108) || (message >= 0x0200 && message <= 0x0209) ||
           (message >= 0x00A0 && message <= 0x00A9) || message == WM_COMMAND;
}

// The application carries the wait cursor; without one a bare command target does.
CCmdTarget& CursorOwner() {
    static CCmdTarget fallback;
    CWinApp* app = AfxGetApp();
    return app ? static_cast<CCmdTarget&>(*app) : fallback;
}

} // namespace

CGXLongOperationImp::CGXLongOperationImp() : m_clock([] { return ::GetTickCount(); }) {}

void CGXLongOperationImp::Begin(CGXLongOperation& operation) {
    GridLongOperationState& state = State();
    const int outer = state.level++;
    if (outer > 0) {
        const CString outerText = HasLevelSlot(outer) ? state.levelTexts[outer] : CString();
        SetStatusText(operation, outerText, FALSE);
    } else {
        state.displayLevelLimit = -1;
        state.percent = -1;
        state.waitCursorOn = FALSE;
        state.abortRequested = FALSE;
        state.canAbort = TRUE;
        state.canRollback = FALSE;
        SetStatusText(operation, GetLongOperationTexts().processing, FALSE);
        if (!::IsWindow(state.statusFrame)) {
            CWnd* main = AfxGetMainWnd();
            state.statusFrame =
                main && main->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? main->GetSafeHwnd() : nullptr;
        }
    }
    state.aborted = FALSE;
    state.rollback = FALSE;
    operation.startTick = operation.lastTick = m_clock();
    operation.showDoneText = TRUE;
    operation.showStatus = TRUE;
}

void CGXLongOperationImp::End(CGXLongOperation& operation) {
    GridLongOperationState& state = State();
    FreeStatusText(operation);
    --state.level;
    if (state.level == 0 && state.waitCursorOn) {
        CursorOwner().EndWaitCursor();
        state.waitCursorOn = FALSE;
        if (operation.showDoneText && ::IsWindow(state.statusFrame)) {
            const CString& done = GetLongOperationTexts().done;
            ::SendMessageW(state.statusFrame, WM_SETMESSAGESTRING, 0,
                           reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(done)));
        }
    }
}

void CGXLongOperationImp::FreeStatusText(CGXLongOperation&) {
    GridLongOperationState& state = State();
    if (HasLevelSlot(state.level) && state.levelOwnsText[state.level]) {
        state.levelTexts[state.level].Empty();
        state.levelOwnsText[state.level] = FALSE;
    }
}

void CGXLongOperationImp::SetStatusText(CGXLongOperation& operation, LPCTSTR text, BOOL copy) {
    const CString newText(text); // the text may be this level's own, which freeing empties
    FreeStatusText(operation);
    GridLongOperationState& state = State();
    if (!LevelShown(state)) {
        return;
    }
    operation.text = newText;
    if (HasLevelSlot(state.level)) {
        state.levelTexts[state.level] = newText;
        state.levelOwnsText[state.level] = copy;
    }
}

BOOL CGXLongOperationImp::TooEarly(const CGXLongOperation& operation, DWORD now) const {
    const GridLongOperationState& state = GetLongOperationState();
    return state.waitCursorOn ? now - operation.lastTick < state.updateInterval
                              : now - operation.startTick < state.waitDelay;
}

CString CGXLongOperationImp::NextSpinnerStep() {
    GridLongOperationState& state = State();
    const CString step(kSpinner[state.spinnerStep & 3]);
    state.spinnerStep = (state.spinnerStep + 1) & 3;
    return step;
}

void CGXLongOperationImp::ShowStatus(const CGXLongOperation& operation, CString line) {
    const GridLongOperationState& state = GetLongOperationState();
    if (!operation.showStatus || !LevelShown(state) || !::IsWindow(state.statusFrame)) {
        return;
    }
    if (line.GetLength() > kMaxStatusChars) {
        line = line.Left(kMaxStatusChars);
    }
    ::SendMessageW(state.statusFrame, WM_SETMESSAGESTRING, 0,
                   reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(line)));
}

BOOL CGXLongOperationImp::UpdateProgress(CGXLongOperation& operation) {
    const DWORD now = m_clock();
    if (TooEarly(operation, now)) {
        return FALSE;
    }
    const GridLongOperationState& state = GetLongOperationState();
    if (operation.showStatus && LevelShown(state) && ::IsWindow(state.statusFrame)) {
        CString line = operation.text;
        if (state.percent == -1) {
            line += NextSpinnerStep();
        } else {
            line.AppendFormat(u" %3d%%. ", state.percent);
        }
        ShowStatus(operation, line);
    }
    ProcessMessages(operation);
    operation.lastTick = now;
    return TRUE;
}

BOOL CGXLongOperationImp::DoMessages(CGXLongOperation& operation, BOOL& aborted) {
    const DWORD now = m_clock();
    if (TooEarly(operation, now)) {
        aborted = FALSE;
        return FALSE;
    }
    GridLongOperationState& state = State();
    if (operation.showStatus && LevelShown(state) && ::IsWindow(state.statusFrame)) {
        CString line = operation.text;
        if (state.percent != -1) {
            line.AppendFormat(u" %3d%%. ", state.percent);
        }
        if (state.canAbort) {
            line += u"   ";
            line += GetLongOperationTexts().pressEscape;
        }
        if (state.percent == -1) {
            line += NextSpinnerStep();
        }
        ShowStatus(operation, line);
    }
    ProcessMessages(operation);
    if (state.canAbort && state.abortRequested && !state.aborted) {
        state.aborted = AnswerAbortRequest();
    }
    aborted = state.aborted;
    operation.lastTick = now;
    return TRUE;
}

BOOL CGXLongOperationImp::AnswerAbortRequest() {
    GridLongOperationState& state = State();
    if (!state.confirmAbort) {
        state.rollback = state.canRollback;
        return TRUE;
    }
    state.abortRequested = FALSE;
    const CString& question = GetLongOperationTexts().askAbort;
    if (!state.canRollback) {
        return AfxMessageBox(question, MB_YESNO) == IDYES;
    }
    switch (AfxMessageBox(question, MB_ABORTRETRYIGNORE)) {
    case IDABORT:
        return TRUE;
    case IDRETRY:
        state.rollback = TRUE;
        return TRUE;
    default:
        return state.aborted;
    }
}

void CGXLongOperationImp::ProcessMessages(CGXLongOperation&) {
    GridLongOperationState& state = State();
    if (!state.waitCursorOn) {
        CursorOwner().BeginWaitCursor();
        state.waitCursorOn = TRUE;
    }
    MSG msg{};
    for (int handled = 0; handled < kMaxMessagesPerRound && ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
         ++handled) {
        if (IsAbortKey(msg)) {
            state.abortRequested = TRUE;
        }
        if (IsUserInput(msg.message)) {
            CursorOwner().RestoreWaitCursor();
            ::PeekMessageW(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
            continue;
        }
        if (!AfxPumpMessage()) {
            ::PostQuitMessage(0);
            break;
        }
    }
    if (CWinThread* thread = AfxGetThread()) {
        for (LONG count = 0; thread->OnIdle(count); ++count) {
        }
    }
}

void InstallLongOperation() {
    InstallAppFeature<CGXLongOperationImp>(GridLibraryState::Instance().longOperationImp);
}
