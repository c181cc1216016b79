// The file dialogs driven through their controls: typing names and paths, choosing from the list, entering
// directories, switching filters, the prompts, several files, the result and its offsets, a short buffer.
#include "CommDlgTestSupport.h"

#include "platform/base/CodePage.h"
#include "platform/framework/CFileDialog.h"
#include "support/TestSupport.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

using commdlgtest::CommDlgTest;
namespace fs = std::filesystem;

constexpr char16_t kFilter[] = u"Text (*.txt)\0*.txt\0Text and logs\0*.LOG; *.txt\0All files\0*.*\0";

class FileDialogTest : public CommDlgTest {
protected:
    void SetUp() override {
        CommDlgTest::SetUp();
        root = testsupport::ScratchDir() / "files";
        fs::remove_all(root);
        fs::create_directories(root / "sub");
        for (const char* name :
             {"alpha.txt", "Beta.TXT", "gamma.log", "notes", ".hidden.txt", "sub/inner.txt"}) {
            std::ofstream(root / name) << "x";
        }
        dir = Utf8ToUtf16(root.string());
        std::fill(std::begin(file), std::end(file), 0);
        ofn = OPENFILENAMEW{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = kFilter;
        ofn.lpstrFile = file;
        ofn.nMaxFile = static_cast<DWORD>(std::size(file));
        ofn.lpstrInitialDir = dir.c_str();
        ofn.Flags = OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    }

    static HWND List(HWND dialog) { return GetDlgItem(dialog, lst1); }

    static void Choose(HWND dialog, const std::u16string& shown) {
        std::vector<std::u16string> items = Items(List(dialog));
        auto it = std::find(items.begin(), items.end(), shown);
        ASSERT_NE(it, items.end()) << Utf16ToUtf8(shown);
        SendMessageW(List(dialog), LB_SETCURSEL, static_cast<WPARAM>(it - items.begin()), 0);
        Command(dialog, lst1, LBN_SELCHANGE);
    }

    // A real double click on an item of the list.
    static void DoubleClick(HWND dialog, const std::u16string& shown) {
        std::vector<std::u16string> items = Items(List(dialog));
        auto it = std::find(items.begin(), items.end(), shown);
        ASSERT_NE(it, items.end()) << Utf16ToUtf8(shown);
        RECT r{};
        SendMessageW(List(dialog), LB_GETITEMRECT, static_cast<WPARAM>(it - items.begin()),
                     reinterpret_cast<LPARAM>(&r));
        POINT pt{r.left + 5, (r.top + r.bottom) / 2};
        ClientToScreen(List(dialog), &pt);
        DisplayAdvanceTestClock(1000);
        for (int i = 0; i < 2; ++i) {
            DisplayInjectMouse(WM_MOUSEMOVE, pt);
            DisplayInjectMouse(WM_LBUTTONDOWN, pt);
            DisplayInjectMouse(WM_LBUTTONUP, pt);
        }
    }

    static void TypeName(HWND dialog, const std::u16string& name) {
        SetDlgItemTextW(dialog, edt1, name.c_str());
    }
    static void Ok(HWND dialog) { Command(dialog, IDOK, BN_CLICKED); }

    std::u16string Path(const std::u16string& name) const { return dir + u"/" + name; }

    fs::path root;
    std::u16string dir;
    WCHAR file[512];
    OPENFILENAMEW ofn{};
};

TEST_F(FileDialogTest, TypedNameGivesThePathWithItsOffsets) {
    std::u16string look;
    WCHAR title[64] = {};
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = 64;
    steps.push_back([&](HWND d) {
        look = Text(d, stc1);
        TypeName(d, u"alpha.txt");
        Ok(d);
    });
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(look, dir);
    EXPECT_EQ(std::u16string(file), Path(u"alpha.txt"));
    EXPECT_EQ(ofn.nFileOffset, dir.size() + 1);
    EXPECT_EQ(ofn.nFileExtension, dir.size() + 1 + 6);
    EXPECT_EQ(std::u16string(title), u"alpha.txt");
    EXPECT_EQ(ofn.nFilterIndex, 1u);
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(unscripted, 0);
}

TEST_F(FileDialogTest, KeyboardEntersADirectoryThenTypesTheNameAndOpens) {
    auto press = [](UINT vk) {
        DisplayInjectKey(vk, 0, TRUE, FALSE);
        DisplayInjectKey(vk, 0, FALSE, FALSE);
    };
    std::u16string look;
    steps.push_back([&](HWND d) {
        // Enter on a directory of the list enters it.
        SetFocus(List(d));
        Choose(d, u"sub/");
        press(VK_RETURN);
    });
    steps.push_back([&](HWND d) {
        look = Text(d, stc1);
        SetFocus(GetDlgItem(d, edt1));
        DisplayInjectText(u"inner.txt");
        press(VK_RETURN);
    });
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(look, dir + u"/sub");
    EXPECT_EQ(std::u16string(file), dir + u"/sub/inner.txt");
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(unscripted, 0);
}

TEST_F(FileDialogTest, ListFollowsTheFilterAndGivesTheChosenFile) {
    std::vector<std::vector<std::u16string>> seen;
    auto record = [&](HWND d) { seen.push_back(Items(List(d))); };
    steps.push_back(record);
    steps.push_back([&](HWND d) {
        SendDlgItemMessageW(d, cmb1, CB_SETCURSEL, 1, 0);
        Command(d, cmb1, CBN_SELCHANGE);
        record(d);
    });
    steps.push_back([&](HWND d) {
        SendDlgItemMessageW(d, cmb1, CB_SETCURSEL, 2, 0);
        Command(d, cmb1, CBN_SELCHANGE);
        record(d);
        Choose(d, u"gamma.log");
        seen.push_back({Text(d, edt1)});
        Ok(d);
    });
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    ASSERT_EQ(seen.size(), 4u);
    // Patterns match without regard to case; directories always show, hidden files never.
    EXPECT_EQ(seen[0], (std::vector<std::u16string>{u"..", u"sub/", u"alpha.txt", u"Beta.TXT"}));
    EXPECT_EQ(seen[1],
              (std::vector<std::u16string>{u"..", u"sub/", u"alpha.txt", u"Beta.TXT", u"gamma.log"}));
    EXPECT_EQ(seen[2], (std::vector<std::u16string>{u"..", u"sub/", u"alpha.txt", u"Beta.TXT", u"gamma.log",
                                                    u"notes"}));
    EXPECT_EQ(seen[3], (std::vector<std::u16string>{u"gamma.log"}));
    EXPECT_EQ(std::u16string(file), Path(u"gamma.log"));
    EXPECT_EQ(ofn.nFilterIndex, 3u);
}

TEST_F(FileDialogTest, DoubleClicksEnterDirectoriesGoUpAndChooseAFile) {
    std::vector<std::u16string> looks;
    steps.push_back([&](HWND d) { DoubleClick(d, u"sub/"); });
    steps.push_back([&](HWND d) {
        looks.push_back(Text(d, stc1));
        EXPECT_EQ(Items(List(d)), (std::vector<std::u16string>{u"..", u"inner.txt"}));
        DoubleClick(d, u"..");
    });
    steps.push_back([&](HWND d) {
        looks.push_back(Text(d, stc1));
        DoubleClick(d, u"sub/");
    });
    steps.push_back([&](HWND d) { DoubleClick(d, u"inner.txt"); });
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(looks, (std::vector<std::u16string>{dir + u"/sub", dir}));
    EXPECT_EQ(std::u16string(file), dir + u"/sub/inner.txt");
    EXPECT_TRUE(steps.empty());
}

TEST_F(FileDialogTest, TypedPathsDirectoriesAndPatterns) {
    std::vector<std::u16string> looks;
    std::vector<std::u16string> items;
    steps.push_back([&](HWND d) {
        TypeName(d, u"sub"); // a directory is entered
        Ok(d);
        looks.push_back(Text(d, stc1));
        looks.push_back(Text(d, edt1));
        TypeName(d, u"../*.LOG"); // a pattern becomes the filter, in its directory
        Ok(d);
        looks.push_back(Text(d, stc1));
        looks.push_back(Text(d, edt1));
        items = Items(List(d));
        TypeName(d, u"sub/inner.txt"); // a relative path
        Ok(d);
    });
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(looks, (std::vector<std::u16string>{dir + u"/sub", u"", dir, u"*.LOG"}));
    EXPECT_EQ(items, (std::vector<std::u16string>{u"..", u"sub/", u"gamma.log"}));
    EXPECT_EQ(std::u16string(file), dir + u"/sub/inner.txt");

    // An absolute path, and a path as the initial file name opening its directory.
    std::u16string absolute = dir + u"/sub/inner.txt";
    std::u16string initialLook;
    std::copy(absolute.begin(), absolute.end(), file);
    file[absolute.size()] = 0;
    ofn.lpstrInitialDir = nullptr;
    steps.push_back([&](HWND d) {
        initialLook = Text(d, stc1);
        EXPECT_EQ(Text(d, edt1), u"inner.txt");
        TypeName(d, dir + u"/notes");
        Ok(d);
    });
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(initialLook, dir + u"/sub");
    EXPECT_EQ(std::u16string(file), dir + u"/notes");
    EXPECT_EQ(ofn.nFileExtension, dir.size() + 6) << "no extension: the offset of the terminator";
}

TEST_F(FileDialogTest, OverwritePromptKeepsTheDialogUntilConfirmed) {
    ofn.Flags |= OFN_OVERWRITEPROMPT;
    ofn.lpstrDefExt = u"txt";
    answers = {IDNO, IDYES};
    steps.push_back([&](HWND d) {
        TypeName(d, u"alpha"); // the default extension makes it an existing file
        Ok(d);
    });
    steps.push_back([&](HWND d) { Ok(d); });
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, u"alpha.txt already exists.\nDo you want to replace it?");
    EXPECT_EQ(boxes[0].caption, u"Save As");
    EXPECT_EQ(boxes[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(std::u16string(file), Path(u"alpha.txt"));
    EXPECT_FALSE(ofn.Flags & OFN_EXTENSIONDIFFERENT);

    // A new file asks nothing; another extension is reported.
    boxes.clear();
    steps.push_back([&](HWND d) {
        TypeName(d, u"report.csv");
        Ok(d);
    });
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(std::u16string(file), Path(u"report.csv"));
    EXPECT_TRUE(ofn.Flags & OFN_EXTENSIONDIFFERENT);
}

TEST_F(FileDialogTest, MissingFilesAndPathsAreRefusedWithAWarning) {
    ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    steps.push_back([&](HWND d) {
        TypeName(d, u"missing.txt");
        Ok(d);
    });
    steps.push_back([&](HWND d) {
        TypeName(d, u"nowhere/x.txt");
        Ok(d);
    });
    steps.push_back([&](HWND d) { Command(d, IDCANCEL, BN_CLICKED); });
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u) << "a cancel is no error";
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, u"missing.txt\nFile not found.\nCheck the file name and try again.");
    EXPECT_EQ(boxes[1].text,
              Path(u"nowhere/x.txt") + u"\nPath does not exist.\nCheck the path and try again.");
    EXPECT_EQ(boxes[1].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_TRUE(steps.empty());
}

TEST_F(FileDialogTest, SeveralFilesComeAsDirectoryAndNames) {
    ofn.Flags |= OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
    std::u16string typed;
    steps.push_back([&](HWND d) {
        HWND list = List(d);
        std::vector<std::u16string> items = Items(list);
        for (const char16_t* name : {u"alpha.txt", u"Beta.TXT"}) {
            auto index = std::find(items.begin(), items.end(), name) - items.begin();
            SendMessageW(list, LB_SETSEL, TRUE, index);
        }
        Command(d, lst1, LBN_SELCHANGE);
        typed = Text(d, edt1);
        Ok(d);
    });
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(typed, u"\"alpha.txt\" \"Beta.TXT\"");
    std::u16string expected = dir + u'\0' + u"alpha.txt" + u'\0' + u"Beta.TXT" + u'\0' + u'\0';
    EXPECT_EQ(std::u16string(file, expected.size()), expected);
    EXPECT_EQ(ofn.nFileOffset, dir.size() + 1);

    // One file of a multiple selection is a full path with a double terminator.
    steps.push_back([&](HWND d) {
        TypeName(d, u"notes");
        Ok(d);
    });
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    std::u16string one = Path(u"notes") + u'\0' + u'\0';
    EXPECT_EQ(std::u16string(file, one.size()), one);
}

TEST_F(FileDialogTest, ShortBufferFailsWithTheSizeNeeded) {
    ofn.nMaxFile = 10;
    steps.push_back([&](HWND d) {
        TypeName(d, u"alpha.txt");
        Ok(d);
    });
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
    EXPECT_EQ(file[0], Path(u"alpha.txt").size() + 1);
}

TEST_F(FileDialogTest, WorkingDirectoryFollowsTheChoiceUnlessKept) {
    std::error_code ec;
    fs::path before = fs::current_path(ec);
    ofn.Flags &= ~static_cast<DWORD>(OFN_NOCHANGEDIR);
    steps.push_back([&](HWND d) {
        TypeName(d, u"sub/inner.txt");
        Ok(d);
    });
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(fs::current_path(ec), root / "sub");
    fs::current_path(before, ec);
}

TEST_F(FileDialogTest, BadStructuresFailBeforeShowingAnything) {
    OPENFILENAMEW bad = ofn;
    bad.lStructSize = 12;
    EXPECT_FALSE(GetOpenFileNameW(&bad));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
    bad = ofn;
    bad.lpstrFile = nullptr;
    EXPECT_FALSE(GetSaveFileNameW(&bad));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
    EXPECT_EQ(unscripted, 0);
}

TEST_F(FileDialogTest, FrameworkDialogTakesBarFiltersAndListsEveryChosenPath) {
    CWnd parent;
    parent.Attach(owner);
    CFileDialog dlg(TRUE, u"txt", u"DolivaLog", OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_NOCHANGEDIR,
                    u"Text (*.txt)|*.txt|All files (*.*)|*.*||", &parent);
    dlg.m_ofn.lpstrInitialDir = dir.c_str();
    std::vector<std::u16string> types;
    std::u16string typed;
    steps.push_back([&](HWND d) {
        HWND combo = GetDlgItem(d, cmb1);
        for (LRESULT i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
            WCHAR text[64] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            types.push_back(text);
        }
        typed = Text(d, edt1);
        TypeName(d, u"\"gamma.log\" \"alpha.txt\"");
        Ok(d);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(types, (std::vector<std::u16string>{u"Text (*.txt)", u"All files (*.*)"}));
    EXPECT_EQ(typed, u"DolivaLog");
    std::vector<std::u16string> paths;
    for (POSITION pos = dlg.GetStartPosition(); pos;) {
        paths.push_back(static_cast<LPCTSTR>(dlg.GetNextPathName(pos)));
    }
    EXPECT_EQ(paths, (std::vector<std::u16string>{Path(u"gamma.log"), Path(u"alpha.txt")}));

    // One file: the path and its parts.
    steps.push_back([&](HWND d) {
        TypeName(d, u"Beta.TXT");
        Ok(d);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(std::u16string(dlg.GetPathName()), Path(u"Beta.TXT"));
    EXPECT_EQ(std::u16string(dlg.GetFileName()), u"Beta.TXT");
    EXPECT_EQ(std::u16string(dlg.GetFileExt()), u"TXT");
    EXPECT_EQ(std::u16string(dlg.GetFileTitle()), u"Beta");
    POSITION pos = dlg.GetStartPosition();
    EXPECT_EQ(std::u16string(dlg.GetNextPathName(pos)), Path(u"Beta.TXT"));
    EXPECT_EQ(pos, nullptr);

    steps.push_back([&](HWND d) { Command(d, IDCANCEL, BN_CLICKED); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    parent.Detach();
}

TEST(FileTitle, NameOfAPathAndTheSizeNeeded) {
    WCHAR title[16];
    EXPECT_EQ(GetFileTitleW(u"/tmp/dir/report.txt", title, 16), 0);
    EXPECT_EQ(std::u16string(title), u"report.txt");
    EXPECT_EQ(GetFileTitleW(u"/tmp/dir/report.txt", title, 5), 11);
    EXPECT_EQ(GetFileTitleW(u"/tmp/dir/", title, 16), -1);
}

} // namespace
