// Command targets and their static message maps.
//
// A message map is a table of entries, each holding a small thunk instantiated for the handler's class and
// member function: the thunk unpacks the message into the handler's own argument types and calls it, so no
// member pointer is ever cast to another signature. BEGIN_MESSAGE_MAP defines the table inside a static
// member function of the class, which is what lets protected and private handlers be named in it.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/WindowTypes.h"
#include "platform/display/WindowMessages.h"
#include "platform/framework/AfxRes.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CMenu;

// What one dispatch carries to a thunk, and what the handler answers.
struct AFX_MSGCALL {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    UINT nID = 0;           // command or control id; the CTLCOLOR kind for WM_CTLCOLOR entries
    void* pExtra = nullptr; // CCmdUI* for updates, AFX_NOTIFY* for notifications
};

struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Answers FALSE when the handler declined (the _EX entries), so the search goes on.
using AFX_THUNK = BOOL (*)(CCmdTarget* target, AFX_MSGCALL& call);

enum AfxEntryKind : UINT {
    AfxKindWindow = 0,     // a window message (or a reflected one) by number
    AfxKindRegistered,     // a window message whose number is in *pnRegistered
    AfxKindCommand,        // WM_COMMAND: CN_COMMAND (code 0) or a control notification code
    AfxKindUpdateUI,       // CN_UPDATE_COMMAND_UI
    AfxKindNotify,         // WM_NOTIFY by code and control id
    AfxKindReflectCommand, // WM_COMMAND reflected to the control, by code
    AfxKindReflectNotify,  // WM_NOTIFY reflected to the control, by code
    AfxKindThread,         // a thread message (CWinThread maps)
    AfxKindRegisteredThread,
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nKind;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    const UINT* pnRegistered;
    AFX_THUNK pfn; // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled instead of calling the handler when OnCmdMsg is asked only whether one exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
    const AFX_MSGMAP_ENTRY* pEntry = nullptr;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // nCode: CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra is the CCmdUI), a control notification code, or
    // MAKELONG(code, WM_NOTIFY) (pExtra is an AFX_NOTIFY). Answers whether a handler took it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // The first entry of this object's maps (most derived first) that matches.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT kind, UINT message, UINT code, UINT id) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Runs a command entry for nID (updates get the CCmdUI's routing answer).
    BOOL DispatchCmdEntry(const AFX_MSGMAP_ENTRY* entry, UINT nID, int nCode, void* pExtra);
};

// The state of one user-interface item (menu item, control, pane) asked for by the idle update.
class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;
    CMenu* m_pSubMenu = nullptr;
    CMenu* m_pParentMenu = nullptr;
    CWnd* m_pOther = nullptr; // a control or bar standing for the item
    UINT m_nIndexMax = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1); // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target; with bDisableIfNoHndler an item nobody updates is enabled only when some target
    // would run the command.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Collects the state without touching anything: whether a command may run now.
