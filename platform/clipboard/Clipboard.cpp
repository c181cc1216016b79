#include "platform/clipboard/Clipboard.h"

#include "platform/base/CodePage.h"
#include "platform/base/WideRuntime.h"
#include "platform/display/MessageApi.h"
#include "platform/display/WindowApi.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace {

constexpr UINT kFirstRegisteredFormat = 0xC000;
constexpr UINT kLastRegisteredFormat = 0xFFFF;
constexpr size_t kMaxFormatNameLength = 255;
// The locale that goes with text whose setter gave none; its ANSI code page is Windows-1252.
constexpr LCID kTextLocale = 0x0409;

enum class DataKind { GlobalBlock, GdiObject, OwnerFreed };

DataKind KindOf(UINT format) {
    if (format == CF_BITMAP || format == CF_PALETTE || format == CF_DSPBITMAP || format == CF_ENHMETAFILE ||
        format == CF_DSPENHMETAFILE || (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST)) {
        return DataKind::GdiObject;
    }
    if (format == CF_OWNERDISPLAY || (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST)) {
        return DataKind::OwnerFreed;
    }
    return DataKind::GlobalBlock;
}

bool IsTextFormat(UINT format) {
    return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT;
}

struct Entry {
    UINT format;
    HANDLE data; // null: the owner renders it on request
};

struct Message {
    HWND hwnd;
    UINT message;
    bool post;
};

struct Store {
    std::mutex mutex;
    bool open = false;
    std::thread::id opener;
    HWND openWindow = nullptr;
    HWND owner = nullptr;
    std::vector<Entry> entries;     // in the order they were set
    std::vector<Entry> conversions; // text formats and the locale made on request
    bool changed = false;           // since the clipboard was opened
    DWORD sequence = 0;
    int rendering = 0; // WM_RENDERFORMAT / WM_RENDERALLFORMATS in progress
    std::vector<HWND> listeners;
    std::unordered_map<std::u16string, UINT> idsByFoldedName;
    std::vector<std::u16string> names; // by id - kFirstRegisteredFormat
    ClipboardMessageHook messageHook;
    ClipboardGdiObjectDeleter gdiDeleter;
    std::shared_ptr<ClipboardMirror> mirror; // the SDL display installs the desktop's
    std::optional<std::u16string> desktopText; // as last seen or published, desktop form
};

// Owners and listeners are windows of the window core: messages go to them through it, GDI-object formats are
// deleted by GDI, and a window the core destroys stops being owner and listener.
LRESULT DeliverToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool post) {
    if (post) {
        PostMessageW(hwnd, message, wParam, lParam);
        return 0;
    }
    return SendMessageW(hwnd, message, wParam, lParam);
}

void DeleteGdiFormat(UINT, HANDLE object) {
    DeleteObject(static_cast<HGDIOBJ>(object));
}

Store& TheStore() {
    // Outlives static destructors that may still use the clipboard. No window can be owner or listener before
    // the store exists, so that is when the core starts telling it of destroyed windows.
    static Store* store = [] {
        auto* made = new Store;
        made->messageHook = DeliverToWindow;
        made->gdiDeleter = DeleteGdiFormat;
        DisplayAddWindowDestroyHook(ClipboardWindowDestroyed);
        return made;
    }();
    return *store;
}

bool OpenedByThisThread(const Store& s) {
    return s.open && s.opener == std::this_thread::get_id();
}

Entry* Find(std::vector<Entry>& list, UINT format) {
    auto it = std::find_if(list.begin(), list.end(), [format](const Entry& e) { return e.format == format; });
    return it == list.end() ? nullptr : &*it;
}

void FreeData(Store& s, UINT format, HANDLE data) {
    if (!data) {
        return;
    }
    switch (KindOf(format)) {
    case DataKind::GlobalBlock:
        GlobalFree(data);
        break;
    case DataKind::GdiObject:
        if (s.gdiDeleter) {
            s.gdiDeleter(format, data);
        }
        break;
    case DataKind::OwnerFreed:
        break;
    }
}

// The same handle may have been set for two formats; it is freed once.
void FreeEntries(Store& s, std::vector<Entry>& list, std::vector<HANDLE>& freed) {
    for (const Entry& e : list) {
        if (e.data && std::find(freed.begin(), freed.end(), e.data) == freed.end()) {
            freed.push_back(e.data);
            FreeData(s, e.format, e.data);
        }
    }
    list.clear();
}

void FreeConversions(Store& s) {
    std::vector<HANDLE> freed;
    FreeEntries(s, s.conversions, freed);
}

void FreeAll(Store& s) {
    std::vector<HANDLE> freed;
    FreeEntries(s, s.entries, freed);
    FreeEntries(s, s.conversions, freed);
}

