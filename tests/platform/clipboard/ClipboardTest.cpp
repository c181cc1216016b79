// The clipboard store: formats, ownership of the blocks, text conversions, delayed rendering, the messages to
// windows and the desktop mirror, all through an in-memory mirror and a recording message hook.
#include "platform/clipboard/Clipboard.h"
#include "platform/display/User.h"
#include "platform/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

HWND FakeWindow(uintptr_t n) {
    return reinterpret_cast<HWND>(0x10000 + n * 16);
}

HGLOBAL Block(const void* bytes, size_t size) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    std::memcpy(GlobalLock(h), bytes, size);
    GlobalUnlock(h);
    return h;
}

HGLOBAL WideBlock(const std::u16string& text) {
    return Block(text.c_str(), (text.size() + 1) * sizeof(char16_t));
}

HGLOBAL NarrowBlock(const std::string& bytes) {
    return Block(bytes.c_str(), bytes.size() + 1);
}

std::vector<BYTE> Bytes(HANDLE h) {
    if (!h) {
        return {};
    }
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(h));
    std::vector<BYTE> bytes(p, p + GlobalSize(h));
    GlobalUnlock(h);
    return bytes;
}

std::u16string WideText(HANDLE h) {
    std::vector<BYTE> b = Bytes(h);
    std::u16string text(b.size() / 2, u'\0');
    std::memcpy(text.data(), b.data(), text.size() * 2);
    return text.substr(0, text.find(u'\0'));
}

std::string NarrowText(HANDLE h) {
    std::vector<BYTE> b = Bytes(h);
    std::string text(b.begin(), b.end());
    return text.substr(0, text.find('\0'));
}

bool IsLiveBlock(HGLOBAL h) {
    return GlobalFlags(h) != GMEM_INVALID_HANDLE;
}

struct Sent {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    bool post;
    bool operator==(const Sent&) const = default;
};

class ClipboardTest : public ::testing::Test {
protected:
    ClipboardTest() {
        m_windowCoreHook = ClipboardSetMessageHook({});
        m_gdiDeleter = ClipboardSetGdiObjectDeleter({});
        ClipboardSetMirror(mirror);
        // Whatever an earlier test left behind goes, with no one told.
        if (!OpenClipboard(nullptr) || !EmptyClipboard() || !CloseClipboard()) {
            ADD_FAILURE() << "cannot reset the clipboard";
        }
        for (uintptr_t n = 1; n <= 4; ++n) {
            ClipboardWindowDestroyed(FakeWindow(n));
        }
        ClipboardSetMessageHook([this](HWND hwnd, UINT message, WPARAM wParam, LPARAM, bool post) -> LRESULT {
            sent.push_back({hwnd, message, wParam, post});
            if (onMessage) {
                onMessage(hwnd, message, wParam);
            }
            return 0;
        });
    }
    ~ClipboardTest() override {
        ClipboardSetMessageHook(m_windowCoreHook);
        ClipboardSetGdiObjectDeleter(m_gdiDeleter);
        ClipboardSetMirror(std::make_shared<MemoryClipboardMirror>());
    }

    std::shared_ptr<MemoryClipboardMirror> mirror = std::make_shared<MemoryClipboardMirror>();
    std::vector<Sent> sent;
    ClipboardMessageHook m_windowCoreHook;
    ClipboardGdiObjectDeleter m_gdiDeleter;
    std::function<void(HWND, UINT, WPARAM)> onMessage;
};

