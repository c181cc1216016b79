#include "ResTestSupport.h"
#include "TestResourceIds.h"

#include "platform/base/CString.h"
#include "platform/controls/ControlConstants.h"
#include "platform/dialog/Dialog.h"
#include "platform/display/InputApi.h"
#include "platform/display/SystemColors.h"
#include "platform/display/WindowConstants.h"
#include "platform/framework/AfxRes.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/UserDraw.h"
#include "platform/resources/ResourceTemplates.h"
#include "platform/resources/Resources.h"
#include "platform/sound/RecordingSoundSink.h"
#include "platform/sound/Sound.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<BYTE> Bytes(LPCWSTR name, LPCWSTR type) {
    size_t size = 0;
    const BYTE* data = DolivaResourceBytes(nullptr, name, type, &size);
    return data ? std::vector<BYTE>(data, data + size) : std::vector<BYTE>();
}

TEST(MenuTemplate, ParsesPopupsItemsFlagsAndTexts) {
    std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(IDR_MAINFRAME), RT_MENU);
    ParsedMenu menu;
    ASSERT_TRUE(ParseMenuTemplate(bytes.data(), bytes.size(), menu));
    ASSERT_EQ(menu.items.size(), 2u);
    const ParsedMenuItem& file = menu.items[0];
    EXPECT_TRUE(file.IsPopup());
    EXPECT_EQ(file.text, u"&File");
    ASSERT_EQ(file.popup.size(), 3u);
    EXPECT_EQ(file.popup[0].id, ID_FILE_OPEN);
    EXPECT_EQ(file.popup[0].text, u"&Open...\tCtrl+O");
    EXPECT_TRUE(file.popup[1].IsSeparator());
    EXPECT_EQ(file.popup[2].text, u"E&xit");
    // The end marks are taken off; the state flags stay as written.
    EXPECT_EQ(file.popup[2].flags, 0);
    EXPECT_EQ(menu.items[1].flags, kMenuFlagPopup);
    const ParsedMenuItem* grid = menu.FindCommand(ID_VIEW_GRID);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->flags, 0x0008);                            // MF_CHECKED
    EXPECT_EQ(menu.FindCommand(ID_VIEW_CHART)->flags, 0x0001); // MF_GRAYED
    EXPECT_EQ(menu.FindCommand(0), nullptr);
}

TEST(MenuTemplate, RefusesTruncationMissingEndsAndDeepNesting) {
    std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(IDR_MAINFRAME), RT_MENU);
    ParsedMenu menu;
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_FALSE(ParseMenuTemplate(bytes.data(), cut, menu)) << cut;
        EXPECT_TRUE(menu.items.empty());
    }
    // Pop-ups opening forever.
    std::vector<BYTE> deep{0, 0, 0, 0};
    for (int i = 0; i < 200; ++i) {
        deep.insert(deep.end(), {0x10, 0, 'a', 0, 0, 0});
    }
    SetLastError(0);
    EXPECT_FALSE(ParseMenuTemplate(deep.data(), deep.size(), menu));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    std::vector<BYTE> extended{1, 0, 4, 0, 0, 0, 0, 0};
    EXPECT_FALSE(ParseMenuTemplate(extended.data(), extended.size(), menu));
}

TEST(Accelerators, ParsesKeysModifiersAndCommands) {
    std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(IDR_MAINFRAME), RT_ACCELERATOR);
    std::vector<AcceleratorEntry> table;
    ASSERT_TRUE(ParseAcceleratorTable(bytes.data(), bytes.size(), table));
    ASSERT_EQ(table.size(), 4u);
    struct Expected {
        BYTE fVirt;
        WORD key;
        WORD cmd;
    } expected[] = {
        {0x01 | 0x02 | 0x08, 'O', ID_FILE_OPEN}, // FVIRTKEY | FNOINVERT | FCONTROL
        {0x01, VK_F5, ID_VIEW_GRID},
        {0x00, 'g', ID_VIEW_CHART},
        {0x01 | 0x04 | 0x10, VK_F4, ID_FILE_EXIT}, // FVIRTKEY | FSHIFT | FALT
    };
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].fVirt, expected[i].fVirt) << i;
        EXPECT_EQ(table[i].key, expected[i].key) << i;
        EXPECT_EQ(table[i].cmd, expected[i].cmd) << i;
    }
    // Without the last-entry mark the table runs off its end.
    std::vector<BYTE> unterminated(bytes.begin(), bytes.end());
    unterminated[unterminated.size() - 8] &= 0x7F;
    EXPECT_FALSE(ParseAcceleratorTable(unterminated.data(), unterminated.size(), table));
    EXPECT_TRUE(table.empty());
}

