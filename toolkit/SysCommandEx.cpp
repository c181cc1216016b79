#include "toolkit/SysCommandEx.h"

#include "toolkit/ToolkitResourceIds.h"

#include "platform/framework/CDockContext.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "toolkit/SECControlBar.h"
#include "toolkit/SECDockableFrame.h"

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

CMDIChildWnd* AsMDIChild(CWnd* pWnd) {
    return dynamic_cast<CMDIChildWnd*>(pWnd);
}

// The window the record names, while it still is one.
CFrameWnd* LiveFrame(HWND hWnd) {
    return ::IsWindow(hWnd) ? dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hWnd)) : nullptr;
}

// Keeps the main window from repainting while a frame changes form.
class MainWindowUpdateLock {
public:
    explicit MainWindowUpdateLock(bool bLock) {
        CWnd* main = AfxGetMainWnd();
        if (bLock && main && main->m_hWnd) {
            m_bLocked = ::LockWindowUpdate(main->m_hWnd);
        }
    }
    ~MainWindowUpdateLock() {
        if (m_bLocked) {
            ::LockWindowUpdate(nullptr);
        }
    }
    MainWindowUpdateLock(const MainWindowUpdateLock&) = delete;
    MainWindowUpdateLock& operator=(const MainWindowUpdateLock&) = delete;

private:
    BOOL m_bLocked = FALSE;
};

UINT DockBarForSide(int nMode) {
    switch (nMode) {
    case ModeDockedLeft:
        return AFX_IDW_DOCKBAR_LEFT;
    case ModeDockedTop:
        return AFX_IDW_DOCKBAR_TOP;
    case ModeDockedRight:
        return AFX_IDW_DOCKBAR_RIGHT;
    case ModeDockedBottom:
        return AFX_IDW_DOCKBAR_BOTTOM;
    default:
        return 0;
    }
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
    HWND hRepaint = nullptr;
    if (record.dwFlags & 1) {
        // A maximised child's caption is drawn in its MDI frame's.
        CMDIChildWnd* child = AsMDIChild(pWnd);
        CFrameWnd* mdi = child && child->IsZoomed() ? child->GetMDIFrame() : nullptr;
        hRepaint = mdi ? mdi->m_hWnd : record.hWnd;
    }
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
    if (AsMDIChild(pFrame)) {
        if (pFrame->IsZoomed()) {
            return ModeMDIMaximized;
        }
        return pFrame->IsIconic() ? ModeMDIMinimized : ModeMDIRestored;
    }
    // By the side, in the order the sides are numbered: top, left, bottom, right, floating.
    static constexpr int kModeOfSide[] = {ModeDockedTop, ModeDockedLeft, ModeDockedBottom, ModeDockedRight,
                                          ModeFloating};
    const int side = SECDockSideOf(dynamic_cast<CFrameWnd*>(pFrame));
    return side >= 0 && side < 5 ? kModeOfSide[side] : ModeNone;
}

int ScxMsgFilter::DefaultTargetMode(CWnd*, int nCurrent, const Record&) const {
    return MainMode(nCurrent) == ModeMDIChild ? ModeDocked : ModeMDIChild;
}

SECMultiDocTemplate* ScxMsgFilter::FindMultiDocTemplate(const Record& record, CRuntimeClass* pClass) const {
    auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(record.hWnd));
    CView* view = frame ? frame->GetActiveView() : nullptr;
    CDocument* doc = view ? view->GetDocument() : nullptr;
    CWinApp* app = AfxGetApp();
    if (!doc || !app) {
        return nullptr;
    }
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* pTemplate = app->GetNextDocTemplate(pos);
        for (POSITION docPos = pTemplate->GetFirstDocPosition(); docPos;) {
            if (pTemplate->GetNextDoc(docPos) == doc) {
                return pClass && pTemplate->IsKindOf(pClass) ? static_cast<SECMultiDocTemplate*>(pTemplate)
                                                             : nullptr;
            }
        }
    }
    return nullptr;
}

