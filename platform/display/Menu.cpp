// Menu objects and their items, menus from MENU templates, system menus and accelerator tables.
#include "platform/display/MenuInternal.h"

#include "platform/resources/ResourceTemplates.h"
#include "platform/resources/Resources.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace display_detail {
namespace {

struct MenuObject {
    bool popup = false;
    std::vector<MenuItemData> items;
};

struct MenuStore {
    std::mutex mutex;
    std::unordered_map<HMENU, std::unique_ptr<MenuObject>> menus;
    std::uintptr_t next = 0x30010;
    std::unordered_map<HACCEL, std::vector<ACCEL>> accels;
    std::uintptr_t nextAccel = 0x38010;
    std::map<HWND, HMENU> systemMenus;
};

MenuStore& Store() {
    static MenuStore* store = new MenuStore; // lives to the end: windows may go after static destruction
    return *store;
}

using MenuLock = std::lock_guard<std::mutex>;

MenuObject* FindMenuLocked(HMENU menu) {
    auto& s = Store();
    auto it = s.menus.find(menu);
    if (it == s.menus.end()) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

// The item named by position or (searching submenus depth first) by command.
MenuItemData* FindItemLocked(HMENU menu, UINT item, bool byPosition, HMENU* holder = nullptr,
                             int* index = nullptr, int depth = 0) {
    MenuObject* m = FindMenuLocked(menu);
    if (!m || depth > 16) {
        return nullptr;
    }
    if (byPosition) {
        if (item >= m->items.size()) {
            return nullptr;
        }
        if (holder) {
            *holder = menu;
        }
        if (index) {
            *index = static_cast<int>(item);
        }
        return &m->items[item];
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        MenuItemData& it = m->items[i];
        if (it.sub) {
            if (MenuItemData* found = FindItemLocked(it.sub, item, false, holder, index, depth + 1)) {
                return found;
            }
        } else if (it.id == item) {
            if (holder) {
                *holder = menu;
            }
            if (index) {
                *index = static_cast<int>(i);
            }
            return &it;
        }
    }
    // A submenu item may be named by its handle.
    for (size_t i = 0; i < m->items.size(); ++i) {
        if (m->items[i].sub && reinterpret_cast<UINT_PTR>(m->items[i].sub) == item) {
            if (holder) {
                *holder = menu;
            }
            if (index) {
                *index = static_cast<int>(i);
            }
            return &m->items[i];
        }
    }
    return nullptr;
}

HMENU NewMenuLocked(bool popup) {
    auto& s = Store();
    HMENU h = reinterpret_cast<HMENU>(s.next);
    s.next += 4;
    auto m = std::make_unique<MenuObject>();
    m->popup = popup;
    s.menus.emplace(h, std::move(m));
    return h;
}

void DestroyMenuLocked(HMENU menu, int depth = 0) {
    auto& s = Store();
    auto it = s.menus.find(menu);
    if (it == s.menus.end() || depth > 16) {
        return;
    }
    std::unique_ptr<MenuObject> m = std::move(it->second);
    s.menus.erase(it);
    for (auto& item : m->items) {
        if (item.sub) {
            DestroyMenuLocked(item.sub, depth + 1);
        }
    }
}

// The MF_* flags of AppendMenu and friends made into an item.
bool ItemFromFlags(UINT flags, UINT_PTR newItem, LPCWSTR content, MenuItemData& item) {
    item.type =
        flags & (MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_RIGHTJUSTIFY | MFT_RADIOCHECK | MFT_RIGHTORDER);
    item.state = flags & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
    if (flags & MF_SEPARATOR) {
        item.type |= MFT_SEPARATOR;
    } else if (flags & MF_OWNERDRAW) {
        item.type |= MFT_OWNERDRAW;
        item.data = reinterpret_cast<ULONG_PTR>(content);
    } else if (flags & MF_BITMAP) {
        item.type |= MFT_BITMAP;
        item.bitmap = reinterpret_cast<HBITMAP>(const_cast<LPWSTR>(content));
    } else if (content) {
        item.text = content;
    }
    if (flags & MF_POPUP) {
        item.sub = reinterpret_cast<HMENU>(newItem);
        if (!FindMenuLocked(item.sub)) {
            return false;
        }
        item.id = static_cast<UINT>(newItem);
    } else {
        item.id = static_cast<UINT>(newItem);
    }
    return true;
}

bool ApplyInfo(const MENUITEMINFOW* info, MenuItemData& item) {
    if (!info || info->cbSize < sizeof(UINT) * 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (info->fMask & MIIM_TYPE) {
        item.type = info->fType;
        item.text.clear();
        item.bitmap = nullptr;
        if (!(info->fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) && info->dwTypeData) {
            item.text = info->dwTypeData;
        } else if (info->fType & MFT_BITMAP) {
            item.bitmap = reinterpret_cast<HBITMAP>(info->dwTypeData);
        }
    }
    if (info->fMask & MIIM_FTYPE) {
        item.type = (item.type & MFT_BITMAP) | (info->fType & ~MFT_BITMAP);
    }
    if (info->fMask & MIIM_STRING) {
        item.text = info->dwTypeData ? info->dwTypeData : u"";
    }
    if (info->fMask & MIIM_BITMAP) {
        item.bitmap = info->hbmpItem;
    }
    if (info->fMask & MIIM_STATE) {
        item.state = info->fState;
    }
    if (info->fMask & MIIM_ID) {
        item.id = info->wID;
    }
    if (info->fMask & MIIM_SUBMENU) {
        if (info->hSubMenu && !FindMenuLocked(info->hSubMenu)) {
            return false;
        }
        item.sub = info->hSubMenu;
    }
    if (info->fMask & MIIM_DATA) {
        item.data = info->dwItemData;
    }
    return true;
}

BOOL InsertItem(HMENU menu, UINT position, bool byPosition, const MenuItemData& item) {
    MenuObject* m = FindMenuLocked(menu);
    if (!m) {
        return FALSE;
    }
    if (byPosition || position == static_cast<UINT>(-1)) {
        size_t at = std::min<size_t>(position, m->items.size());
        m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), item);
        return TRUE;
    }
    HMENU holder = nullptr;
    int index = 0;
    if (!FindItemLocked(menu, position, false, &holder, &index)) {
        // Inserting before a command that is not there appends, as the original does.
        m->items.push_back(item);
        return TRUE;
    }
    MenuObject* h = FindMenuLocked(holder);
    h->items.insert(h->items.begin() + index, item);
    return TRUE;
}

void AddTemplateItems(HMENU menu, const std::vector<ParsedMenuItem>& items) {
    for (const auto& p : items) {
        MenuItemData item;
        item.state = p.flags & (MFS_GRAYED | MFS_CHECKED | MFS_DEFAULT);
        item.type = p.flags & (MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_RIGHTJUSTIFY | MFT_OWNERDRAW);
        if (p.IsPopup()) {
            item.sub = NewMenuLocked(true);
            AddTemplateItems(item.sub, p.popup);
            item.id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(item.sub));
            item.text = p.text;
        } else if (p.IsSeparator() || (p.flags & MF_SEPARATOR)) {
            item.type |= MFT_SEPARATOR;
        } else {
            item.id = p.id;
            item.text = p.text;
        }
        FindMenuLocked(menu)->items.push_back(std::move(item));
    }
}