TEST(DialogTemplate, ParsesTheExtendedTemplateAndItsControls) {
    std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(IDD_SETUP), RT_DIALOG);
    ParsedDialog dialog;
    ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), dialog));
    EXPECT_TRUE(dialog.extended);
    EXPECT_EQ(dialog.style, DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(dialog.exStyle, static_cast<DWORD>(WS_EX_CONTEXTHELP));
    EXPECT_EQ(dialog.x, 10);
    EXPECT_EQ(dialog.y, 20);
    EXPECT_EQ(dialog.cx, 200);
    EXPECT_EQ(dialog.cy, 120);
    EXPECT_TRUE(dialog.menu.isOrdinal);
    EXPECT_EQ(dialog.menu.ordinal, 0);
    EXPECT_EQ(dialog.windowClass.text, u"DolivaDialog");
    EXPECT_EQ(dialog.caption, u"Timing Setup");
    EXPECT_TRUE(dialog.hasFont);
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.weight, 400);
    EXPECT_TRUE(dialog.italic);
    EXPECT_EQ(dialog.typeface, u"MS Sans Serif");
    ASSERT_EQ(dialog.items.size(), 8u);

    // The script named these constants through the same headers as this test: what llvm-rc compiled is what
    // C++ means by them.
    struct Expected {
        DWORD id;
        std::u16string className;
        std::u16string title;
        DWORD style;
        DWORD exStyle;
    } expected[] = {
        {IDOK, u"Button", u"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
        {IDCANCEL, u"Button", u"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0},
        {static_cast<DWORD>(IDC_STATIC), u"Static", u"Name:", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 0},
        {IDC_NAME_EDIT, u"Edit", u"",
         WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, 0},
        {IDC_MODE_COMBO, u"ComboBox", u"",
         WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 0},
        {IDC_GRID, u"CSatEnableGridWnd", u"SATSENABLEGRID", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
         WS_EX_CLIENTEDGE},
        {IDC_PLOT, u"Static", u"", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME | SS_NOTIFY, 0},
        {1200, u"msctls_updown32", u"",
         WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0},
    };
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const DialogItem& item = dialog.items[i];
        EXPECT_EQ(item.id, expected[i].id) << i;
        EXPECT_EQ(item.ClassName(), expected[i].className) << i;
        EXPECT_FALSE(item.title.isOrdinal) << i;
        EXPECT_EQ(item.title.text, expected[i].title) << i;
        EXPECT_EQ(item.style, expected[i].style) << i;
        EXPECT_EQ(item.exStyle, expected[i].exStyle) << i;
        EXPECT_TRUE(item.creationData.empty()) << i;
    }
    EXPECT_TRUE(dialog.items[0].windowClass.isOrdinal);
    EXPECT_EQ(dialog.items[0].windowClass.ordinal, kDialogClassButton);
    EXPECT_EQ(dialog.items[5].x, 10);
    EXPECT_EQ(dialog.items[5].y, 50);
    EXPECT_EQ(dialog.items[5].cx, 120);
    EXPECT_EQ(dialog.items[5].cy, 40);
}

TEST(DialogTemplate, ParsesTheClassicTemplate) {
    std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(IDD_CLASSIC), RT_DIALOG);
    ParsedDialog dialog;
    ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), dialog));
    EXPECT_FALSE(dialog.extended);
    EXPECT_EQ(dialog.caption, u"Classic");
    EXPECT_FALSE(dialog.hasFont);
    ASSERT_EQ(dialog.items.size(), 3u);
    EXPECT_EQ(dialog.items[0].windowClass.ordinal, kDialogClassButton);
    EXPECT_EQ(dialog.items[0].style & 0xF, static_cast<DWORD>(BS_AUTOCHECKBOX));
    EXPECT_EQ(dialog.items[1].ClassName(), u"ScrollBar");
    EXPECT_EQ(dialog.items[2].ClassName(), u"ListBox");
    EXPECT_EQ(dialog.items[2].style & LBS_STANDARD, static_cast<DWORD>(LBS_STANDARD));
    EXPECT_EQ(dialog.items[2].id, 1302u);
}