TEST_F(ClipboardTest, RegisteredFormatsShareIdsByNameWithoutCaseAndKeepTheirSpelling) {
    UINT styles = RegisterClipboardFormatW(u"Grid Styles 00400000");
    UINT direct = RegisterClipboardFormatW(u"GX_DIRECTCOPY");
    EXPECT_GE(styles, 0xC000u);
    EXPECT_GE(direct, 0xC000u);
    EXPECT_NE(styles, direct);
    EXPECT_EQ(RegisterClipboardFormatW(u"grid styles 00400000"), styles);
    EXPECT_EQ(RegisterClipboardFormatA("gx_directcopy"), direct);

    WCHAR name[64];
    EXPECT_EQ(GetClipboardFormatNameW(styles, name, 64), 20);
    EXPECT_EQ(std::u16string(name), u"Grid Styles 00400000");
    EXPECT_EQ(GetClipboardFormatNameW(styles, name, 5), 4); // truncated, still terminated
    EXPECT_EQ(std::u16string(name), u"Grid");

    SetLastError(0);
    EXPECT_EQ(GetClipboardFormatNameW(CF_TEXT, name, 64), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(RegisterClipboardFormatW(u""), 0u);
    EXPECT_EQ(RegisterClipboardFormatW(std::u16string(256, u'x').c_str()), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ClipboardTest, CallsThatNeedTheClipboardOpenFailWithoutIt) {
    HGLOBAL h = WideBlock(u"x");
    struct Case {
        const char* call;
        bool ok;
    };
    const Case cases[] = {
        {"SetClipboardData", SetClipboardData(CF_UNICODETEXT, h) != nullptr},
        {"GetClipboardData", GetClipboardData(CF_UNICODETEXT) != nullptr},
        {"EmptyClipboard", EmptyClipboard() != FALSE},
        {"EnumClipboardFormats", EnumClipboardFormats(0) != 0},
        {"CloseClipboard", CloseClipboard() != FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(c.ok) << c.call;
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    EXPECT_TRUE(IsLiveBlock(h)); // a refused block stays the caller's
    GlobalFree(h);
}

TEST_F(ClipboardTest, AnotherThreadHoldingTheClipboardOpenKeepsOthersOut) {
    HWND other = FakeWindow(1);
    std::thread([&] { ASSERT_TRUE(OpenClipboard(other)); }).join();
    EXPECT_EQ(GetOpenClipboardWindow(), other);
    EXPECT_FALSE(OpenClipboard(FakeWindow(2)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    std::thread([&] { ASSERT_TRUE(CloseClipboard()); }).join();

    // The thread that has it open may open it again, for another window.
    ASSERT_TRUE(OpenClipboard(FakeWindow(2)));
    EXPECT_TRUE(OpenClipboard(FakeWindow(3)));
    EXPECT_EQ(GetOpenClipboardWindow(), FakeWindow(3));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
}

TEST_F(ClipboardTest, TheClipboardOwnsWhatIsSetAndFreesItWhenReplacedOrEmptied) {
    HWND a = FakeWindow(1);
    UINT styles = RegisterClipboardFormatW(u"Grid Styles 00400000");
    HGLOBAL text = WideBlock(u"cell");
    HGLOBAL first = NarrowBlock("styles 1");
    HGLOBAL second = NarrowBlock("styles 2");
    HGLOBAL privateData = NarrowBlock("private");
    HANDLE bitmap = reinterpret_cast<HANDLE>(0x4242);
    std::vector<std::pair<UINT, HANDLE>> deleted;
    ClipboardSetGdiObjectDeleter([&](UINT f, HANDLE h) { deleted.emplace_back(f, h); });

    ASSERT_TRUE(OpenClipboard(a));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), a);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, text), text);
    EXPECT_EQ(SetClipboardData(styles, first), first);
    EXPECT_EQ(SetClipboardData(styles, second), second);
    EXPECT_FALSE(IsLiveBlock(first)); // replaced
    EXPECT_EQ(SetClipboardData(CF_PRIVATEFIRST, privateData), privateData);
    EXPECT_EQ(SetClipboardData(CF_BITMAP, bitmap), bitmap);
    EXPECT_EQ(SetClipboardData(CF_DIB, reinterpret_cast<HANDLE>(0x999)), nullptr); // not a block
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    ASSERT_TRUE(CloseClipboard());

    EXPECT_TRUE(IsClipboardFormatAvailable(styles));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(GetClipboardData(styles), second);
    EXPECT_EQ(NarrowText(GetClipboardData(styles)), "styles 2");
    EXPECT_EQ(WideText(GetClipboardData(CF_UNICODETEXT)), u"cell");
    EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_FOUND));

    sent.clear();
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(sent, (std::vector<Sent>{{a, WM_DESTROYCLIPBOARD, 0, false}}));
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    EXPECT_FALSE(IsLiveBlock(text));
    EXPECT_FALSE(IsLiveBlock(second));
    EXPECT_TRUE(IsLiveBlock(privateData)); // its owner frees it on WM_DESTROYCLIPBOARD
    EXPECT_EQ(deleted, (std::vector<std::pair<UINT, HANDLE>>{{CF_BITMAP, bitmap}}));
    EXPECT_EQ(CountClipboardFormats(), 0);
    ASSERT_TRUE(CloseClipboard());
    GlobalFree(privateData);
}

