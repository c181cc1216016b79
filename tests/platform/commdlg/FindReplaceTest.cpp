// The modeless find and replace dialogs: each command reaches the owner as the registered message with the
// texts and options, closing sends FR_DIALOGTERM, the framework object finds itself and deletes itself.
#include "CommDlgTestSupport.h"

#include "platform/framework/CFindReplaceDialog.h"

namespace {

using commdlgtest::CommDlgTest;

struct Notice {
    DWORD flags;
    std::u16string find;
    std::u16string replace;
};

class FindReplaceTest : public CommDlgTest {
protected:
    void SetUp() override {
        CommDlgTest::SetUp();
        message = RegisterWindowMessageW(FINDMSGSTRINGW);
        ownerHook = [this](UINT msg, WPARAM, LPARAM lParam) {
            if (msg == message) {
                auto* f = reinterpret_cast<LPFINDREPLACEW>(lParam);
                notices.push_back(
                    {f->Flags, f->lpstrFindWhat, f->lpstrReplaceWith ? f->lpstrReplaceWith : u""});
            }
        };
        fr = FINDREPLACEW{};
        fr.lStructSize = sizeof fr;
        fr.hwndOwner = owner;
        fr.lpstrFindWhat = find;
        fr.wFindWhatLen = static_cast<WORD>(std::size(find));
        fr.lpstrReplaceWith = replace;
        fr.wReplaceWithLen = static_cast<WORD>(std::size(replace));
        std::u16string start = u"abc";
        std::copy(start.begin(), start.end(), find);
    }
    void TearDown() override {
        ownerHook = nullptr;
        CommDlgTest::TearDown();
    }

    static void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

    UINT message = 0;
    std::vector<Notice> notices;
    FINDREPLACEW fr{};
    WCHAR find[8] = {};
    WCHAR replace[32] = {};
};

constexpr DWORD kOptions = FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD;
constexpr DWORD kCommands = FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM;

TEST_F(FindReplaceTest, FindNextSendsTheTextAndOptionsThenCloseTerminates) {
    EXPECT_EQ(message, RegisterWindowMessageW(u"COMMDLG_FINDREPLACE"));
    fr.Flags = FR_DOWN;
    HWND dialog = FindTextW(&fr);
    ASSERT_NE(dialog, nullptr);
    Pump();
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
    EXPECT_EQ(Text(dialog, edt1), u"abc");
    EXPECT_EQ(IsDlgButtonChecked(dialog, rad2), static_cast<UINT>(BST_CHECKED));

    Click(dialog, IDOK);
    Click(dialog, chx2);
    Click(dialog, rad1);
    SetDlgItemTextW(dialog, edt1, u"needle-long"); // longer than the buffer: cut to fit
    Click(dialog, IDOK);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].flags & (kOptions | kCommands), static_cast<DWORD>(FR_FINDNEXT | FR_DOWN));
    EXPECT_EQ(notices[0].find, u"abc");
    EXPECT_EQ(notices[1].flags & (kOptions | kCommands), static_cast<DWORD>(FR_FINDNEXT | FR_MATCHCASE));
    EXPECT_EQ(notices[1].find, u"needle-");

    // Nothing to find: the command is disabled.
    SetDlgItemTextW(dialog, edt1, u"");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));

    SendMessageW(dialog, WM_CLOSE, 0, 0);
    Pump();
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[2].flags & kCommands, static_cast<DWORD>(FR_DIALOGTERM));
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(FindReplaceTest, ReplaceCommandsCarryBothTexts) {
    HWND dialog = ReplaceTextW(&fr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetDlgItem(dialog, rad1), nullptr) << "the replace dialog has no direction";
    SetDlgItemTextW(dialog, edt2, u"xyz");
    Click(dialog, chx1);
    Click(dialog, psh1);
    Click(dialog, psh2);
    Click(dialog, IDCANCEL);
    Pump();
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].flags & (kOptions | kCommands),
              static_cast<DWORD>(FR_REPLACE | FR_DOWN | FR_WHOLEWORD));
    EXPECT_EQ(notices[0].replace, u"xyz");
    EXPECT_EQ(notices[1].flags & kCommands, static_cast<DWORD>(FR_REPLACEALL));
    EXPECT_EQ(notices[2].flags & kCommands, static_cast<DWORD>(FR_DIALOGTERM));
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(FindReplaceTest, HideAndNoFlagsShapeTheOptions) {
    fr.Flags = FR_HIDEWHOLEWORD | FR_NOMATCHCASE | FR_HIDEUPDOWN;
    HWND dialog = FindTextW(&fr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, chx1)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, chx2)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, chx2)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, rad1)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, pshHelp)));
    DestroyWindow(dialog);
}