const Entry* TextSource(const Store& s) {
    for (const Entry& e : s.entries) {
        if (IsTextFormat(e.format)) {
            return &e;
        }
    }
    return nullptr;
}

std::vector<UINT> AvailableFormats(const Store& s) {
    std::vector<UINT> formats;
    for (const Entry& e : s.entries) {
        formats.push_back(e.format);
    }
    if (TextSource(s)) {
        for (UINT f : {UINT(CF_LOCALE), UINT(CF_UNICODETEXT), UINT(CF_TEXT), UINT(CF_OEMTEXT)}) {
            if (std::find(formats.begin(), formats.end(), f) == formats.end()) {
                formats.push_back(f);
            }
        }
    }
    return formats;
}

HGLOBAL BlockOf(const void* bytes, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) {
        return nullptr;
    }
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    return block;
}

HGLOBAL UnicodeBlock(const std::u16string& text) {
    return BlockOf(text.c_str(), (text.size() + 1) * sizeof(char16_t));
}

// Text up to the first terminator, never past the block's end.
std::u16string ReadText(UINT format, HANDLE data) {
    const void* p = GlobalLock(data);
    if (!p) {
        return {};
    }
    SIZE_T size = GlobalSize(data);
    std::u16string text;
    if (format == CF_UNICODETEXT) {
        const char16_t* units = static_cast<const char16_t*>(p);
        text.assign(units, wcsnlen(units, size / sizeof(char16_t)));
    } else {
        const char* bytes = static_cast<const char*>(p);
        text = Cp1252ToUtf16(std::string_view(bytes, strnlen(bytes, size)));
    }
    GlobalUnlock(data);
    return text;
}

HGLOBAL TextBlock(UINT format, const std::u16string& text) {
    if (format == CF_UNICODETEXT) {
        return UnicodeBlock(text);
    }
    std::string narrow = Utf16ToCp1252(text);
    return BlockOf(narrow.c_str(), narrow.size() + 1);
}

std::u16string ToDesktopLines(const std::u16string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) {
            out += text[i];
        }
    }
    return out;
}

std::u16string FromDesktopLines(const std::u16string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) {
            out += u'\r';
        }
        out += text[i];
    }
    return out;
}

void Deliver(const ClipboardMessageHook& hook, const std::vector<Message>& messages) {
    if (!hook) {
        return;
    }
    for (const Message& m : messages) {
        hook(m.hwnd, m.message, 0, 0, m.post);
    }
}

void Notify(Store& s, std::vector<Message>& out) {
    for (HWND l : s.listeners) {
        out.push_back({l, WM_CLIPBOARDUPDATE, true});
    }
}

// Asks the owner for a delayed format, with the store unlocked while it answers.
void Render(Store& s, std::unique_lock<std::mutex>& lock, UINT format) {
    if (!s.owner || !s.messageHook) {
        return;
    }
    HWND owner = s.owner;
    ClipboardMessageHook hook = s.messageHook;
    ++s.rendering;
    lock.unlock();
    hook(owner, WM_RENDERFORMAT, format, 0, false);
    lock.lock();
    --s.rendering;
}

HANDLE DataFor(Store& s, std::unique_lock<std::mutex>& lock, UINT format) {
    if (Entry* e = Find(s.entries, format)) {
        if (!e->data) {
            Render(s, lock, format);
            e = Find(s.entries, format);
        }
        if (e && e->data) {
            return e->data;
        }
        SetLastError(ERROR_NOT_FOUND);
        return nullptr;
    }
    if (Entry* c = Find(s.conversions, format)) {
        return c->data;
    }
    const Entry* source = TextSource(s);
    if (!source || (format != CF_LOCALE && !IsTextFormat(format))) {
        SetLastError(ERROR_NOT_FOUND);
        return nullptr;
    }
    HGLOBAL made = nullptr;
    if (format == CF_LOCALE) {
        LCID locale = kTextLocale;
        made = BlockOf(&locale, sizeof locale);
    } else {
        UINT sourceFormat = source->format;
        HANDLE sourceData = DataFor(s, lock, sourceFormat);
        if (!sourceData) {
            return nullptr;
        }
        made = TextBlock(format, ReadText(sourceFormat, sourceData));
    }
    if (made) {
        s.conversions.push_back({format, made});
    }
    return made;
}

// The store's text in the desktop's form, without asking the owner for anything.
std::u16string DesktopTextOfStore(const Store& s) {
    const Entry* source = TextSource(s);
    if (!source) {
        return {};
    }
    const Entry* unicode = nullptr;
    for (const Entry& e : s.entries) {
        if (e.format == CF_UNICODETEXT) {
            unicode = &e;
        }
    }
    const Entry* use = unicode && unicode->data ? unicode : source;
    return use->data ? ToDesktopLines(ReadText(use->format, use->data)) : std::u16string();
}