HMENU MakeSystemMenuLocked() {
    HMENU m = NewMenuLocked(true);
    auto add = [&](UINT id, const char16_t* text, UINT state = 0) {
        MenuItemData item;
        item.id = id;
        item.state = state;
        if (text) {
            item.text = text;
        } else {
            item.type = MFT_SEPARATOR;
        }
        FindMenuLocked(m)->items.push_back(std::move(item));
    };
    add(SC_RESTORE, u"&Restore");
    add(SC_MOVE, u"&Move");
    add(SC_SIZE, u"&Size");
    add(SC_MINIMIZE, u"Mi&nimize");
    add(SC_MAXIMIZE, u"Ma&ximize");
    add(0, nullptr);
    add(SC_CLOSE, u"&Close\tAlt+F4", MFS_DEFAULT);
    return m;
}

} // namespace

bool MenuSnapshot(HMENU menu, std::vector<MenuItemData>& items) {
    MenuLock lock(Store().mutex);
    MenuObject* m = FindMenuLocked(menu);
    if (!m) {
        return false;
    }
    items = m->items;
    return true;
}

bool MenuFindCommand(HMENU menu, UINT id, HMENU* holder, int* pos) {
    MenuLock lock(Store().mutex);
    return FindItemLocked(menu, id, false, holder, pos) != nullptr;
}