UINT ScxMsgFilter::OnApplyMode(Record& record, LRESULT* pResult) {
    if (pResult) {
        *pResult = FALSE;
    }
    auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(record.hWnd));
    SECMultiDocTemplate* pTemplate = FindMultiDocTemplate(record, RUNTIME_CLASS(SECMultiDocTemplate));
    if (!frame || !pTemplate) {
        return 0;
    }
    const int current = CurrentMode(frame);
    const int target =
        record.nTargetMode == -1 ? DefaultTargetMode(frame, current, record) : record.nTargetMode;
    CFrameWnd* result = nullptr;
    switch (MainMode(target)) {
    case ModeMDIChild:
        result = ToMDIChild(frame, current, target, pTemplate, record);
        break;
    case ModeDocked:
        result = ToDocked(frame, current, target, pTemplate, record);
        break;
    case ModeFloating:
        result = ToFloating(frame, current, target, pTemplate, record);
        break;
    default:
        break;
    }
    if (pResult) {
        *pResult = result != nullptr;
    }
    return RESULT_DONE;
}

CFrameWnd* ScxMsgFilter::TemplateToggle(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate, const Record&) {
    return pTemplate ? pTemplate->ToggleFrame(pFrame) : nullptr;
}

CFrameWnd* ScxMsgFilter::TemplateDock(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPos* pPos,
                                      const SECDockSize* pSize, SECMultiDocTemplate* pTemplate) {
    return pTemplate ? pTemplate->DockFrame(pFrame, nDockBarID, pPos, pSize) : nullptr;
}

CFrameWnd* ScxMsgFilter::ToggleBarDocking(CFrameWnd* pFrame, SECMultiDocTemplate*, const Record& record) {
    auto* dockable = dynamic_cast<SECDockableFrame*>(pFrame);
    CControlBar* bar = dockable ? dockable->GetHostBar() : nullptr;
    CDockContext* context = bar ? bar->m_pDockContext : nullptr;
    if (!context) {
        return nullptr;
    }
    // The record's place and size stand in for the bar's own for this toggle only.
    const CPoint savedPoint = context->m_ptMRUFloatPos;
    auto* sec = dynamic_cast<SECControlBar*>(bar);
    const CSize savedSize = sec ? sec->m_szFloat : CSize();
    if (record.dwFlags & 1) {
        context->m_ptMRUFloatPos = CPoint(record.x, record.y);
    }
    if (sec && (record.dwFlags & 2)) {
        sec->m_szFloat = CSize(record.cx, record.cy);
    }
    const HWND hFrame = pFrame->m_hWnd;
    const HWND hBar = bar->m_hWnd;
    context->ToggleDocking();
    if (::IsWindow(hBar)) {
        if (record.dwFlags & 1) {
            context->m_ptMRUFloatPos = savedPoint;
        }
        if (sec && (record.dwFlags & 2)) {
            sec->m_szFloat = savedSize;
        }
    }
    return LiveFrame(hFrame);
}

CFrameWnd* ScxMsgFilter::ToMDIChild(CFrameWnd* pFrame, int nCurrent, int nTarget, SECMultiDocTemplate* pTemplate,
                                    const Record& record) {
    CView* view = pFrame ? pFrame->GetActiveView() : nullptr;
    if (!view) {
        return nullptr;
    }
    MainWindowUpdateLock lock(MainMode(nCurrent) != ModeMDIChild);
    if (nTarget >= ModeMDIMinimized && nTarget <= ModeMDIRestored) {
        CMDIChildWnd* child = AsMDIChild(ToMDIChild(pFrame, nCurrent, ModeNone, pTemplate, record));
        if (!child) {
            return nullptr;
        }
        if (CurrentMode(child) != nTarget) {
            if (nTarget == ModeMDIMaximized) {
                child->MDIMaximize();
            } else if (nTarget == ModeMDIRestored) {
                child->MDIRestore();
            } else {
                child->ShowWindow(SW_SHOWMINIMIZED);
            }
        }
        if (nTarget != ModeMDIMaximized && (record.dwFlags & 3)) {
            UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
            flags |= (record.dwFlags & 1) ? 0 : SWP_NOMOVE;
            flags |= (record.dwFlags & 2) ? 0 : SWP_NOSIZE;
            child->SetWindowPos(nullptr, record.x, record.y, record.cx, record.cy, flags);
        }
        if (nTarget == ModeMDIMaximized) {
            // The client lays the maximised child out again at its full size.
            if (CMDIFrameWnd* mdi = child->GetMDIFrame(); mdi && mdi->m_hWndMDIClient) {
                CRect client;
                ::GetClientRect(mdi->m_hWndMDIClient, &client);
                ::PostMessageW(mdi->m_hWndMDIClient, WM_SIZE, SIZE_RESTORED, 0);
                ::PostMessageW(mdi->m_hWndMDIClient, WM_SIZE, SIZE_RESTORED,
                               MAKELPARAM(client.Width(), client.Height()));
            }
        }
        return view->GetParentFrame();
    }
    if (AsMDIChild(pFrame)) {
        return pFrame;
    }
    return AsMDIChild(TemplateToggle(pFrame, pTemplate, record));
}

