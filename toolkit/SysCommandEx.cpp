#include "toolkit/SysCommandEx.h"

#include "toolkit/ToolkitResourceIds.h"

#include "platform/framework/CFrameWnd.h"

#include <memory>

namespace nsSysCommandEx {

IMPLEMENT_DYNCREATE(ScxMsgFilter, SECMsgFilter)
IMPLEMENT_DYNCREATE(ScxCaptionNCRDBLClkFilter, SECMsgFilter)
IMPLEMENT_DYNCREATE(ScxContextMenuFilter, SECMsgFilter)

namespace {

constexpr UINT RESULT_DONE = 15;

CString Text(UINT nID) {
    CString text;
    text.LoadString(nID);
    return text;
}

void Append(HMENU hMenu, UINT nStringID, int nMode, int nCheckedMode) {
    ::AppendMenuW(hMenu, MF_STRING | (nMode == nCheckedMode ? MF_CHECKED : 0), static_cast<UINT_PTR>(nMode),
                  Text(nStringID));
}

LRESULT Send(CWnd* pWnd, UINT nCommand, Record& record) {
    return pWnd ? pWnd->SendMessage(GetMessageId(), nCommand, reinterpret_cast<LPARAM>(&record)) : 0;
}

} // namespace

UINT GetMessageId() {
    static const UINT message = ::RegisterWindowMessageW(u"Toolkit::WM_SYSCOMMANDEX");
    return message;
}

int MainMode(int nMode) {
    if (nMode >= ModeMDIChild && nMode <= ModeMDIRestored) {
        return ModeMDIChild;
    }
    if (nMode >= ModeDocked && nMode <= ModeDockedBottom) {
        return ModeDocked;
    }
    return nMode == ModeFloating ? ModeFloating : ModeNone;
}

// ---- Carrying out the commands

BOOL ScxMsgFilter::RunsOnCopy(UINT nCommand) const {
    return !m_bIsCopy && (nCommand == SCX_APPLYMODE || nCommand == SCX_SHOWMODEMENU);
}

UINT ScxMsgFilter::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != GetMessageId() || !lParam) {
        return ProcessChildren(message, wParam, lParam, pResult);
    }
    const UINT nCommand = static_cast<UINT>(wParam & 0xFFF0);
    if (RunsOnCopy(nCommand)) {
        // The switch may destroy the frame that owns this tree.
        std::unique_ptr<ScxMsgFilter> copy(static_cast<ScxMsgFilter*>(Clone()));
        copy->m_bIsCopy = TRUE;
        UINT result = copy->ProcessMessage(message, wParam, lParam, pResult);
        return result ? (result | SEC_FILTER_STOP) : 0;
    }
    Record& record = *reinterpret_cast<Record*>(lParam);
    CWnd* pWnd = CWnd::FromHandlePermanent(record.hWnd);
    if (!pWnd) {
        return 0;
    }
    HWND hRepaint = (record.dwFlags & 1) ? record.hWnd : nullptr;
    UINT result = 0;
    switch (nCommand) {
    case SCX_APPLYMODE:
        result = OnApplyMode(record, pResult);
        break;
    case SCX_GETMODEMENU:
        result = OnGetModeMenu(record, pResult);
        break;
    case SCX_SHOWMODEMENU:
        result = OnShowModeMenu(record, pResult);
        break;
    default:
        return 0;
    }
    if (hRepaint && ::IsWindow(hRepaint)) {
        ::SendMessageW(hRepaint, WM_NCPAINT, 1, 0);
    }
    return result;
}

int ScxMsgFilter::CurrentMode(CWnd* pFrame) const {
    // A child frame is an MDI child; docked and floating frames are the dockable frames' to report.
    if (!pFrame || !(pFrame->GetStyle() & WS_CHILD) || !dynamic_cast<CFrameWnd*>(pFrame)) {
        return ModeNone;
    }
    if (pFrame->IsZoomed()) {
        return ModeMDIMaximized;
    }
    return pFrame->IsIconic() ? ModeMDIMinimized : ModeMDIRestored;
}

int ScxMsgFilter::DefaultTargetMode(CWnd*, int nCurrent, const Record&) const {
    return MainMode(nCurrent) == ModeMDIChild ? ModeDocked : ModeMDIChild;
}

UINT ScxMsgFilter::OnApplyMode(Record&, LRESULT* pResult) {
    // Switching a frame between MDI child, docked and floating forms is the document template's work; a
    // frame without such a template stays as it is.
    if (pResult) {
        *pResult = FALSE;
    }
    return 0;
}