void MenuSetHilite(HMENU menu, int pos, bool on) {
    MenuLock lock(Store().mutex);
    if (MenuItemData* it = FindItemLocked(menu, static_cast<UINT>(pos), true)) {
        it->state = on ? (it->state | MFS_HILITE) : (it->state & ~MFS_HILITE);
    }
}

char16_t MenuMnemonic(const std::u16string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&') {
            if (text[i + 1] == u'&') {
                ++i;
                continue;
            }
            char16_t c = text[i + 1];
            return c < 128 ? static_cast<char16_t>(std::tolower(static_cast<int>(c))) : c;
        }
    }
    return 0;
}

} // namespace display_detail

using namespace display_detail;

HMENU CreateMenu() {
    MenuLock lock(Store().mutex);
    return NewMenuLocked(false);
}

HMENU CreatePopupMenu() {
    MenuLock lock(Store().mutex);
    return NewMenuLocked(true);
}

BOOL DestroyMenu(HMENU menu) {
    MenuLock lock(Store().mutex);
    if (!FindMenuLocked(menu)) {
        return FALSE;
    }
    DestroyMenuLocked(menu);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    MenuLock lock(Store().mutex);
    return Store().menus.count(menu) != 0;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR newItem, LPCWSTR content) {
    MenuLock lock(Store().mutex);
    MenuObject* m = FindMenuLocked(menu);
    MenuItemData item;
    if (!m || !ItemFromFlags(flags, newItem, content, item)) {
        return FALSE;
    }
    m->items.push_back(std::move(item));
    return TRUE;
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCWSTR content) {
    MenuLock lock(Store().mutex);
    MenuItemData item;
    if (!FindMenuLocked(menu) || !ItemFromFlags(flags, newItem, content, item)) {
        return FALSE;
    }
    return InsertItem(menu, position, (flags & MF_BYPOSITION) != 0, item);
}

BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCWSTR content) {
    MenuLock lock(Store().mutex);
    MenuItemData* it = FindItemLocked(menu, position, (flags & MF_BYPOSITION) != 0);
    MenuItemData item;
    if (!it || !ItemFromFlags(flags, newItem, content, item)) {
        if (!it) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        }
        return FALSE;
    }
    if (it->sub && it->sub != item.sub) {
        DestroyMenuLocked(it->sub);
    }
    *it = std::move(item);
    return TRUE;
}

BOOL InsertMenuItemW(HMENU menu, UINT position, BOOL byPosition, LPCMENUITEMINFOW info) {
    MenuLock lock(Store().mutex);
    MenuItemData item;
    if (!FindMenuLocked(menu) || !ApplyInfo(info, item)) {
        return FALSE;
    }
    return InsertItem(menu, position, byPosition != FALSE, item);
}

BOOL SetMenuItemInfoW(HMENU menu, UINT position, BOOL byPosition, LPCMENUITEMINFOW info) {
    MenuLock lock(Store().mutex);
    MenuItemData* it = FindItemLocked(menu, position, byPosition != FALSE);
    if (!it) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    MenuItemData copy = *it;
    if (!ApplyInfo(info, copy)) {
        return FALSE;
    }
    *it = std::move(copy);
    return TRUE;
}

