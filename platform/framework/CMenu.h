// The menu wrapper: for now only the handle and its map, which message handlers receive (WM_INITMENUPOPUP,
// WM_MENUCHAR, WM_INITMENU) and command-UI updates carry. Menu operations come with the menu system.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/WindowTypes.h"

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)

public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return SafeHmenuOf(this); }
    static HMENU SafeHmenuOf(const CMenu* menu) { return menu ? menu->m_hMenu : nullptr; }

    static CMenu* FromHandle(HMENU hMenu);
    static void DeleteTempMap();
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL operator==(const CMenu& other) const { return m_hMenu == other.m_hMenu; }
    BOOL operator!=(const CMenu& other) const { return m_hMenu != other.m_hMenu; }
};