TEST_F(ClipboardTest, TextFormatsAreMadeFromWhicheverWasSetFirst) {
    struct Case {
        UINT setFormat;
        HGLOBAL data;
        std::u16string unicode;
        std::string ansi;
        std::vector<UINT> order;
    };
    const Case cases[] = {
        {CF_UNICODETEXT,
         WideBlock(u"Gr\u00fc\u00dfe \u20ac1 \u0416"),
         u"Gr\u00fc\u00dfe \u20ac1 \u0416",
         "Gr\xfc\xdf"
         "e \x80"
         "1 ?",
         {CF_UNICODETEXT, CF_LOCALE, CF_TEXT, CF_OEMTEXT}},
        {CF_TEXT,
         NarrowBlock("caf\xe9 \x80"),
         u"caf\u00e9 \u20ac",
         "caf\xe9 \x80",
         {CF_TEXT, CF_LOCALE, CF_UNICODETEXT, CF_OEMTEXT}},
        // No terminator: the text ends with the block.
        {CF_TEXT, Block("abc", 3), u"abc", "abc", {CF_TEXT, CF_LOCALE, CF_UNICODETEXT, CF_OEMTEXT}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ansi);
        ASSERT_TRUE(OpenClipboard(nullptr));
        ASSERT_TRUE(EmptyClipboard());
        ASSERT_TRUE(SetClipboardData(c.setFormat, c.data));
        EXPECT_EQ(CountClipboardFormats(), 4);
        std::vector<UINT> order;
        for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
            order.push_back(f);
        }
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
        EXPECT_EQ(order, c.order);
        EXPECT_EQ(WideText(GetClipboardData(CF_UNICODETEXT)), c.unicode);
        EXPECT_EQ(NarrowText(GetClipboardData(CF_TEXT)), c.ansi);
        EXPECT_EQ(NarrowText(GetClipboardData(CF_OEMTEXT)), c.ansi);
        std::vector<BYTE> locale = Bytes(GetClipboardData(CF_LOCALE));
        ASSERT_EQ(locale.size(), 4u);
        EXPECT_EQ(locale[0] | locale[1] << 8, 0x0409);
        ASSERT_TRUE(CloseClipboard());
    }

    // Setting the text again drops the conversions made from the old one.
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE oldAnsi = GetClipboardData(CF_UNICODETEXT);
    ASSERT_TRUE(SetClipboardData(CF_TEXT, NarrowBlock("new")));
    EXPECT_FALSE(IsLiveBlock(oldAnsi));
    EXPECT_EQ(WideText(GetClipboardData(CF_UNICODETEXT)), u"new");
    UINT priority[] = {CF_DIB, CF_OEMTEXT, CF_TEXT};
    EXPECT_EQ(GetPriorityClipboardFormat(priority, 3), CF_OEMTEXT);
    EXPECT_EQ(GetPriorityClipboardFormat(priority, 1), -1);
    ASSERT_TRUE(CloseClipboard());
}