BOOL GetMenuItemInfoW(HMENU menu, UINT position, BOOL byPosition, LPMENUITEMINFOW info) {
    MenuLock lock(Store().mutex);
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MenuItemData* it = FindItemLocked(menu, position, byPosition != FALSE);
    if (!it) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) {
        info->fType = it->type;
    }
    if (info->fMask & (MIIM_TYPE | MIIM_STRING)) {
        bool text = !(it->type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW));
        if ((info->fMask & MIIM_TYPE) && !text) {
            info->dwTypeData = reinterpret_cast<LPWSTR>(it->bitmap);
            info->cch = 0;
        } else if (info->dwTypeData && info->cch > 0) {
            info->cch = static_cast<UINT>(CopyText(it->text, info->dwTypeData, static_cast<int>(info->cch)));
        } else {
            info->cch = static_cast<UINT>(it->text.size());
        }
    }
    if (info->fMask & MIIM_BITMAP) {
        info->hbmpItem = it->bitmap;
    }
    if (info->fMask & MIIM_STATE) {
        info->fState = it->state;
    }
    if (info->fMask & MIIM_ID) {
        info->wID = it->id;
    }
    if (info->fMask & MIIM_SUBMENU) {
        info->hSubMenu = it->sub;
    }
    if (info->fMask & MIIM_CHECKMARKS) {
        info->hbmpChecked = nullptr;
        info->hbmpUnchecked = nullptr;
    }
    if (info->fMask & MIIM_DATA) {
        info->dwItemData = it->data;
    }
    return TRUE;
}

namespace {

BOOL RemoveItem(HMENU menu, UINT position, UINT flags, bool destroySub) {
    MenuLock lock(Store().mutex);
    HMENU holder = nullptr;
    int index = 0;
    if (!FindItemLocked(menu, position, (flags & MF_BYPOSITION) != 0, &holder, &index)) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    MenuObject* h = FindMenuLocked(holder);
    HMENU sub = h->items[static_cast<size_t>(index)].sub;
    h->items.erase(h->items.begin() + index);
    if (destroySub && sub) {
        DestroyMenuLocked(sub);
    }
    return TRUE;
}

} // namespace

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    return RemoveItem(menu, position, flags, false);
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return RemoveItem(menu, position, flags, true);
}