HMENU ScxMsgFilter::BuildModeMenu(CWnd*, int nCurrentMode) {
    HMENU hMenu = ::CreatePopupMenu();
    const int nMain = MainMode(nCurrentMode);
    Append(hMenu, IDS_SEC_MODE_DOCKED, ModeDocked, nMain);
    Append(hMenu, IDS_SEC_MODE_FLOATING, ModeFloating, nMain);
    Append(hMenu, IDS_SEC_MODE_MDICHILD, ModeMDIChild, nMain);
    ::AppendMenuW(hMenu, MF_SEPARATOR, 0, nullptr);
    HMENU hDocked = ::CreatePopupMenu();
    Append(hDocked, IDS_SEC_MODE_TOP, ModeDockedTop, nCurrentMode);
    Append(hDocked, IDS_SEC_MODE_LEFT, ModeDockedLeft, nCurrentMode);
    Append(hDocked, IDS_SEC_MODE_BOTTOM, ModeDockedBottom, nCurrentMode);
    Append(hDocked, IDS_SEC_MODE_RIGHT, ModeDockedRight, nCurrentMode);
    ::AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hDocked), Text(IDS_SEC_MODE_DOCKED_TO));
    HMENU hChild = ::CreatePopupMenu();
    Append(hChild, IDS_SEC_MODE_MINIMIZED, ModeMDIMinimized, nCurrentMode);
    Append(hChild, IDS_SEC_MODE_MAXIMIZED, ModeMDIMaximized, nCurrentMode);
    Append(hChild, IDS_SEC_MODE_RESTORED, ModeMDIRestored, nCurrentMode);
    ::AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hChild), Text(IDS_SEC_MODE_MDICHILD_AS));
    return hMenu;
}

HMENU ScxMsgFilter::BuildMenuForRecord(const Record& record) {
    CWnd* pFrame = CWnd::FromHandlePermanent(record.hWnd);
    if (!dynamic_cast<CFrameWnd*>(pFrame)) {
        return nullptr;
    }
    return BuildModeMenu(pFrame, CurrentMode(pFrame));
}

UINT ScxMsgFilter::OnGetModeMenu(Record& record, LRESULT* pResult) {
    record.hMenu = BuildMenuForRecord(record);
    if (pResult) {
        *pResult = record.hMenu != nullptr;
    }
    return RESULT_DONE;
}

HMENU ScxMsgFilter::GetModeMenu(Record& record) {
    if (record.hMenu) {
        return record.hMenu;
    }
    Record request = record;
    request.dwFlags &= ~1u;
    Send(CWnd::FromHandlePermanent(record.hWnd), SCX_GETMODEMENU, request);
    return request.hMenu;
}

int ScxMsgFilter::TrackModeMenu(HMENU hMenu, const Record& record) {
    CPoint pt(record.x, record.y);
    if (pt.x < 0) {
        CRect client;
        ::GetClientRect(record.hWnd, &client);
        pt = client.CenterPoint();
        ::ClientToScreen(record.hWnd, &pt);
    }
    return ::TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, pt.x, pt.y, 0, record.hWnd,
                            nullptr);
}

void ScxMsgFilter::ApplyChosenMode(int nMode, const Record& record) {
    Record apply = record;
    apply.dwFlags &= ~1u;
    apply.nTargetMode = nMode;
    apply.hMenu = nullptr;
    Send(CWnd::FromHandlePermanent(record.hWnd), SCX_APPLYMODE, apply);
}

UINT ScxMsgFilter::OnShowModeMenu(Record& record, LRESULT* pResult) {
    HMENU hMenu = GetModeMenu(record);
    if (hMenu) {
        const int nMode = TrackModeMenu(hMenu, record);
        ::DestroyMenu(hMenu);
        record.hMenu = nullptr;
        if (nMode > 0) {
            ApplyChosenMode(nMode, record);
        }
    }
    if (pResult) {
        *pResult = 0;
    }
    return RESULT_DONE;
}

// ---- Caption clicks

UINT ScxCaptionNCRDBLClkFilter::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    CFrameWnd* pFrame = GetFrameWnd();
    if (message != WM_NCRBUTTONDBLCLK || wParam != HTCAPTION || !pFrame) {
        return ProcessChildren(message, wParam, lParam, pResult);
    }
    Record record;
    record.hWnd = pFrame->m_hWnd;
    record.x = GET_X_LPARAM(lParam);
    record.y = GET_Y_LPARAM(lParam);
    Send(pFrame, SCX_APPLYMODE, record);
    return RESULT_DONE;
}

UINT ScxContextMenuFilter::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    CFrameWnd* pFrame = GetFrameWnd();
    if (message != WM_NCRBUTTONUP || wParam != HTCAPTION || !pFrame) {
        return ProcessChildren(message, wParam, lParam, pResult);
    }
    Record record;
    record.hWnd = pFrame->m_hWnd;
    record.x = GET_X_LPARAM(lParam);
    record.y = GET_Y_LPARAM(lParam);
    Send(pFrame, SCX_SHOWMODEMENU, record);
    return RESULT_DONE;
}

} // namespace nsSysCommandEx