TEST_F(ClipboardTest, DelayedFormatsAreRenderedByTheOwnerOnRequest) {
    HWND owner = FakeWindow(1);
    onMessage = [](HWND, UINT message, WPARAM format) {
        if (message == WM_RENDERFORMAT) {
            // The owner, on its own thread, sets the data without opening the clipboard.
            std::thread([format] {
                EXPECT_TRUE(SetClipboardData(static_cast<UINT>(format), WideBlock(u"late \u20ac")));
            }).join();
        }
    };
    ASSERT_TRUE(OpenClipboard(owner));
    ASSERT_TRUE(EmptyClipboard());
    SetLastError(5);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    ASSERT_TRUE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));

    sent.clear();
    ASSERT_TRUE(OpenClipboard(FakeWindow(2)));
    EXPECT_EQ(NarrowText(GetClipboardData(CF_TEXT)), "late \x80");
    EXPECT_EQ(sent, (std::vector<Sent>{{owner, WM_RENDERFORMAT, CF_UNICODETEXT, false}}));
    EXPECT_EQ(WideText(GetClipboardData(CF_UNICODETEXT)), u"late \u20ac"); // rendered once
    EXPECT_EQ(sent.size(), 1u);
    ASSERT_TRUE(CloseClipboard());

    // Without an owner window there is no one to ask.
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    ASSERT_TRUE(CloseClipboard());
}

TEST_F(ClipboardTest, ADestroyedOwnerRendersWhatItCanAndTheRestIsDropped) {
    HWND owner = FakeWindow(1);
    UINT styles = RegisterClipboardFormatW(u"GX_DIRECTCOPY");
    onMessage = [&](HWND hwnd, UINT message, WPARAM) {
        if (message == WM_RENDERALLFORMATS) {
            ASSERT_TRUE(OpenClipboard(hwnd));
            EXPECT_TRUE(SetClipboardData(CF_UNICODETEXT, WideBlock(u"kept")));
            ASSERT_TRUE(CloseClipboard());
        }
    };
    ASSERT_TRUE(OpenClipboard(owner));
    ASSERT_TRUE(EmptyClipboard());
    SetClipboardData(CF_UNICODETEXT, nullptr);
    SetClipboardData(styles, nullptr);
    ASSERT_TRUE(CloseClipboard());

    ClipboardWindowDestroyed(owner);
    EXPECT_EQ(sent.front(), (Sent{owner, WM_RENDERALLFORMATS, 0, false}));
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    EXPECT_FALSE(IsClipboardFormatAvailable(styles));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(WideText(GetClipboardData(CF_UNICODETEXT)), u"kept");
    ASSERT_TRUE(CloseClipboard());
}

TEST_F(ClipboardTest, TextIsPublishedToTheDesktopAndListenersHearOfChanges) {
    HWND listener = FakeWindow(4);
    ASSERT_TRUE(AddClipboardFormatListener(listener));
    DWORD before = GetClipboardSequenceNumber();
    int published = mirror->PublishCount();

    ASSERT_TRUE(OpenClipboard(FakeWindow(1)));
    ASSERT_TRUE(CloseClipboard()); // nothing changed: nothing published or posted
    EXPECT_EQ(mirror->PublishCount(), published);
    EXPECT_TRUE(sent.empty());

    ASSERT_TRUE(OpenClipboard(FakeWindow(1)));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_TRUE(SetClipboardData(CF_TEXT, NarrowBlock("row 1\r\nrow 2\xe9\r\n")));
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(mirror->DesktopText(), u"row 1\nrow 2\u00e9\n");
    EXPECT_GT(GetClipboardSequenceNumber(), before);
    EXPECT_EQ(sent, (std::vector<Sent>{{listener, WM_CLIPBOARDUPDATE, 0, true}}));

    // Private formats alone leave the desktop without text.
    ASSERT_TRUE(OpenClipboard(FakeWindow(1)));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_TRUE(SetClipboardData(RegisterClipboardFormatW(u"GX_MASKDATA"), NarrowBlock("m")));
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(mirror->DesktopText(), u"");
    EXPECT_TRUE(RemoveClipboardFormatListener(listener));
    EXPECT_FALSE(RemoveClipboardFormatListener(listener));
}