// Text another program put on the desktop clipboard replaces the store, unless the clipboard is open.
void TakeDesktopText() {
    Store& s = TheStore();
    std::shared_ptr<ClipboardMirror> mirror;
    {
        std::lock_guard lock(s.mutex);
        if (s.open) {
            return;
        }
        mirror = s.mirror;
    }
    if (!mirror) {
        return;
    }
    std::optional<std::u16string> text = mirror->Fetch();
    std::vector<Message> messages;
    ClipboardMessageHook hook;
    {
        std::lock_guard lock(s.mutex);
        if (s.open || s.mirror != mirror || !text || text == s.desktopText) {
            return;
        }
        s.desktopText = text;
        if (text->empty()) {
            return; // a desktop clipboard without text leaves the store alone
        }
        if (s.owner) {
            messages.push_back({s.owner, WM_DESTROYCLIPBOARD, false});
        }
        FreeAll(s);
        s.owner = nullptr;
        if (HGLOBAL block = UnicodeBlock(FromDesktopLines(*text))) {
            s.entries.push_back({CF_UNICODETEXT, block});
        }
        ++s.sequence;
        Notify(s, messages);
        hook = s.messageHook;
    }
    Deliver(hook, messages);
}

bool CheckOpen(const Store& s) {
    if (!OpenedByThisThread(s)) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return false;
    }
    return true;
}

std::u16string FoldedName(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded) {
        c = towupper(c);
    }
    return folded;
}

} // namespace

BOOL OpenClipboard(HWND newOwner) {
    Store& s = TheStore();
    {
        std::lock_guard lock(s.mutex);
        if (s.open && s.opener != std::this_thread::get_id()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (s.open) {
            s.openWindow = newOwner;
            return TRUE;
        }
    }
    TakeDesktopText();
    std::lock_guard lock(s.mutex);
    if (s.open) { // another thread was quicker
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    s.open = true;
    s.opener = std::this_thread::get_id();
    s.openWindow = newOwner;
    s.changed = false;
    return TRUE;
}

BOOL CloseClipboard() {
    Store& s = TheStore();
    std::shared_ptr<ClipboardMirror> mirror;
    std::u16string text;
    std::vector<Message> messages;
    ClipboardMessageHook hook;
    {
        std::lock_guard lock(s.mutex);
        if (!CheckOpen(s)) {
            return FALSE;
        }
        s.open = false;
        s.opener = {};
        s.openWindow = nullptr;
        if (!s.changed) {
            return TRUE;
        }
        s.changed = false;
        text = DesktopTextOfStore(s);
        s.desktopText = text;
        mirror = s.mirror;
        Notify(s, messages);
        hook = s.messageHook;
    }
    if (mirror) {
        mirror->Publish(text);
    }
    Deliver(hook, messages);
    return TRUE;
}

BOOL EmptyClipboard() {
    Store& s = TheStore();
    std::vector<Message> messages;
    ClipboardMessageHook hook;
    {
        std::lock_guard lock(s.mutex);
        if (!CheckOpen(s)) {
            return FALSE;
        }
        if (s.owner) {
            messages.push_back({s.owner, WM_DESTROYCLIPBOARD, false});
        }
        FreeAll(s);
        s.owner = s.openWindow;
        s.changed = true;
        ++s.sequence;
        hook = s.messageHook;
    }
    Deliver(hook, messages);
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE mem) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    if (!OpenedByThisThread(s) && s.rendering == 0) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    if (format == 0 || (!mem && !s.owner)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (mem && KindOf(format) == DataKind::GlobalBlock && GlobalFlags(mem) == GMEM_INVALID_HANDLE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (Entry* e = Find(s.entries, format)) {
        if (e->data != mem) {
            FreeData(s, format, e->data);
        }
        e->data = mem;
    } else {
        s.entries.push_back({format, mem});
    }
    if (IsTextFormat(format) || format == CF_LOCALE) {
        FreeConversions(s); // made from the text as it was
    }
    s.changed = true;
    ++s.sequence;
    if (!mem) {
        SetLastError(NO_ERROR);
    }
    return mem;
}

HANDLE GetClipboardData(UINT format) {
    Store& s = TheStore();
    std::unique_lock lock(s.mutex);
    if (!CheckOpen(s)) {
        return nullptr;
    }
    return DataFor(s, lock, format);
}

BOOL IsClipboardFormatAvailable(UINT format) {
    TakeDesktopText();
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    std::vector<UINT> formats = AvailableFormats(s);
    return std::find(formats.begin(), formats.end(), format) != formats.end() ? TRUE : FALSE;
}

int CountClipboardFormats() {
    TakeDesktopText();
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    return static_cast<int>(AvailableFormats(s).size());
}

UINT EnumClipboardFormats(UINT format) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    if (!CheckOpen(s)) {
        return 0;
    }
    std::vector<UINT> formats = AvailableFormats(s);
    SetLastError(NO_ERROR);
    if (format == 0) {
        return formats.empty() ? 0 : formats.front();
    }
    auto it = std::find(formats.begin(), formats.end(), format);
    if (it == formats.end() || ++it == formats.end()) {
        return 0;
    }
    return *it;
}

int GetPriorityClipboardFormat(UINT* formats, int count) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    std::vector<UINT> available = AvailableFormats(s);
    if (available.empty()) {
        return 0;
    }
    for (int i = 0; formats && i < count; ++i) {
        if (std::find(available.begin(), available.end(), formats[i]) != available.end()) {
            return static_cast<int>(formats[i]);
        }
    }
    return -1;
}

UINT RegisterClipboardFormatW(LPCWSTR name) {
    if (!name || !*name || wcslen(name) > kMaxFormatNameLength) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    std::u16string folded = FoldedName(name);
    auto it = s.idsByFoldedName.find(folded);
    if (it != s.idsByFoldedName.end()) {
        return it->second;
    }
    UINT id = kFirstRegisteredFormat + static_cast<UINT>(s.names.size());
    if (id > kLastRegisteredFormat) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    s.names.emplace_back(name);
    s.idsByFoldedName.emplace(std::move(folded), id);
    return id;
}

UINT RegisterClipboardFormatA(LPCSTR name) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return RegisterClipboardFormatW(Cp1252ToUtf16(name).c_str());
}