int GetMenuItemCount(HMENU menu) {
    MenuLock lock(Store().mutex);
    MenuObject* m = FindMenuLocked(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos) {
    MenuLock lock(Store().mutex);
    MenuItemData* it = pos < 0 ? nullptr : FindItemLocked(menu, static_cast<UINT>(pos), true);
    if (!it || it->sub) {
        return static_cast<UINT>(-1);
    }
    return it->id;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int maxCount, UINT flags) {
    MenuLock lock(Store().mutex);
    MenuItemData* it = FindItemLocked(menu, item, (flags & MF_BYPOSITION) != 0);
    if (!it) {
        if (buffer && maxCount > 0) {
            buffer[0] = 0;
        }
        return 0;
    }
    if (!buffer || maxCount <= 0) {
        return static_cast<int>(it->text.size());
    }
    return CopyText(it->text, buffer, maxCount);
}

HMENU GetSubMenu(HMENU menu, int pos) {
    MenuLock lock(Store().mutex);
    MenuItemData* it = pos < 0 ? nullptr : FindItemLocked(menu, static_cast<UINT>(pos), true);
    return it ? it->sub : nullptr;
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags) {
    MenuLock lock(Store().mutex);
    MenuItemData* it = FindItemLocked(menu, id, (flags & MF_BYPOSITION) != 0);
    if (!it) {
        return static_cast<UINT>(-1);
    }
    UINT state = it->state | (it->type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW | MFT_MENUBARBREAK |
                                          MFT_MENUBREAK | MFT_RADIOCHECK | MFT_RIGHTJUSTIFY));
    if (it->sub) {
        MenuObject* sub = FindMenuLocked(it->sub);
        UINT count = sub ? static_cast<UINT>(sub->items.size()) : 0;
        state = (state & 0xFF) | MF_POPUP | (count << 8);
    }
    return state;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    MenuLock lock(Store().mutex);
    MenuItemData* it = FindItemLocked(menu, item, (check & MF_BYPOSITION) != 0);
    if (!it) {
        return static_cast<DWORD>(-1);
    }
    DWORD previous = it->state & MF_CHECKED;
    it->state = (it->state & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
    MenuLock lock(Store().mutex);
    bool byPos = (flags & MF_BYPOSITION) != 0;
    HMENU holder = nullptr;
    int firstIndex = 0;
    int lastIndex = 0;
    if (!FindItemLocked(menu, first, byPos, &holder, &firstIndex)) {
        return FALSE;
    }
    HMENU lastHolder = nullptr;
    if (!FindItemLocked(menu, last, byPos, &lastHolder, &lastIndex) || lastHolder != holder) {
        return FALSE;
    }
    MenuObject* m = FindMenuLocked(holder);
    bool found = false;
    for (int i = std::min(firstIndex, lastIndex); i <= std::max(firstIndex, lastIndex); ++i) {
        MenuItemData& it = m->items[static_cast<size_t>(i)];
        if (it.Separator()) {
            continue;
        }
        bool on = byPos ? static_cast<UINT>(i) == check : (!it.sub && it.id == check);
        if (on) {
            it.state |= MF_CHECKED;
            it.type |= MFT_RADIOCHECK;
            found = true;
        } else {
            it.state &= ~MF_CHECKED;
        }
    }
    return found;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    MenuLock lock(Store().mutex);
    MenuItemData* it = FindItemLocked(menu, item, (enable & MF_BYPOSITION) != 0);
    if (!it) {
        return -1;
    }
    BOOL previous = static_cast<BOOL>(it->state & MFS_GRAYED);
    it->state = (it->state & ~MFS_GRAYED) | (enable & MFS_GRAYED);
    return previous;
}

BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite) {
    {
        MenuLock lock(Store().mutex);
        MenuItemData* it = FindItemLocked(menu, item, (hilite & MF_BYPOSITION) != 0);
        if (!it) {
            return FALSE;
        }
        it->state = (hilite & MF_HILITE) ? (it->state | MFS_HILITE) : (it->state & ~MFS_HILITE);
    }
    if (hwnd && GetMenu(hwnd) == menu) {
        DrawMenuBar(hwnd);
    }
    return TRUE;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
    MenuLock lock(Store().mutex);
    MenuObject* m = FindMenuLocked(menu);
    if (!m) {
        return FALSE;
    }
    int target = -1;
    if (item != static_cast<UINT>(-1)) {
        for (size_t i = 0; i < m->items.size(); ++i) {
            if (byPosition ? i == item : (!m->items[i].sub && m->items[i].id == item)) {
                target = static_cast<int>(i);
            }
        }
        if (target < 0) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        auto& st = m->items[i].state;
        st = static_cast<int>(i) == target ? (st | MFS_DEFAULT) : (st & ~MFS_DEFAULT);
    }
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags) {
    MenuLock lock(Store().mutex);
    MenuObject* m = FindMenuLocked(menu);
    if (!m) {
        return static_cast<UINT>(-1);
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        const auto& it = m->items[i];
        if ((it.state & MFS_DEFAULT) && (!it.Disabled() || (flags & GMDI_USEDISABLED))) {
            return byPosition ? static_cast<UINT>(i) : it.id;
        }
    }
    return static_cast<UINT>(-1);
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
    if (!IsWindow(hwnd)) {
        return nullptr;
    }
    MenuLock lock(Store().mutex);
    auto& s = Store();
    auto it = s.systemMenus.find(hwnd);
    if (revert) {
        if (it != s.systemMenus.end()) {
            DestroyMenuLocked(it->second);
            s.systemMenus.erase(it);
        }
        return nullptr;
    }
    if (it != s.systemMenus.end() && s.menus.count(it->second)) {
        return it->second;
    }
    HMENU m = MakeSystemMenuLocked();
    s.systemMenus[hwnd] = m;
    return m;
}

HMENU LoadMenuIndirectW(const void* menuTemplate) {
    if (!menuTemplate) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // The template carries no size: parse against a generous bound; the parser stops at the end marks.
    ParsedMenu parsed;
    if (!ParseMenuTemplate(menuTemplate, 64 * 1024, parsed)) {
        return nullptr;
    }
    MenuLock lock(Store().mutex);
    HMENU menu = NewMenuLocked(false);
    AddTemplateItems(menu, parsed.items);
    return menu;
}

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
    size_t size = 0;
    const BYTE* data = DolivaResourceBytes(reinterpret_cast<HMODULE>(instance), name, RT_MENU, &size);
    if (!data) {
        return nullptr;
    }
    ParsedMenu parsed;
    if (!ParseMenuTemplate(data, size, parsed)) {
        return nullptr;
    }
    MenuLock lock(Store().mutex);
    HMENU menu = NewMenuLocked(false);
    AddTemplateItems(menu, parsed.items);
    return menu;
}