TEST_F(ClipboardTest, TextAnotherProgramCopiedReplacesTheStore) {
    HWND owner = FakeWindow(1);
    ASSERT_TRUE(OpenClipboard(owner));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL mine = WideBlock(u"mine");
    ASSERT_TRUE(SetClipboardData(CF_UNICODETEXT, mine));
    ASSERT_TRUE(CloseClipboard());
    EXPECT_TRUE(
        IsClipboardFormatAvailable(CF_UNICODETEXT)); // our own text back from the desktop changes nothing
    EXPECT_EQ(GetClipboardOwner(), owner);

    mirror->SetDesktopText(u"a\nb");
    sent.clear();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    EXPECT_FALSE(IsLiveBlock(mine));
    EXPECT_EQ(sent, (std::vector<Sent>{{owner, WM_DESTROYCLIPBOARD, 0, false}}));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(WideText(GetClipboardData(CF_UNICODETEXT)), u"a\r\nb");
    ASSERT_TRUE(CloseClipboard());

    // An empty desktop clipboard is no news.
    mirror->SetDesktopText(u"");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

} // namespace

// The same protocol with real windows and the hooks the clipboard installs itself: the window core carries
// the messages, destroying the owner renders what it still owes, and GDI deletes a replaced bitmap.
namespace windows {

UINT g_lateFormat = 0;
std::vector<UINT> g_received;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_RENDERFORMAT:
        g_received.push_back(message);
        SetClipboardData(static_cast<UINT>(wParam), WideBlock(u"rendered"));
        return 0;
    case WM_RENDERALLFORMATS:
        g_received.push_back(message);
        if (OpenClipboard(hwnd)) {
            SetClipboardData(g_lateFormat, NarrowBlock("late"));
            CloseClipboard();
        }
        return 0;
    case WM_DESTROYCLIPBOARD:
        g_received.push_back(message);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HWND MakeOwner() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = u"ClipboardOwnerTest";
    RegisterClassW(&wc);
    return CreateWindowExW(0, u"ClipboardOwnerTest", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           nullptr);
}

} // namespace windows

TEST_F(ClipboardTest, RealWindowsGetTheirMessagesThroughTheWindowCore) {
    ClipboardSetMessageHook(m_windowCoreHook);
    ClipboardSetGdiObjectDeleter(m_gdiDeleter);
    windows::g_received.clear();
    windows::g_lateFormat = RegisterClipboardFormatW(u"Doliva late format");
    HWND owner = windows::MakeOwner();
    ASSERT_TRUE(owner);

    ASSERT_TRUE(OpenClipboard(owner));
    ASSERT_TRUE(EmptyClipboard());
    SetClipboardData(CF_UNICODETEXT, nullptr);
    SetClipboardData(windows::g_lateFormat, nullptr);
    ASSERT_TRUE(CloseClipboard());

    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(WideText(GetClipboardData(CF_UNICODETEXT)), u"rendered");
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(windows::g_received, std::vector<UINT>{WM_RENDERFORMAT});

    ASSERT_TRUE(DestroyWindow(owner));
    EXPECT_EQ(windows::g_received, (std::vector<UINT>{WM_RENDERFORMAT, WM_RENDERALLFORMATS}));
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(NarrowText(GetClipboardData(windows::g_lateFormat)), "late");

    // A bitmap on the clipboard belongs to it: emptying deletes it.
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    ASSERT_TRUE(SetClipboardData(CF_BITMAP, bitmap));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_TRUE(CloseClipboard());
    BITMAP info{};
    EXPECT_EQ(GetObjectW(bitmap, sizeof info, &info), 0);
}