TEST(DialogTemplate, RefusesTruncationAndLyingCounts) {
    for (WORD id : {WORD{IDD_SETUP}, WORD{IDD_CLASSIC}}) {
        std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(id), RT_DIALOG);
        ParsedDialog dialog;
        for (size_t cut = 0; cut + 2 < bytes.size(); ++cut) {
            std::vector<BYTE> prefix(bytes.begin(), bytes.begin() + static_cast<long>(cut));
            EXPECT_FALSE(ParseDialogTemplate(prefix.data(), prefix.size(), dialog)) << id << " " << cut;
        }
        // The item count sits after the styles (and, extended, the version and help id).
        std::vector<BYTE> lying = bytes;
        size_t countOffset = id == IDD_SETUP ? 16 : 8;
        lying[countOffset] = 0xFF;
        lying[countOffset + 1] = 0xFF;
        SetLastError(0);
        EXPECT_FALSE(ParseDialogTemplate(lying.data(), lying.size(), dialog));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    }
}

TEST(DialogInit, ListsTheComboStrings) {
    std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(IDD_SETUP), RT_DLGINIT);
    std::vector<DialogInitEntry> entries;
    ASSERT_TRUE(ParseDialogInit(bytes.data(), bytes.size(), entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].controlId, IDC_MODE_COMBO);
    EXPECT_EQ(entries[0].message, CB_ADDSTRING);
    EXPECT_EQ(entries[0].text, "Fixed");
    EXPECT_EQ(entries[1].text, "Mobile");
    std::vector<BYTE> lying = bytes;
    lying[4] = 0xF0; // the first length
    EXPECT_FALSE(ParseDialogInit(lying.data(), lying.size(), entries));
}

TEST(Toolbar, ParsesTheType241Block) {
    std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(IDR_MAINFRAME), RT_TOOLBAR);
    ParsedToolbar toolbar;
    ASSERT_TRUE(ParseToolbar(bytes.data(), bytes.size(), toolbar));
    EXPECT_EQ(toolbar.width, 16);
    EXPECT_EQ(toolbar.height, 15);
    EXPECT_EQ(toolbar.commands, (std::vector<WORD>{ID_FILE_OPEN, 0, ID_VIEW_GRID, ID_VIEW_CHART}));
    bytes[6] = 40; // more buttons than the block holds
    EXPECT_FALSE(ParseToolbar(bytes.data(), bytes.size(), toolbar));
}

TEST(IconGroup, ChoosesTheImageBySizeAndFindsIt) {
    std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON);
    ParsedIconGroup group;
    ASSERT_TRUE(ParseIconGroup(bytes.data(), bytes.size(), group));
    EXPECT_EQ(group.type, 1);
    ASSERT_EQ(group.entries.size(), 2u);
    EXPECT_EQ(group.entries[0].width, 16);
    EXPECT_EQ(group.entries[1].width, 32);
    EXPECT_EQ(group.entries[1].bitCount, 4);
    struct Case {
        int cx;
        WORD id;
    } cases[] = {{16, group.entries[0].id},
                 {32, group.entries[1].id},
                 {24, group.entries[1].id},
                 {48, group.entries[1].id},
                 {0, group.entries[0].id}};
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseGroupImage(group, c.cx, c.cx), c.id) << c.cx;
    }
    HRSRC image = FindResourceW(nullptr, MAKEINTRESOURCEW(group.entries[1].id), RT_ICON);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, image), group.entries[1].bytesInRes);
    bytes[4] = 9; // nine entries claimed
    EXPECT_FALSE(ParseIconGroup(bytes.data(), bytes.size(), group));
}

class IconResource : public ::testing::Test {
protected:
    void SetUp() override { DolivaInstallResourceHooks(); }
    static COLORREF Pixel(HBITMAP bitmap, int x, int y) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        COLORREF colour = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteDC(dc);
        return colour;
    }
    static BITMAP Size(HBITMAP bitmap) {
        BITMAP info{};
        GetObjectW(bitmap, sizeof(info), &info);
        return info;
    }
};

