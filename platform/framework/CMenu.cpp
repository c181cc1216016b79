#include "platform/framework/CMenu.h"

#include "platform/framework/AfxHandleMap.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

CHandleMap<CMenu, HMENU>* MenuMap() {
    return AfxThreadHandleMap<CMenu, HMENU>([](CMenu* m) { m->m_hMenu = nullptr; });
}

} // namespace

CMenu::~CMenu() {
    Detach();
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