TEST_F(FindReplaceTest, BadStructuresAreRefused) {
    struct Case {
        const char* what;
        void (*spoil)(FINDREPLACEW&);
        DWORD error;
    };
    const Case cases[] = {
        {"size", [](FINDREPLACEW& f) { f.lStructSize = 4; }, CDERR_STRUCTSIZE},
        {"owner", [](FINDREPLACEW& f) { f.hwndOwner = nullptr; }, CDERR_DIALOGFAILURE},
        {"find length", [](FINDREPLACEW& f) { f.wFindWhatLen = 0; }, FRERR_BUFFERLENGTHZERO},
        {"replace length", [](FINDREPLACEW& f) { f.wReplaceWithLen = 0; }, FRERR_BUFFERLENGTHZERO},
    };
    for (const Case& c : cases) {
        FINDREPLACEW bad = fr;
        c.spoil(bad);
        EXPECT_EQ(ReplaceTextW(&bad), nullptr) << c.what;
        EXPECT_EQ(CommDlgExtendedError(), c.error) << c.what;
    }
}

// The framework object: the owner finds it from the message, and it goes with its window.
class TrackedDialog : public CFindReplaceDialog {
public:
    explicit TrackedDialog(bool* gone) : gone_(gone) {}
    ~TrackedDialog() override { *gone_ = true; }

private:
    bool* gone_;
};

TEST_F(FindReplaceTest, FrameworkObjectIsTheNotifierAndDeletesItself) {
    bool gone = false;
    auto* dlg = new TrackedDialog(&gone);
    // A child window searching its own text receives the commands itself.
    HWND view = CreateWindowExW(0, u"CommDlgTestOwner", u"view", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, owner,
                                nullptr, nullptr, nullptr);
    CWnd parent;
    parent.Attach(view);
    std::vector<std::u16string> seen;
    ownerHook = [&](UINT msg, WPARAM, LPARAM lParam) {
        if (msg != message) {
            return;
        }
        CFindReplaceDialog* notifier = CFindReplaceDialog::GetNotifier(lParam);
        ASSERT_EQ(notifier, dlg);
        if (notifier->IsTerminating()) {
            seen.push_back(u"term");
        } else if (notifier->FindNext()) {
            seen.push_back(std::u16string(u"next:") + static_cast<LPCTSTR>(notifier->GetFindString()) +
                           (notifier->MatchCase() ? u":case" : u"") +
                           (notifier->SearchDown() ? u":down" : u""));
        } else if (notifier->ReplaceAll()) {
            seen.push_back(std::u16string(u"all:") + static_cast<LPCTSTR>(notifier->GetReplaceString()));
        }
    };
    ASSERT_TRUE(dlg->Create(FALSE, u"Sat", u"Sun", FR_DOWN | FR_MATCHCASE, &parent));
    HWND hwnd = dlg->GetSafeHwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(dlg->m_fr.hwndOwner, view);
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), owner);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), dlg);
    // Enter in the find field is Find Next, through the dialog's own navigation.
    SetFocus(GetDlgItem(hwnd, edt1));
    MSG enter{GetDlgItem(hwnd, edt1), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(dlg->PreTranslateMessage(&enter));
    Pump();
    SendMessageW(GetDlgItem(hwnd, psh2), BM_CLICK, 0, 0);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"next:Sat:case:down", u"all:Sun", u"term"}));
    EXPECT_TRUE(gone);
    EXPECT_FALSE(IsWindow(hwnd));
    parent.Detach();
}

} // namespace
