#include "platform/framework/CMenu.h"

#include "platform/framework/AfxHandleMap.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/FrameworkResources.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

CHandleMap<CMenu, HMENU>* MenuMap() {
    return AfxThreadHandleMap<CMenu, HMENU>([](CMenu* m) { m->m_hMenu = nullptr; });
}

} // namespace

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    auto* map = MenuMap();
    if (!hMenu || !map) {
        return nullptr;
    }
    if (CMenu* permanent = map->LookupPermanent(hMenu)) {
        return permanent;
    }
    if (CMenu* temporary = map->LookupTemporary<CMenu>(hMenu)) {
        return temporary;
    }
    auto menu = std::make_unique<CMenu>();
    menu->m_hMenu = hMenu;
    return map->MakeTemporary(hMenu, std::move(menu));
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu) {
    auto* map = MenuMap();
    return hMenu && map ? map->LookupPermanent(hMenu) : nullptr;
}

void CMenu::DeleteTempMap() {
    if (auto* map = MenuMap()) {
        map->DeleteTemp();
    }
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (!hMenu) {
        return FALSE;
    }
    m_hMenu = hMenu;
    if (auto* map = MenuMap()) {
        map->SetPermanent(hMenu, this);
    }
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU h = m_hMenu;
    if (h) {
        if (auto* map = MenuMap()) {
            map->RemovePermanent(h, this);
        }
    }
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::CreateMenu() {
    return Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu() {
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
    return Attach(AfxGetResourceProvider().LoadMenu(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
    return LoadMenu(MAKEINTRESOURCEW(nIDResource));
}

BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate) {
    return Attach(::LoadMenuIndirectW(lpMenuTemplate));
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) {
        return FALSE;
    }
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}
BOOL CMenu::InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
    return ::InsertMenuItemW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}
BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
    return ::GetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}
BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
    return ::SetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}
UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
}
BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}
UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    return ::GetMenuState(m_hMenu, nID, nFlags);
}
int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
    return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}
int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    int n = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    LPTSTR buffer = rString.GetBuffer(n + 1);
    n = ::GetMenuStringW(m_hMenu, nIDItem, buffer, n + 1, nFlags);
    rString.ReleaseBuffer(n);
    return n;
}
int CMenu::GetMenuItemCount() const {
    return ::GetMenuItemCount(m_hMenu);
}
UINT CMenu::GetMenuItemID(int nPos) const {
    return ::GetMenuItemID(m_hMenu, nPos);
}
BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) {
    return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos);
}
UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos) {
    return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags);
}
BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, CWnd::SafeHwndOf(pWnd), lpRect);
}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