class CTestCmdUI : public CCmdUI {
public:
    CTestCmdUI() { m_bEnabled = TRUE; }
    void Enable(BOOL bOn = TRUE) override {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
    BOOL m_bEnabled;
};

// ---- Thunks for the command entries
template <class T, auto F>
BOOL AfxThunkCommand(CCmdTarget* t, AFX_MSGCALL&) {
    (static_cast<T*>(t)->*F)();
    return TRUE;
}
template <class T, auto F>
BOOL AfxThunkCommandId(CCmdTarget* t, AFX_MSGCALL& c) {
    (static_cast<T*>(t)->*F)(c.nID);
    return TRUE;
}
template <class T, auto F>
BOOL AfxThunkCommandEx(CCmdTarget* t, AFX_MSGCALL& c) {
    return (static_cast<T*>(t)->*F)(c.nID) ? TRUE : FALSE;
}
template <class T, auto F>
BOOL AfxThunkUpdateUI(CCmdTarget* t, AFX_MSGCALL& c) {
    (static_cast<T*>(t)->*F)(static_cast<CCmdUI*>(c.pExtra));
    return TRUE;
}
template <class T, auto F>
BOOL AfxThunkNotify(CCmdTarget* t, AFX_MSGCALL& c) {
    auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    (static_cast<T*>(t)->*F)(n->pNMHDR, n->pResult);
    return TRUE;
}
template <class T, auto F>
BOOL AfxThunkNotifyId(CCmdTarget* t, AFX_MSGCALL& c) {
    auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    (static_cast<T*>(t)->*F)(c.nID, n->pNMHDR, n->pResult);
    return TRUE;
}
template <class T, auto F>
BOOL AfxThunkNotifyEx(CCmdTarget* t, AFX_MSGCALL& c) {
    auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    return (static_cast<T*>(t)->*F)(c.nID, n->pNMHDR, n->pResult) ? TRUE : FALSE;
}
template <class T, auto F>
BOOL AfxThunkReflectNotifyEx(CCmdTarget* t, AFX_MSGCALL& c) {
    auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    return (static_cast<T*>(t)->*F)(n->pNMHDR, n->pResult) ? TRUE : FALSE;
}
template <class T, auto F>
BOOL AfxThunkReflectCommandEx(CCmdTarget* t, AFX_MSGCALL&) {
    return (static_cast<T*>(t)->*F)() ? TRUE : FALSE;
}
template <class T, auto F>
BOOL AfxThunkMessage(CCmdTarget* t, AFX_MSGCALL& c) {
    c.result = (static_cast<T*>(t)->*F)(c.wParam, c.lParam);
    return TRUE;
}
template <class T, auto F>
BOOL AfxThunkThreadMessage(CCmdTarget* t, AFX_MSGCALL& c) {
    (static_cast<T*>(t)->*F)(c.wParam, c.lParam);
    return TRUE;
}

// ---- Declaring and defining maps
// Leaves the access protected, where the handlers that follow it usually belong.
#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                                      \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                                        \
        using ThisClass [[maybe_unused]] = theClass;                                                         \
        using TheBaseClass = baseClass;                                                                      \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    { 0, 0, 0, 0, 0, nullptr, nullptr }                                                                      \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};            \
    return &messageMap;                                                                                      \
    }

// ---- Command entries
#define ON_COMMAND(id, memberFxn)                                                                            \
    {WM_COMMAND,                                                                                             \
     AfxKindCommand,                                                                                         \
     CN_COMMAND,                                                                                             \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(id),                                                                                  \
     nullptr,                                                                                                \
     &AfxThunkCommand<ThisClass, &ThisClass::memberFxn>},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                              \
    {WM_COMMAND,                                                                                             \
     AfxKindCommand,                                                                                         \
     CN_COMMAND,                                                                                             \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(idLast),                                                                              \
     nullptr,                                                                                                \
     &AfxThunkCommandId<ThisClass, &ThisClass::memberFxn>},