TEST_F(IconResource, BuildsTheChosenImageWithItsMask) {
    HMODULE program = DolivaResourceModule(nullptr);
    for (int size : {16, 32}) {
        HICON icon = DolivaLoadIconResource(program, MAKEINTRESOURCEW(IDI_APP), size, size, false);
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        EXPECT_EQ(Size(info.hbmColor).bmWidth, size);
        EXPECT_EQ(Size(info.hbmColor).bmHeight, size);
        EXPECT_EQ(Pixel(info.hbmColor, 3, 3), RGB(0xFF, 0, 0));
        EXPECT_EQ(Pixel(info.hbmMask, 3, 3), RGB(0, 0, 0)); // opaque
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    // LoadIconW of a module comes here.
    HICON loaded = LoadIconW(program, MAKEINTRESOURCEW(IDI_APP));
    ASSERT_NE(loaded, nullptr);
    DestroyIcon(loaded);
}

TEST_F(IconResource, CursorsKeepTheirHotSpot) {
    HMODULE program = DolivaResourceModule(nullptr);
    HCURSOR cursor = LoadCursorW(program, MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 7u);
    // Left half white and opaque, right half transparent.
    EXPECT_EQ(Pixel(info.hbmColor, 2, 2), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(Pixel(info.hbmMask, 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(info.hbmMask, 30, 2), RGB(0xFF, 0xFF, 0xFF));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(cursor);
}

TEST_F(IconResource, RefusesImagesThatDoNotFit) {
    size_t size = 0;
    const BYTE* group = DolivaResourceBytes(nullptr, MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON, &size);
    ParsedIconGroup parsed;
    ASSERT_TRUE(ParseIconGroup(group, size, parsed));
    const BYTE* image = DolivaResourceBytes(nullptr, MAKEINTRESOURCEW(parsed.entries[0].id), RT_ICON, &size);
    ASSERT_NE(image, nullptr);
    std::vector<BYTE> bytes(image, image + size);
    for (size_t cut : {size_t{0}, size_t{20}, size_t{40}, bytes.size() - 1}) {
        std::vector<BYTE> prefix(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        SetLastError(0);
        EXPECT_EQ(DolivaCreateIconFromImage(prefix.data(), prefix.size(), true), nullptr) << cut;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << cut;
    }
    std::vector<BYTE> odd = bytes;
    odd[8] = 33; // an odd doubled height
    EXPECT_EQ(DolivaCreateIconFromImage(odd.data(), odd.size(), true), nullptr);
}

class BitmapResource : public ::testing::Test {
protected:
    COLORREF Pixel(HBITMAP bitmap, int x, int y) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        COLORREF colour = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteDC(dc);
        return colour;
    }
};

TEST_F(BitmapResource, LoadsThePackedDib) {
    HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(IDB_TOOLS));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectW(bitmap, sizeof(info), &info), 0);
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 2);
    // Rows are stored bottom-up: the top row is index 4 (blue), the bottom row indexes 0..3.
    EXPECT_EQ(Pixel(bitmap, 0, 0), RGB(0, 0, 0xFF));
    EXPECT_EQ(Pixel(bitmap, 2, 1), RGB(0xC0, 0xC0, 0xC0));
    DeleteObject(bitmap);
    EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
}

TEST_F(BitmapResource, SysColorLoadMapsTheFourButtonGreys) {
    // Colours of the user's own, so that a mapping that does nothing shows.
    const int indexes[] = {COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
    const COLORREF custom[] = {RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90), RGB(100, 110, 120)};
    COLORREF saved[4];
    for (int i = 0; i < 4; ++i) {
        saved[i] = GetSysColor(indexes[i]);
    }
    ASSERT_TRUE(SetSysColors(4, indexes, custom));
    HBITMAP bitmap = LoadSysColorBitmap(nullptr, MAKEINTRESOURCEW(IDB_TOOLS));
    SetSysColors(4, indexes, saved);
    ASSERT_NE(bitmap, nullptr);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Pixel(bitmap, i, 1), custom[i]) << i;
    }
    EXPECT_EQ(Pixel(bitmap, 0, 0), RGB(0, 0, 0xFF));
    DeleteObject(bitmap);
}