int GetClipboardFormatNameW(UINT format, LPWSTR name, int maxCount) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    if (!name || maxCount <= 0 || format < kFirstRegisteredFormat ||
        format - kFirstRegisteredFormat >= s.names.size()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::u16string& text = s.names[format - kFirstRegisteredFormat];
    size_t n = std::min(text.size(), static_cast<size_t>(maxCount - 1));
    std::copy_n(text.begin(), n, name);
    name[n] = 0;
    return static_cast<int>(n);
}

HWND GetClipboardOwner() {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    return s.owner;
}

HWND GetOpenClipboardWindow() {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    return s.open ? s.openWindow : nullptr;
}

DWORD GetClipboardSequenceNumber() {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    return s.sequence;
}

BOOL AddClipboardFormatListener(HWND hwnd) {
    if (!hwnd) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    if (std::find(s.listeners.begin(), s.listeners.end(), hwnd) == s.listeners.end()) {
        s.listeners.push_back(hwnd);
    }
    return TRUE;
}

BOOL RemoveClipboardFormatListener(HWND hwnd) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    auto it = std::find(s.listeners.begin(), s.listeners.end(), hwnd);
    if (it == s.listeners.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    s.listeners.erase(it);
    return TRUE;
}

void ClipboardWindowDestroyed(HWND hwnd) {
    if (!hwnd) {
        return;
    }
    Store& s = TheStore();
    std::unique_lock lock(s.mutex);
    std::erase(s.listeners, hwnd);
    if (s.open && s.openWindow == hwnd) {
        s.openWindow = nullptr;
    }
    if (s.owner != hwnd) {
        return;
    }
    bool delayed = std::any_of(s.entries.begin(), s.entries.end(), [](const Entry& e) { return !e.data; });
    if (delayed && s.messageHook) {
        ClipboardMessageHook hook = s.messageHook;
        ++s.rendering;
        lock.unlock();
        hook(hwnd, WM_RENDERALLFORMATS, 0, 0, false);
        lock.lock();
        --s.rendering;
    }
    std::erase_if(s.entries, [](const Entry& e) { return !e.data; });
    if (s.owner == hwnd) {
        s.owner = nullptr;
    }
}

ClipboardMessageHook ClipboardSetMessageHook(ClipboardMessageHook hook) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    std::swap(s.messageHook, hook);
    return hook;
}

ClipboardGdiObjectDeleter ClipboardSetGdiObjectDeleter(ClipboardGdiObjectDeleter deleter) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    std::swap(s.gdiDeleter, deleter);
    return deleter;
}

std::shared_ptr<ClipboardMirror> ClipboardSetMirror(std::shared_ptr<ClipboardMirror> mirror) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    std::swap(s.mirror, mirror);
    s.desktopText.reset();
    return mirror;
}
