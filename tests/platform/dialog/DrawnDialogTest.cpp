// Message boxes and dialogs on a real display: a child process opens the SDL backend on a private X server,
// where the message box is drawn as a dialog and answers Enter with its default button. The child also
// writes pictures of the box and of a dialog with a control of each kind (to DOLIVA_SCREENSHOT_DIR when it
// is set, else to a scratch directory) for a person to look at.
#include "DialogTestIds.h"
#include "support/PrivateXServer.h"

#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/MessageBox.h"
#include "platform/display/User.h"
#include "platform/framework/AfxControls.h"
#include "platform/framework/CDialog.h"
#include "platform/sdl/DisplaySelect.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Where the pictures go.
std::string PictureDir() {
    if (const char* dir = std::getenv("DOLIVA_SCREENSHOT_DIR")) {
        return dir;
    }
    const char* base = std::getenv("DOLIVA_TEST_SCRATCH");
    std::string pattern = std::string(base ? base : "/tmp") + "/drawn.XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    return mkdtemp(buf.data()) ? std::string(buf.data()) : std::string("/tmp");
}

// What the child checks, reported through its exit status.
enum ChildFailure { kNoDisplay = 10, kWrongAnswer, kBadLayout, kNoPicture, kDialogFailed };

std::string g_pictures;
int g_failure = 0;
HWND g_owner = nullptr;

// A control lies inside the client area of its dialog and does not overlap the other visible controls.
bool LaidOut(HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    std::vector<RECT> placed;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom) {
            std::fprintf(stderr, "control %d outside the client area\n", GetDlgCtrlID(child));
            return false;
        }
        placed.push_back(r);
    }
    return !placed.empty();
}

HWND FindBox() {
    HWND active = GetActiveWindow();
    WCHAR name[16] = {};
    GetClassNameW(active, name, 16);
    return std::u16string(name) == u"#32770" ? active : nullptr;
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindBox();
    if (!box) {
        return; // not up yet
    }
    KillTimer(nullptr, id);
    if (!LaidOut(box)) {
        g_failure = kBadLayout;
    }
    // The default button (No, the second) has the focus and the default look.
    if (GetDlgCtrlID(GetFocus()) != IDNO) {
        std::fprintf(stderr, "focus on %d\n", GetDlgCtrlID(GetFocus()));
        g_failure = kBadLayout;
    }
    DisplayFlush();
    if (!DisplayRenderWindowToPng(box, (g_pictures + "/message-box.png").c_str())) {
        g_failure = kNoPicture;
    }
    DisplayInjectKey(VK_RETURN, 0, TRUE, FALSE);
    DisplayInjectKey(VK_RETURN, 0, FALSE, FALSE);
}

class Showcase : public CDialog {
public:
    Showcase(CWnd* pParent) : CDialog(IDD_SHOWCASE, pParent) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SendDlgItemMessageW(IDC_SAT_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_INFORMATION)));
        SendDlgItemMessageW(IDC_PROGRESS, PBM_SETPOS, 60);
        SendDlgItemMessageW(IDC_COMBO_LIST, CB_SETCURSEL, 0);
        SendDlgItemMessageW(IDC_LIST, LB_SETCURSEL, 1);
        SetDlgItemTextW(IDC_TEXT, u"52\u00B0 22.5' N");
        CheckDlgButton(IDC_CHECK, BST_CHECKED);
        CheckRadioButton(IDC_RADIO1, IDC_RADIO3, IDC_RADIO3);
        ::SetScrollRange(::GetDlgItem(m_hWnd, IDC_SCROLL), SB_CTL, 0, 100, FALSE);
        ::SetScrollPos(::GetDlgItem(m_hWnd, IDC_SCROLL), SB_CTL, 30, TRUE);
        SendDlgItemMessageW(IDC_SPIN, UDM_SETRANGE, 0, MAKELPARAM(90, 0));
        SendDlgItemMessageW(IDC_SPIN, UDM_SETPOS, 0, MAKELPARAM(5, 0));
        SetTimer(1, 300, nullptr);
        return TRUE;
    }

protected:
    void OnTimer(UINT_PTR) {
        KillTimer(1);
        if (!LaidOut(m_hWnd)) {
            g_failure = kBadLayout;
        }
        DisplayFlush();
        if (!DisplayRenderWindowToPng(m_hWnd, (g_pictures + "/dialog-controls.png").c_str())) {
            g_failure = kNoPicture;
        }
        EndDialog(IDOK);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Showcase, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

// The child's whole run, on its private X server; its exit code says what went wrong.
int RunChild() {
    if (testsupport::UsePrivateXServer() < 0 || InitializeDisplay() != DisplayChoice::Sdl) {
        return kNoDisplay;
    }
    DisplayUseRealClock();
    RegisterStandardControls();
    g_owner = CreateWindowExW(0, u"Static", u"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640, 480,
                              nullptr, nullptr, nullptr, nullptr);
    {
        Showcase dlg(CWnd::FromHandle(g_owner));
        if (dlg.DoModal() != IDOK) {
            return kDialogFailed;
        }
    }
    SetTimer(nullptr, 0, 100, &AnswerBox);
    int answer =
        MessageBoxW(g_owner,
                    u"The receiver has not answered for 30 seconds.\n\nDo you want to reopen the serial "
                    u"port and initialise the receiver again? The clock stays unsynchronised until it "
                    u"answers.",
                    u"GPS Receiver", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer != IDNO) {
        std::fprintf(stderr, "answer %d\n", answer);
        return kWrongAnswer;
    }
    DestroyWindow(g_owner);
    CWnd::DeleteTempMap();
    return g_failure;
}

TEST(DrawnDialog, MessageBoxIsADialogThatAnswersEnterWithItsDefaultButton) {
    if (!testsupport::ToolInstalled("Xvfb")) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    g_pictures = PictureDir();
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        _exit(RunChild());
    }
    ASSERT_GT(child, 0);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the child died with signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "pictures in " << g_pictures;
}

} // namespace
