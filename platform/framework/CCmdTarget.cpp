#include "platform/framework/CCmdTarget.h"

#include "platform/controls/ControlConstants.h"
#include "platform/display/User.h"
#include "platform/framework/CWnd.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

namespace {

bool Matches(const AFX_MSGMAP_ENTRY& e, UINT kind, UINT message, UINT code, UINT id) {
    if (e.nKind != kind) {
        return false;
    }
    switch (kind) {
    case AfxKindWindow:
    case AfxKindThread:
        return e.nMessage == message;
    case AfxKindRegistered:
    case AfxKindRegisteredThread:
        return e.pnRegistered && *e.pnRegistered == message;
    case AfxKindCommand:
    case AfxKindNotify:
        return static_cast<WORD>(e.nCode) == static_cast<WORD>(code) && id >= e.nID && id <= e.nLastID;
    case AfxKindUpdateUI:
        return id >= e.nID && id <= e.nLastID;
    case AfxKindReflectCommand:
    case AfxKindReflectNotify:
        return static_cast<WORD>(e.nCode) == static_cast<WORD>(code);
    default:
        return false;
    }
}

} // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT kind, UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (Matches(*e, kind, message, code, id)) {
                return e;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::DispatchCmdEntry(const AFX_MSGMAP_ENTRY* entry, UINT nID, int nCode, void* pExtra) {
    AFX_MSGCALL call;
    call.message = entry->nMessage;
    call.nID = nID;
    call.pExtra = pExtra;
    if (nCode == CN_UPDATE_COMMAND_UI) {
        auto* cmdUI = static_cast<CCmdUI*>(pExtra);
        BOOL saved = cmdUI->m_bContinueRouting;
        cmdUI->m_bContinueRouting = FALSE;
        entry->pfn(this, call);
        BOOL handled = !cmdUI->m_bContinueRouting;
        cmdUI->m_bContinueRouting = saved;
        return handled;
    }
    return entry->pfn(this, call);
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    UINT kind = AfxKindCommand;
    UINT code = static_cast<UINT>(nCode);
    if (nCode == CN_UPDATE_COMMAND_UI) {
        kind = AfxKindUpdateUI;
        code = 0;
    } else if (HIWORD(static_cast<UINT>(nCode)) == WM_NOTIFY) {
        kind = AfxKindNotify;
        code = LOWORD(static_cast<UINT>(nCode));
    }
    // Walk the chain by hand: an _EX handler that declines lets the search go on to later entries.
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (!Matches(*e, kind, 0, code, nID)) {
                continue;
            }
            if (pHandlerInfo) {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pEntry = e;
                return TRUE;
            }
            if (DispatchCmdEntry(e, nID, nCode, pExtra)) {
                return TRUE;
            }
        }
    }
    return FALSE;
}

void CCmdTarget::BeginWaitCursor() {
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}
void CCmdTarget::EndWaitCursor() {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}
void CCmdTarget::RestoreWaitCursor() {
    BeginWaitCursor();
}

// ---- CCmdUI

void CCmdUI::Enable(BOOL bOn) {
    if (m_pOther && m_pOther->GetSafeHwnd()) {
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            // Keep the keyboard somewhere usable: the parent takes the focus of a control being disabled.
            HWND parent = ::GetParent(m_pOther->m_hWnd);
            if (parent) {
                ::SetFocus(parent);
            }
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_pOther && m_pOther->GetSafeHwnd()) {
        if (m_pOther->SendMessageW(WM_GETDLGCODE) & DLGC_BUTTON) {
            m_pOther->SendMessageW(BM_SETCHECK, static_cast<WPARAM>(nCheck));
        }
    }
}

void CCmdUI::SetRadio(BOOL bOn) {
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR lpszText) {
    if (m_pOther && m_pOther->GetSafeHwnd()) {
        CString current;
        m_pOther->GetWindowTextW(current);
        if (current != (lpszText ? lpszText : u"")) {
            m_pOther->SetWindowTextW(lpszText);
        }
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) {
        return TRUE; // separators and popups are not updated
    }
    m_bEnableChanged = FALSE;
    BOOL result = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return result;
}
