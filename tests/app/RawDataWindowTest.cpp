#include "AppTestSupport.h"

#include "app/RawDataWindow.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/User.h"
#include "platform/framework/CWinApp.h"
#include "platform/resources/Resources.h"
#include "receiver/AppProfileAccess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Narrowed(const std::vector<CString>& lines) {
    std::vector<std::string> out;
    for (const CString& line : lines) {
        out.push_back(apptest::Narrow(line));
    }
    return out;
}

TEST(RawDataTextSplit, LinesPrefixesAndLineEnds) {
    struct Case {
        const char16_t* text;
        bool keepPrefix;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {u"", true, {}},
        {u"\r\n\r\n", true, {"\r\n"}},
        {u"abc\r\n\n", true, {"abc\r\n"}},
        {u"abc", true, {"abc\r\n"}},
        {u"-> one\ntwo\r\n", true, {"-> one\r\n", "-> two\r\n"}},
        {u"<- one\ntwo", true, {"<- one\r\n", "<- two\r\n"}},
        {u"?  one\ntwo", true, {"?  one\r\n", "two\r\n"}},
        {u"-> one\ntwo", false, {"-> one\r\n", "two\r\n"}},
        {u"a\n\nb", true, {"a\r\n", "\r\n", "b\r\n"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Narrowed(SplitRawDataText(c.text, c.keepPrefix)), c.lines)
            << apptest::Narrow(c.text) << " keepPrefix " << c.keepPrefix;
    }
}

class RawDataWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplayUseTestClock(100000);
        RegisterStandardControls();
        DolivaInstallResourceHooks();
        m_app.SetRegistryKey(u"Halvorn");
    }
    void TearDown() override {
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }
    // Whether the edit's colour request, as its parent answers it, gives the frozen grey.
    static bool IsGrey(CRawDataEdit& edit) {
        HDC dc = ::GetDC(edit.m_hWnd);
        auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(edit.m_hWnd), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(edit.m_hWnd)));
        ::ReleaseDC(edit.m_hWnd, dc);
        return brush == edit.GetFrozenBrush();
    }
    // Everything queued, through the program's message loop (which gives dialogs their keys).
    static void PumpProgramLoop() {
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            AfxPumpMessage();
        }
    }
    // A key pressed and let go in the focus window.
    static void PressKey(UINT key) {
        DisplayInjectKey(key, 0, TRUE, FALSE);
        DisplayInjectKey(key, 0, FALSE, FALSE);
        PumpProgramLoop();
    }
    // The close box: the dialog turns it into Cancel.
    static void CloseBox(CWnd& window) {
        window.SendMessageW(WM_CLOSE);
        PumpProgramLoop();
    }

    CWinApp m_app{u"Doliva"};
};

TEST_F(RawDataWindowTest, AddTextAppendsOnlyWhileTheWindowExists) {
    CRawDataDialog raw(u"GpsRaw");
    raw.SetTitle(u"GPS Raw Data");
    raw.AddText(u"dropped");
    ASSERT_TRUE(raw.Create());
    CString title;
    raw.GetWindowTextW(title);
    EXPECT_EQ(title, CString(u"GPS Raw Data"));

    raw.AddText(u"-> @@Ha\n@@Bb\r\n");
    raw.AddText(u"");
    raw.AddText(u"\r\n");
    EXPECT_EQ(apptest::Narrow(raw.GetEditText()), "-> @@Ha\r\n-> @@Bb\r\n\r\n");

    // Closing destroys the window; the object stays for the next showing.
    CloseBox(raw);
    EXPECT_EQ(raw.m_hWnd, nullptr);
    EXPECT_TRUE(raw.Create());
    EXPECT_TRUE(raw.GetEditText().IsEmpty());
    raw.DestroyWindow();
}

TEST_F(RawDataWindowTest, OldestLinesGoWhenTheTextWouldPassTheLimit) {
    CRawDataDialog raw;
    ASSERT_TRUE(raw.Create());
    const CString filler(u'x', 998); // 1000 characters with CR LF
    for (int i = 0; i < 30; ++i) {
        CString line;
        line.Format(u"%03d", i);
        raw.AddText(line + filler.Mid(3));
    }
    CString text = raw.GetEditText();
    EXPECT_EQ(text.GetLength(), kRawDataMaxCharacters);
    EXPECT_EQ(apptest::Narrow(text.Left(3)), "000");

    raw.AddText(CString(u"030") + filler.Mid(3));
    text = raw.GetEditText();
    EXPECT_EQ(text.GetLength(), kRawDataMaxCharacters);
    EXPECT_EQ(apptest::Narrow(text.Left(3)), "001");
    EXPECT_EQ(apptest::Narrow(text.Right(1000).Left(3)), "030");

    // A single text longer than the limit empties the control; the control keeps what fits of it.
    raw.AddText(CString(u'y', kRawDataMaxCharacters + 10));
    text = raw.GetEditText();
    EXPECT_LE(text.GetLength(), kRawDataMaxCharacters + 12);
    EXPECT_EQ(text.Find(u'x'), -1);
    EXPECT_EQ(text.GetAt(0), u'y');
    raw.DestroyWindow();
}