// ---- Accelerators

HACCEL CreateAcceleratorTableW(LPACCEL entries, int count) {
    if (!entries || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    MenuLock lock(Store().mutex);
    auto& s = Store();
    HACCEL h = reinterpret_cast<HACCEL>(s.nextAccel);
    s.nextAccel += 4;
    std::vector<ACCEL> table(entries, entries + count);
    for (auto& a : table) {
        a.fVirt &= FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;
    }
    s.accels.emplace(h, std::move(table));
    return h;
}

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name) {
    size_t size = 0;
    const BYTE* data = DolivaResourceBytes(reinterpret_cast<HMODULE>(instance), name, RT_ACCELERATOR, &size);
    if (!data) {
        return nullptr;
    }
    std::vector<AcceleratorEntry> parsed;
    if (!ParseAcceleratorTable(data, size, parsed) || parsed.empty()) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    std::vector<ACCEL> table;
    for (const auto& e : parsed) {
        table.push_back(ACCEL{e.fVirt, e.key, e.cmd});
    }
    return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    MenuLock lock(Store().mutex);
    if (!Store().accels.erase(table)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

int CopyAcceleratorTableW(HACCEL table, LPACCEL entries, int count) {
    MenuLock lock(Store().mutex);
    auto it = Store().accels.find(table);
    if (it == Store().accels.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    int n = static_cast<int>(it->second.size());
    if (!entries) {
        return n;
    }
    n = std::min(n, count);
    std::copy_n(it->second.begin(), std::max(n, 0), entries);
    return std::max(n, 0);
}

namespace display_detail {
namespace {

bool AccelMatches(const ACCEL& a, const MSG& msg) {
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    if (a.fVirt & FVIRTKEY) {
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) {
            return false;
        }
        if (msg.wParam != a.key) {
            return false;
        }
        return shift == ((a.fVirt & FSHIFT) != 0) && ctrl == ((a.fVirt & FCONTROL) != 0) &&
               alt == ((a.fVirt & FALT) != 0);
    }
    if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR) {
        return false;
    }
    if (msg.wParam != a.key) {
        return false;
    }
    bool sysChar = msg.message == WM_SYSCHAR;
    return sysChar == ((a.fVirt & FALT) != 0);
}

} // namespace
} // namespace display_detail

int TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg) {
    if (!msg || !hwnd) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN && msg->message != WM_CHAR &&
        msg->message != WM_SYSCHAR) {
        return 0;
    }
    std::vector<ACCEL> entries;
    {
        MenuLock lock(Store().mutex);
        auto it = Store().accels.find(table);
        if (it == Store().accels.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        entries = it->second;
    }
    for (const ACCEL& a : entries) {
        if (!AccelMatches(a, *msg)) {
            continue;
        }
        // The command may be a menu item: the owner updates its menus as if the user opened them, and a
        // disabled item sends nothing.
        HMENU bar = GetMenu(hwnd);
        HMENU sys = nullptr;
        {
            MenuLock lock(Store().mutex);
            auto s = Store().systemMenus.find(hwnd);
            if (s != Store().systemMenus.end()) {
                sys = s->second;
            }
        }
        HMENU holder = nullptr;
        int pos = 0;
        bool inSys = false;
        bool found = bar && MenuFindCommand(bar, a.cmd, &holder, &pos);
        if (!found && sys && MenuFindCommand(sys, a.cmd, &holder, &pos)) {
            found = inSys = true;
        }
        if (found && !IsIconic(hwnd) && GetCapture() == nullptr) {
            HMENU root = inSys ? sys : bar;
            SendMessageW(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(root), 0);
            if (holder != root) {
                SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(holder),
                             MAKELPARAM(0, inSys ? 1 : 0));
            }
            UINT state = GetMenuState(holder, static_cast<UINT>(pos), MF_BYPOSITION);
            if (state != static_cast<UINT>(-1) && (state & MFS_GRAYED)) {
                return 1;
            }
        }
        if (inSys) {
            SendMessageW(hwnd, WM_SYSCOMMAND, a.cmd, 0);
        } else {
            SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        }
        return 1;
    }
    return 0;
}