std::vector<BYTE> InfoHeader(WORD bitCount, DWORD colorsUsed) {
    std::vector<BYTE> header(40, 0);
    auto put = [&](size_t at, DWORD value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            header[at + i] = static_cast<BYTE>(value >> (8 * i));
        }
    };
    put(0, 40, 4);
    put(4, 1, 4);
    put(8, 1, 4);
    put(12, 1, 2);
    put(14, bitCount, 2);
    put(32, colorsUsed, 4);
    return header;
}

TEST_F(BitmapResource, SysColorLoadRefusesDepthsWithoutPaletteAndShortTables) {
    std::vector<BYTE> deep = InfoHeader(24, 0);
    deep.insert(deep.end(), {1, 2, 3, 0});
    // Claims 2^24 colours: the table must not be taken from the claim.
    std::vector<BYTE> lying = InfoHeader(8, 0x01000000);
    lying.insert(lying.end(), 8, 0);
    ResBuilder res;
    res.Add(2, u"", 1, u"", deep).Add(2, u"", 2, u"", lying);
    HMODULE module = DolivaRegisterResources(res.Bytes().data(), res.Bytes().size(), u"bitmaps", true);
    ASSERT_NE(module, nullptr);
    for (WORD id : {1, 2}) {
        SetLastError(0);
        EXPECT_EQ(LoadSysColorBitmap(module, MAKEINTRESOURCEW(id)), nullptr) << id;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << id;
    }
}

TEST(WaveResource, PlaySoundFindsItThroughTheResolver) {
    DolivaInstallResourceHooks();
    auto sink = std::make_shared<RecordingSoundSink>();
    sink->SetFinishAtOnce(true);
    auto previous = SoundSetSink(sink);
    EXPECT_TRUE(PlaySoundW(u"SOUND_SEC_TICK", nullptr, SND_RESOURCE | SND_SYNC | SND_NODEFAULT));
    EXPECT_FALSE(PlaySoundW(u"SOUND_MIN_TICK", nullptr, SND_RESOURCE | SND_SYNC | SND_NODEFAULT));
    SoundSetSink(previous);
    auto played = sink->Played();
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].frames, 8u);
    EXPECT_EQ(played[0].samples, (std::vector<BYTE>{128, 160, 192, 160, 128, 96, 64, 96}));
}

} // namespace

TEST_F(BitmapResource, LoadImageReadsBitmapFilesAndSaysWhyItCannot) {
    const std::filesystem::path dir = testsupport::ScratchDir();
    // A 1 by 1 24-bit file: file header, info header, one padded row (blue, green, red).
    std::vector<BYTE> file = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    std::vector<BYTE> info = InfoHeader(24, 0);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), {0x30, 0x20, 0x10, 0x00});
    auto write = [&](const char* name, const std::vector<BYTE>& bytes) {
        std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                          static_cast<std::streamsize>(bytes.size()));
        return CString((dir / name).u16string().c_str());
    };
    const CString good = write("one.bmp", file);
    const CString bad = write("bad.bmp", {'B', 'M', 1, 2});
    auto* bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, good, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(Pixel(bitmap, 0, 0), RGB(0x10, 0x20, 0x30));
    DeleteObject(bitmap);

    const struct {
        CString name;
        UINT type;
        DWORD error;
    } refused[] = {{(dir / "none.bmp").u16string().c_str(), IMAGE_BITMAP, ERROR_FILE_NOT_FOUND},
                   {bad, IMAGE_BITMAP, ERROR_INVALID_DATA},
                   {good, IMAGE_ICON, ERROR_NOT_SUPPORTED}};
    for (const auto& c : refused) {
        SetLastError(0);
        EXPECT_EQ(LoadImageW(nullptr, c.name, c.type, 0, 0, LR_LOADFROMFILE), nullptr) << c.error;
        EXPECT_EQ(GetLastError(), c.error);
    }
    // Without the flag the name is a resource's.
    bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, MAKEINTRESOURCEW(IDB_TOOLS), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(bitmap, nullptr);
    DeleteObject(bitmap);
}