#define ON_COMMAND_EX(id, memberFxn)                                                                         \
    {WM_COMMAND,                                                                                             \
     AfxKindCommand,                                                                                         \
     CN_COMMAND,                                                                                             \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(id),                                                                                  \
     nullptr,                                                                                                \
     &AfxThunkCommandEx<ThisClass, &ThisClass::memberFxn>},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                                           \
    {WM_COMMAND,                                                                                             \
     AfxKindCommand,                                                                                         \
     CN_COMMAND,                                                                                             \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(idLast),                                                                              \
     nullptr,                                                                                                \
     &AfxThunkCommandEx<ThisClass, &ThisClass::memberFxn>},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                                  \
    {WM_COMMAND,                                                                                             \
     AfxKindUpdateUI,                                                                                        \
     0,                                                                                                      \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(id),                                                                                  \
     nullptr,                                                                                                \
     &AfxThunkUpdateUI<ThisClass, &ThisClass::memberFxn>},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND,                                                                                             \
     AfxKindUpdateUI,                                                                                        \
     0,                                                                                                      \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(idLast),                                                                              \
     nullptr,                                                                                                \
     &AfxThunkUpdateUI<ThisClass, &ThisClass::memberFxn>},
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                               \
    {WM_COMMAND,                                                                                             \
     AfxKindCommand,                                                                                         \
     static_cast<UINT>(static_cast<WORD>(wNotifyCode)),                                                      \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(id),                                                                                  \
     nullptr,                                                                                                \
     &AfxThunkCommand<ThisClass, &ThisClass::memberFxn>},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                                 \
    {WM_COMMAND,                                                                                             \
     AfxKindCommand,                                                                                         \
     static_cast<UINT>(static_cast<WORD>(wNotifyCode)),                                                      \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(idLast),                                                                              \
     nullptr,                                                                                                \
     &AfxThunkCommandId<ThisClass, &ThisClass::memberFxn>},
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                \
    {WM_NOTIFY,                                                                                              \
     AfxKindNotify,                                                                                          \
     static_cast<UINT>(static_cast<WORD>(wNotifyCode)),                                                      \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(id),                                                                                  \
     nullptr,                                                                                                \
     &AfxThunkNotify<ThisClass, &ThisClass::memberFxn>},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                  \
    {WM_NOTIFY,                                                                                              \
     AfxKindNotify,                                                                                          \
     static_cast<UINT>(static_cast<WORD>(wNotifyCode)),                                                      \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(idLast),                                                                              \
     nullptr,                                                                                                \
     &AfxThunkNotifyId<ThisClass, &ThisClass::memberFxn>},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                             \
    {WM_NOTIFY,                                                                                              \
     AfxKindNotify,                                                                                          \
     static_cast<UINT>(static_cast<WORD>(wNotifyCode)),                                                      \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(id),                                                                                  \
     nullptr,                                                                                                \
     &AfxThunkNotifyEx<ThisClass, &ThisClass::memberFxn>},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                               \
    {WM_NOTIFY,                                                                                              \
     AfxKindNotify,                                                                                          \
     static_cast<UINT>(static_cast<WORD>(wNotifyCode)),                                                      \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(idLast),                                                                              \
     nullptr,                                                                                                \
     &AfxThunkNotifyEx<ThisClass, &ThisClass::memberFxn>},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                           \
    {WM_REFLECT_BASE + WM_COMMAND,                                                                           \
     AfxKindReflectCommand,                                                                                  \
     static_cast<UINT>(static_cast<WORD>(wNotifyCode)),                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     nullptr,                                                                                                \
     &AfxThunkCommand<ThisClass, &ThisClass::memberFxn>},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                        \
    {WM_REFLECT_BASE + WM_COMMAND,                                                                           \
     AfxKindReflectCommand,                                                                                  \
     static_cast<UINT>(static_cast<WORD>(wNotifyCode)),                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     nullptr,                                                                                                \
     &AfxThunkReflectCommandEx<ThisClass, &ThisClass::memberFxn>},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                            \
    {WM_REFLECT_BASE + WM_NOTIFY,                                                                            \
     AfxKindReflectNotify,                                                                                   \
     static_cast<UINT>(static_cast<WORD>(wNotifyCode)),                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     nullptr,                                                                                                \
     &AfxThunkNotify<ThisClass, &ThisClass::memberFxn>},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                         \
    {WM_REFLECT_BASE + WM_NOTIFY,                                                                            \
     AfxKindReflectNotify,                                                                                   \
     static_cast<UINT>(static_cast<WORD>(wNotifyCode)),                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     nullptr,                                                                                                \
     &AfxThunkReflectNotifyEx<ThisClass, &ThisClass::memberFxn>},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// ---- User messages: LRESULT handler(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn)                                                                       \
    {static_cast<UINT>(message),                                                                             \
     AfxKindWindow,                                                                                          \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     nullptr,                                                                                                \
     &AfxThunkMessage<ThisClass, &ThisClass::memberFxn>},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                   \
    {0xC000,                                                                                                 \
     AfxKindRegistered,                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     &(nMessageVariable),                                                                                    \
     &AfxThunkMessage<ThisClass, &ThisClass::memberFxn>},
// Thread messages: void handler(WPARAM, LPARAM)
#define ON_THREAD_MESSAGE(message, memberFxn)                                                                \
    {static_cast<UINT>(message),                                                                             \
     AfxKindThread,                                                                                          \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     nullptr,                                                                                                \
     &AfxThunkThreadMessage<ThisClass, &ThisClass::memberFxn>},
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn)                                            \
    {0xC000,                                                                                                 \
     AfxKindRegisteredThread,                                                                                \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     &(nMessageVariable),                                                                                    \
     &AfxThunkThreadMessage<ThisClass, &ThisClass::memberFxn>},