TEST_F(RawDataWindowTest, ScrolledBackWindowFreezesGreyAndEachWindowKeepsItsOwnState) {
    CRawDataDialog raw;
    CRxIdStringDialog rxId;
    ASSERT_TRUE(raw.Create());
    ASSERT_TRUE(rxId.Create());
    for (int i = 0; i < 100; ++i) {
        CString line;
        line.Format(u"line %d", i);
        raw.AddText(line);
    }
    rxId.AddText(u"identity");
    CRawDataEdit& edit = raw.Edit();
    EXPECT_TRUE(edit.IsAtEnd());
    EXPECT_FALSE(IsGrey(edit));

    edit.SendMessageW(WM_VSCROLL, SB_TOP);
    ASSERT_FALSE(edit.IsAtEnd());
    EXPECT_FALSE(edit.AppendLine(u"while frozen\r\n"));
    EXPECT_TRUE(IsGrey(edit));
    EXPECT_FALSE(edit.IsShownLive());
    // The other window is not greyed by this one.
    EXPECT_FALSE(IsGrey(rxId.Edit()));
    EXPECT_TRUE(rxId.Edit().IsShownLive());

    edit.SendMessageW(WM_VSCROLL, SB_BOTTOM);
    EXPECT_TRUE(edit.IsAtEnd());
    EXPECT_FALSE(IsGrey(edit));
    EXPECT_TRUE(edit.IsShownLive());
    raw.AddText(u"live again");
    const CString text = raw.GetEditText();
    EXPECT_EQ(text.Find(u"while frozen"), -1);
    EXPECT_EQ(apptest::Narrow(text.Right(12)), "live again\r\n");
    raw.DestroyWindow();
    rxId.DestroyWindow();
}

TEST_F(RawDataWindowTest, ReceiverIdTextSitsAboveTheSeparatorAndSetTextDropsAddedLines) {
    CRxIdStringDialog rxId;
    rxId.SetText(u"");
    EXPECT_EQ(apptest::Narrow(rxId.GetBuffer()), apptest::Narrow(kRxIdSeparator));
    ASSERT_TRUE(rxId.Create());
    rxId.SetText(u"Model A\r\nVersion 1\n");
    rxId.AddText(u"-> status\nmore");
    const std::string separator = apptest::Narrow(kRxIdSeparator);
    EXPECT_EQ(apptest::Narrow(rxId.GetEditText()),
              "Model A\r\nVersion 1\r\n" + separator + "-> status\r\nmore\r\n");

    rxId.SetText(u"Model B");
    EXPECT_EQ(apptest::Narrow(rxId.GetEditText()), "Model B\r\n" + separator);

    // Closing only hides the receiver-ID window.
    rxId.ShowWindow(SW_SHOW);
    CloseBox(rxId);
    ASSERT_NE(rxId.m_hWnd, nullptr);
    EXPECT_FALSE(rxId.IsWindowVisible());
    rxId.DestroyWindow();
}

} // namespace

namespace {

TEST_F(RawDataWindowTest, RectangleIsStoredOnCloseAndRestoredOnShowing) {
    CRawDataDialog raw(u"GpsRaw");
    EXPECT_EQ(raw.GetSectionName(), CString(u"Dialog GpsRaw size"));
    EXPECT_EQ(CRxIdStringDialog().GetSectionName(), CString(u"Dialog 115 size"));
    ASSERT_TRUE(raw.Create());
    raw.MoveWindow(100, 120, 400, 280);
    CloseBox(raw);
    EXPECT_EQ(AppGetProfileString(u"Dialog GpsRaw size", u"Rect", u""), CString(u"0100 0120 0500 0400"));

    ASSERT_TRUE(raw.Create());
    raw.ShowWindowRestoring(SW_RESTORE);
    CRect rect;
    raw.GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(100, 120, 500, 400));
    raw.DestroyWindow();
}

} // namespace

namespace {

// Escape in either window closes it as the close box does: the raw-data window goes, the receiver-ID window
// hides; Enter leaves both open. Both store their rectangle.
TEST_F(RawDataWindowTest, EscapeClosesBothWindowsAndStoresTheirPlacement) {
    CRawDataDialog raw(u"GpsRaw");
    CRxIdStringDialog rxId;
    CRawTextWindow* windows[] = {&raw, &rxId};
    for (CRawTextWindow* window : windows) {
        ASSERT_TRUE(window->Create());
        window->MoveWindow(60, 70, 300, 200);
        window->ShowWindow(SW_SHOW);
        window->Edit().SetFocus();
        PressKey(VK_RETURN);
        EXPECT_TRUE(window->IsWindowVisible()) << apptest::Narrow(window->GetSectionName());
        PressKey(VK_ESCAPE);
        EXPECT_FALSE(window->m_hWnd && window->IsWindowVisible())
            << apptest::Narrow(window->GetSectionName());
        EXPECT_EQ(AppGetProfileString(window->GetSectionName(), u"Rect", u""),
                  CString(u"0060 0070 0360 0270"));
    }
    EXPECT_EQ(raw.m_hWnd, nullptr);
    EXPECT_NE(rxId.m_hWnd, nullptr);
    rxId.DestroyWindow();
}

} // namespace