CFrameWnd* ScxMsgFilter::ToDocked(CFrameWnd* pFrame, int nCurrent, int nTarget, SECMultiDocTemplate* pTemplate,
                                  const Record& record) {
    if (!pFrame || !pFrame->GetActiveView()) {
        return nullptr;
    }
    if (nTarget == ModeNone || nTarget == ModeDocked) {
        if (AsMDIChild(pFrame)) {
            return TemplateToggle(pFrame, pTemplate, record);
        }
        if (nCurrent == ModeFloating) {
            return ToggleBarDocking(pFrame, pTemplate, record);
        }
        return MainMode(nCurrent) == ModeDocked ? pFrame : nullptr;
    }
    const UINT nDockBarID = DockBarForSide(nTarget);
    if (!nDockBarID) {
        return nullptr;
    }
    return TemplateDock(pFrame, nDockBarID, record.pRowColumn, record.pProportionSize, pTemplate);
}

CFrameWnd* ScxMsgFilter::ToFloating(CFrameWnd* pFrame, int nCurrent, int nTarget, SECMultiDocTemplate* pTemplate,
                                    const Record& record) {
    if ((nTarget != ModeNone && nTarget != ModeFloating) || !pFrame || !pFrame->GetActiveView()) {
        return nullptr;
    }
    if (CMDIChildWnd* child = AsMDIChild(pFrame)) {
        if (child->IsIconic()) {
            child->MDIRestore();
        }
        // The floating window comes up where the child was, unless the record says otherwise.
        CRect rect;
        child->GetWindowRect(&rect);
        CFrameWnd* docked = ToDocked(child, nCurrent, ModeNone, pTemplate, record);
        if (!docked) {
            return nullptr;
        }
        Record place = record;
        if (!(place.dwFlags & 1)) {
            place.x = rect.left;
            place.y = rect.top;
        }
        if (!(place.dwFlags & 2)) {
            place.cx = rect.Width();
            place.cy = rect.Height();
        }
        place.dwFlags |= 3;
        return ToggleBarDocking(docked, pTemplate, place);
    }
    if (MainMode(nCurrent) == ModeDocked) {
        return ToggleBarDocking(pFrame, pTemplate, record);
    }
    if (nCurrent != ModeFloating) {
        return nullptr;
    }
    CFrameWnd* floating = pFrame->GetParentFrame();
    if (floating && (record.dwFlags & 3)) {
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        flags |= (record.dwFlags & 1) ? 0 : SWP_NOMOVE;
        flags |= (record.dwFlags & 2) ? 0 : SWP_NOSIZE;
        floating->SetWindowPos(nullptr, record.x, record.y, record.cx, record.cy, flags);
    }
    return pFrame;
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
    Record record = RecordAt(pFrame->m_hWnd, lParam);
    Send(pFrame, SCX_APPLYMODE, record);
    return RESULT_DONE;
}

UINT ScxContextMenuFilter::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    CFrameWnd* pFrame = GetFrameWnd();
    if (message != WM_NCRBUTTONUP || wParam != HTCAPTION || !pFrame) {
        return ProcessChildren(message, wParam, lParam, pResult);
    }
    Record record = RecordAt(pFrame->m_hWnd, lParam);
    Send(pFrame, SCX_SHOWMODEMENU, record);
    return RESULT_DONE;
}

LRESULT Send(CWnd* pWnd, UINT nCommand, Record& record) {
    return pWnd && pWnd->GetSafeHwnd()
               ? pWnd->SendMessage(GetMessageId(), nCommand, reinterpret_cast<LPARAM>(&record))
               : 0;
}

Record RecordAt(HWND hWnd, LPARAM lParam) {
    Record record;
    record.hWnd = hWnd;
    record.x = GET_X_LPARAM(lParam);
    record.y = GET_Y_LPARAM(lParam);
    return record;
}

} // namespace nsSysCommandEx
