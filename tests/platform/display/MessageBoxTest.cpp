// Message boxes through the responder, and the system metrics the layout code relies on.
#include "DisplayTestSupport.h"

#include "platform/gdi/Gdi.h"

using namespace displaytest;
using ::testing::ElementsAre;

namespace {

class DisplayMessageBox : public DisplayTest {
protected:
    void TearDown() override {
        DisplaySetMessageBoxResponder({});
        DisplaySetMessageBeepHandler({});
        DisplayTest::TearDown();
    }
};

TEST_F(DisplayMessageBox, TheResponderAnswersWhileTheOwnerIsDisabled) {
    HWND top = TopLevel({0, 0, 200, 200});
    HWND child = Child(top, {0, 0, 50, 50}, 1);
    SetFocus(child);
    SetCapture(child);
    log.Name(top, "top");
    log.Name(child, "child");
    std::vector<std::string> seen;
    DisplaySetMessageBoxResponder(
        [&](HWND owner, const std::u16string& caption, const std::u16string& text, UINT type) {
            EXPECT_EQ(owner, child);
            EXPECT_EQ(caption, u"Receiver");
            EXPECT_EQ(text, u"Port not found.");
            EXPECT_EQ(type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
            EXPECT_FALSE(IsWindowEnabled(top));
            EXPECT_EQ(GetCapture(), nullptr);
            seen.push_back("asked");
            return IDNO;
        });
    log.Clear();
    EXPECT_EQ(MessageBoxW(child, u"Port not found.", u"Receiver", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_THAT(
        log.Sequence({WM_CANCELMODE, WM_CAPTURECHANGED, WM_ENABLE}),
        ElementsAre("top:WM_CANCELMODE", "child:WM_CAPTURECHANGED", "top:WM_ENABLE", "top:WM_ENABLE"));
    EXPECT_TRUE(IsWindowEnabled(top));
    EXPECT_EQ(GetFocus(), child) << "the focus comes back";
}

TEST_F(DisplayMessageBox, TheDefaultAnswersWithTheDefaultButton) {
    struct Case {
        UINT type;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNOCANCEL, IDYES},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_RETRYCANCEL, IDRETRY},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_YESNO | MB_DEFBUTTON4, IDYES},
        {MB_OK | MB_HELP | MB_DEFBUTTON2, IDHELP},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayDefaultMessageBoxAnswer(c.type), c.answer) << std::hex << c.type;
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxW(nullptr, u"Clock set.", u"Doliva", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Doliva: Clock set.\n");
}

TEST_F(DisplayMessageBox, BeepsGoThroughTheSoundHandler) {
    EXPECT_TRUE(MessageBeep(MB_ICONHAND));
    std::vector<UINT> beeps;
    DisplaySetMessageBeepHandler([&](UINT type) {
        beeps.push_back(type);
        return FALSE;
    });
    EXPECT_FALSE(MessageBeep(MB_ICONEXCLAMATION));
    EXPECT_EQ(beeps, std::vector<UINT>{MB_ICONEXCLAMATION});
}

TEST(DisplayMetrics, ClassicValues) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
    EXPECT_EQ(GetSystemMetrics(SM_CXDLGFRAME), 3);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
    EXPECT_EQ(GetSystemMetrics(SM_CYMENU), 19);
    EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CXDOUBLECLK), 4);
    EXPECT_EQ(GetSystemMetrics(SM_CMOUSEBUTTONS), 3);
    EXPECT_EQ(GetDoubleClickTime(), 500u);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.right, 1280);
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
    EXPECT_EQ(ncm.iCaptionHeight, 18);
    EXPECT_EQ(ncm.lfCaptionFont.lfWeight, FW_BOLD);
    EXPECT_EQ(std::u16string(ncm.lfMessageFont.lfFaceName), u"MS Sans Serif");
    ncm.cbSize = 3;
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 3, &ncm, 0));

    HBRUSH face = GetSysColorBrush(COLOR_3DFACE);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_3DFACE), face);
    EXPECT_TRUE(DeleteObject(face));
    LOGBRUSH lb{};
    ASSERT_EQ(GetObjectW(face, sizeof lb, &lb), static_cast<int>(sizeof lb)) << "deleting it did nothing";
    EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_3DFACE));
}

TEST_F(DisplayMessageBox, SystemColourChangesReachWindowsAndBrushes) {
    HWND top = TopLevel({0, 0, 100, 100});
    HBRUSH before = GetSysColorBrush(COLOR_WINDOW);
    int index = COLOR_WINDOW;
    COLORREF old = GetSysColor(index);
    COLORREF next = RGB(1, 2, 3);
    log.Clear();
    ASSERT_TRUE(SetSysColors(1, &index, &next));
    EXPECT_EQ(log.Count(WM_SYSCOLORCHANGE), 1);
    EXPECT_TRUE(GetUpdateRect(top, nullptr, FALSE)) << "everything is drawn again";
    HBRUSH after = GetSysColorBrush(COLOR_WINDOW);
    EXPECT_NE(after, before);
    LOGBRUSH lb{};
    GetObjectW(after, sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, next);
    SetSysColors(1, &index, &old);
    EXPECT_EQ(GetSysColorBrush(COLOR_WINDOW), before);
}

TEST(DisplayCursors, StandardCursorsAndIconsAreShared) {
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), arrow);
    EXPECT_NE(LoadCursorW(nullptr, IDC_IBEAM), arrow);
    EXPECT_EQ(DisplayStandardCursorId(LoadCursorW(nullptr, IDC_SIZEWE)), 32644);
    EXPECT_TRUE(DestroyCursor(arrow));
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), arrow);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(123)), nullptr);
    HICON app = LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_NE(app, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(app, &info));
    EXPECT_TRUE(info.fIcon);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(SetCursor(arrow), GetCursor());
    POINT pt{};
    SetCursorPos(300, 200);
    GetCursorPos(&pt);
    EXPECT_EQ(pt.x, 300);
    RECT clip{0, 0, 100, 100};
    ClipCursor(&clip);
    SetCursorPos(300, 200);
    GetCursorPos(&pt);
    EXPECT_EQ(pt.x, 99);
    ClipCursor(nullptr);
}

} // namespace
