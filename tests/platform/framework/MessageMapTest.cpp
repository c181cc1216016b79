#include "FrameworkTestSupport.h"

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

using namespace fwtest;

namespace {

#define IDC_BUTTON 101
#define IDC_EDIT 102
#define IDC_RANGE_FIRST 110
#define IDC_RANGE_LAST 119
#define ID_CMD_PLAIN 200
#define ID_CMD_DISABLED 201
#define ID_CMD_EX 202

UINT g_registeredMessage = ::RegisterWindowMessageW(u"FrameworkTest.Registered");

// Records each handler's arguments as text, so one table checks the unpacking of every message.
class RecordingWnd : public CWnd {
public:
    std::vector<std::string> log;
    std::string Last() const { return log.empty() ? std::string() : log.back(); }

    int OnCreate(LPCREATESTRUCT cs) {
        log.push_back("create " + std::to_string(cs->cx) + "x" + std::to_string(cs->cy));
        return CWnd::OnCreate(cs);
    }
    BOOL OnNcCreate(LPCREATESTRUCT cs) {
        log.push_back("nccreate");
        return CWnd::OnNcCreate(cs);
    }
    void OnSize(UINT nType, int cx, int cy) {
        log.push_back("size " + std::to_string(nType) + " " + std::to_string(cx) + " " + std::to_string(cy));
    }
    void OnMove(int x, int y) { log.push_back("move " + std::to_string(x) + " " + std::to_string(y)); }
    void OnTimer(UINT_PTR id) { log.push_back("timer " + std::to_string(id)); }
    void OnLButtonDown(UINT flags, CPoint p) {
        log.push_back("lbuttondown " + std::to_string(flags) + " " + std::to_string(p.x) + "," +
                      std::to_string(p.y));
    }
    void OnRButtonUp(UINT flags, CPoint p) {
        log.push_back("rbuttonup " + std::to_string(flags) + " " + std::to_string(p.x) + "," +
                      std::to_string(p.y));
    }
    BOOL OnMouseWheel(UINT flags, short delta, CPoint p) {
        log.push_back("wheel " + std::to_string(flags) + " " + std::to_string(delta) + " " +
                      std::to_string(p.x) + "," + std::to_string(p.y));
        return TRUE;
    }
    void OnKeyDown(UINT ch, UINT rep, UINT flags) {
        log.push_back("keydown " + std::to_string(ch) + " " + std::to_string(rep) + " " +
                      std::to_string(flags));
    }
    void OnChar(UINT ch, UINT rep, UINT flags) {
        log.push_back("char " + std::to_string(ch) + " " + std::to_string(rep) + " " + std::to_string(flags));
    }
    void OnSetFocus(CWnd* old) { log.push_back(std::string("setfocus ") + (old ? "wnd" : "null")); }
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar) {
        log.push_back("vscroll " + std::to_string(code) + " " + std::to_string(pos) +
                      (bar ? " bar" : " nobar"));
    }
    BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT msg) {
        log.push_back("setcursor " + std::string(wnd == this ? "self " : "other ") + std::to_string(hit) +
                      " " + std::to_string(msg));
        return TRUE;
    }
    UINT OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    UINT OnNcHitTest(CPoint p) {
        log.push_back("nchittest " + std::to_string(p.x) + "," + std::to_string(p.y));
        return HTCAPTION;
    }
    void OnShowWindow(BOOL show, UINT status) {
        log.push_back("showwindow " + std::to_string(show) + " " + std::to_string(status));
    }
    void OnActivate(UINT state, CWnd* other, BOOL minimized) {
        log.push_back("activate " + std::to_string(state) + (other ? " other " : " null ") +
                      std::to_string(minimized));
    }
    void OnContextMenu(CWnd* wnd, CPoint p) {
        log.push_back("contextmenu " + std::string(wnd == this ? "self " : "other ") + std::to_string(p.x) +
                      "," + std::to_string(p.y));
    }
    void OnSysCommand(UINT id, LPARAM l) {
        log.push_back("syscommand " + std::to_string(id) + " " + std::to_string(l));
    }
    void OnGetMinMaxInfo(MINMAXINFO* info) {
        info->ptMinTrackSize.x = 123;
        log.push_back("getminmaxinfo");
    }
    BOOL OnQueryEndSession() {
        log.push_back("queryendsession");
        return FALSE;
    }
    void OnEndSession(BOOL ending) { log.push_back("endsession " + std::to_string(ending)); }
    void OnParentNotify(UINT message, LPARAM l) {
        log.push_back("parentnotify " + std::to_string(LOWORD(message)) + " " + std::to_string(l));
    }
    void OnCaptureChanged(CWnd* wnd) {
        log.push_back(std::string("capturechanged ") + (wnd ? "wnd" : "null"));
    }
    void OnSettingChange(UINT flags, LPCTSTR section) {
        log.push_back("settingchange " + std::to_string(flags) + (section ? " section" : " null"));
    }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) {
        log.push_back("ctlcolor " + std::to_string(kind) + (dc ? " dc" : " nodc") +
                      (wnd ? " wnd" : " nownd"));
        return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(0x77));
    }
    LRESULT OnUser(WPARAM w, LPARAM l) {
        log.push_back("user " + std::to_string(w) + " " + std::to_string(l));
        return 4242;
    }
    LRESULT OnRegistered(WPARAM w, LPARAM) {
        log.push_back("registered " + std::to_string(w));
        return 7;
    }
    void OnPlain() { log.push_back("cmd plain"); }
    void OnDisabled() { log.push_back("cmd disabled ran"); }
    void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }
    BOOL OnCommandExFirst(UINT id) {
        log.push_back("ex first " + std::to_string(id));
        return FALSE;
    }
    void OnCommandExFallback() { log.push_back("ex fallback"); }
    void OnButtonClicked() { log.push_back("bn_clicked"); }
    void OnEditChange() { log.push_back("en_change"); }
    void OnRange(UINT id) { log.push_back("range " + std::to_string(id)); }
    void OnNotifyItem(NMHDR* hdr, LRESULT* result) {
        log.push_back("notify " + std::to_string(hdr->idFrom) + " " +
                      std::to_string(static_cast<int>(hdr->code)));
        *result = 99;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWnd, CWnd)
ON_WM_CREATE()
ON_WM_NCCREATE()
ON_WM_SIZE()
ON_WM_MOVE()
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_SETFOCUS()
ON_WM_VSCROLL()
ON_WM_SETCURSOR()
ON_WM_GETDLGCODE()
ON_WM_NCHITTEST()
ON_WM_SHOWWINDOW()
ON_WM_ACTIVATE()
ON_WM_CONTEXTMENU()
ON_WM_SYSCOMMAND()
ON_WM_GETMINMAXINFO()
ON_WM_QUERYENDSESSION()
ON_WM_ENDSESSION()
ON_WM_PARENTNOTIFY()
ON_WM_CAPTURECHANGED()
ON_WM_SETTINGCHANGE()
ON_WM_CTLCOLOR()
ON_MESSAGE(WM_USER + 5, OnUser)
ON_REGISTERED_MESSAGE(g_registeredMessage, OnRegistered)
ON_COMMAND(ID_CMD_PLAIN, OnPlain)
ON_COMMAND(ID_CMD_DISABLED, OnDisabled)
ON_UPDATE_COMMAND_UI(ID_CMD_DISABLED, OnUpdateDisabled)
ON_COMMAND_EX(ID_CMD_EX, OnCommandExFirst)
ON_COMMAND(ID_CMD_EX, OnCommandExFallback)
ON_BN_CLICKED(IDC_BUTTON, OnButtonClicked)
ON_EN_CHANGE(IDC_EDIT, OnEditChange)
ON_CONTROL_RANGE(BN_CLICKED, IDC_RANGE_FIRST, IDC_RANGE_LAST, OnRange)
ON_NOTIFY(-12, IDC_EDIT, OnNotifyItem)
END_MESSAGE_MAP()

// A derived map's entry wins over the base's for the same message; the base's others still apply.
class DerivedWnd : public RecordingWnd {
public:
    void OnSize(UINT, int cx, int) { log.push_back("derived size " + std::to_string(cx)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, RecordingWnd)
ON_WM_SIZE()
END_MESSAGE_MAP()

// A control that handles its own notifications before the parent sees them.
class ReflectingChild : public CWnd {
public:
    std::vector<std::string> log;
    bool colorBrush = true;
    BOOL reflectNotify = TRUE;
    void OnReflectedClick() { log.push_back("reflected bn_clicked"); }
    HBRUSH CtlColor(CDC*, UINT kind) {
        log.push_back("reflected ctlcolor " + std::to_string(kind));
        return colorBrush ? reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(0x55)) : nullptr;
    }
    BOOL OnReflectedNotify(NMHDR*, LRESULT* result) {
        log.push_back("reflected notify");
        *result = 5;
        return reflectNotify;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingChild, CWnd)
ON_CONTROL_REFLECT(BN_CLICKED, OnReflectedClick)
ON_WM_CTLCOLOR_REFLECT()
ON_NOTIFY_REFLECT_EX(-12, OnReflectedNotify)
END_MESSAGE_MAP()

class MessageMapTest : public FrameworkTest {
protected:
    template <class W>
    void CreateTop(W& wnd) {
        LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS);
        ASSERT_TRUE(wnd.CreateEx(0, cls, u"test", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr));
    }
};

TEST_F(MessageMapTest, CreationMessagesReachTheObject) {
    RecordingWnd wnd;
    CreateTop(wnd);
    // The object is attached before the first message (WM_GETMINMAXINFO of an overlapped window).
    std::vector<std::string> expected = {"getminmaxinfo", "nccreate", "create 300x200"};
    ASSERT_GE(wnd.log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(wnd.log.begin(), wnd.log.begin() + 3), expected);
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
}

TEST_F(MessageMapTest, CreationMessagesReachTheObjectOnAFreshThread) {
    std::vector<std::string> log;
    std::thread worker([&log] {
        RecordingWnd wnd;
        LPCTSTR cls = AfxRegisterWndClass(0);
        if (wnd.CreateEx(0, cls, u"", WS_OVERLAPPED, 0, 0, 40, 30, nullptr, nullptr)) {
            log = wnd.log;
            wnd.DestroyWindow();
        }
        AfxDeleteTempMaps();
    });
    worker.join();
    EXPECT_NE(std::find(log.begin(), log.end(), "create 40x30"), log.end());
}

TEST_F(MessageMapTest, WindowMessagesReachHandlersWithTheirArguments) {
    RecordingWnd wnd;
    CreateTop(wnd);
    HWND other = wnd.m_hWnd;
    struct Case {
        UINT msg;
        WPARAM w;
        LPARAM l;
        std::string expected;
        LRESULT result;
    };
    const Case cases[] = {
        {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480), "size 2 640 480", 0},
        {WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-20), 30), "move -20 30", 0},
        {WM_TIMER, 17, 0, "timer 17", 0},
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(static_cast<WORD>(-5), 7), "lbuttondown 5 -5,7",
         0},
        {WM_RBUTTONUP, 0, MAKELPARAM(3, 4), "rbuttonup 0 3,4", 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-120)), MAKELPARAM(100, 200),
         "wheel 8 -120 100,200", TRUE},
        {WM_KEYDOWN, VK_F5, MAKELPARAM(3, 0x4000 | 0x3F), "keydown 116 3 16447", 0},
        {WM_CHAR, u'x', MAKELPARAM(1, 0x2D), "char 120 1 45", 0},
        {WM_SETFOCUS, 0, 0, "setfocus null", 0},
        {WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 77), 0, "vscroll 5 77 nobar", 0},
        {WM_SETCURSOR, reinterpret_cast<WPARAM>(other), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
         "setcursor self 1 512", TRUE},
        {WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(-1), 2), "nchittest -1,2", HTCAPTION},
        {WM_SHOWWINDOW, TRUE, SW_PARENTOPENING, "showwindow 1 3", 0},
        {WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), reinterpret_cast<LPARAM>(other), "activate 2 other 1",
         0},
        {WM_CONTEXTMENU, reinterpret_cast<WPARAM>(other), MAKELPARAM(50, 60), "contextmenu self 50,60", 0},
        {WM_SYSCOMMAND, SC_CLOSE, 9, "syscommand 61536 9", 0},
        {WM_QUERYENDSESSION, 0, 0, "queryendsession", FALSE},
        {WM_ENDSESSION, TRUE, 0, "endsession 1", 0},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 0), 33, "parentnotify 513 33", 0},
        {WM_CAPTURECHANGED, 0, 0, "capturechanged null", 0},
        {WM_SETTINGCHANGE, 47, 0, "settingchange 47 null", 0},
        {WM_USER + 5, 11, 22, "user 11 22", 4242},
        {g_registeredMessage, 3, 0, "registered 3", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        wnd.log.clear();
        LRESULT r = ::SendMessageW(wnd.m_hWnd, c.msg, c.w, c.l);
        EXPECT_EQ(wnd.Last(), c.expected);
        EXPECT_EQ(r, c.result);
    }
    EXPECT_EQ(::SendMessageW(wnd.m_hWnd, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
    MINMAXINFO info{};
    ::SendMessageW(wnd.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 123);
}

TEST_F(MessageMapTest, MostDerivedEntryWinsAndBaseEntriesRemain) {
    DerivedWnd wnd;
    CreateTop(wnd);
    wnd.log.clear();
    ::SendMessageW(wnd.m_hWnd, WM_SIZE, 0, MAKELPARAM(55, 66));
    EXPECT_EQ(wnd.Last(), "derived size 55");
    ::SendMessageW(wnd.m_hWnd, WM_TIMER, 3, 0);
    EXPECT_EQ(wnd.Last(), "timer 3");
}

TEST_F(MessageMapTest, CommandsFromMenusHonourUpdateHandlersAndExEntries) {
    RecordingWnd wnd;
    CreateTop(wnd);
    wnd.log.clear();
    ::SendMessageW(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_CMD_PLAIN, 0), 0);
    ::SendMessageW(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_CMD_DISABLED, 0), 0);
    ::SendMessageW(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_CMD_EX, 1), 0);
    std::vector<std::string> expected = {"cmd plain", "ex first 202", "ex fallback"};
    EXPECT_EQ(wnd.log, expected);
}

TEST_F(MessageMapTest, ControlNotificationsGoToTheControlFirst) {
    RecordingWnd parent;
    CreateTop(parent);
    LPCTSTR cls = AfxRegisterWndClass(0);
    ReflectingChild button;
    ASSERT_TRUE(button.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, IDC_BUTTON));
    ReflectingChild edit;
    ASSERT_TRUE(edit.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 20, 10, 30), &parent, IDC_EDIT));
    HWND raw = ::CreateWindowExW(0, cls, u"", WS_CHILD, 0, 40, 10, 10, parent.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_RANGE_FIRST + 3)), nullptr,
                                 nullptr);
    ASSERT_NE(raw, nullptr);
    parent.log.clear();

    // The button reflects BN_CLICKED: the parent's handler does not run.
    ::SendMessageW(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_BUTTON, BN_CLICKED),
                   reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(button.log, std::vector<std::string>{"reflected bn_clicked"});
    // The edit has no reflection for EN_CHANGE: the parent's handler runs.
    ::SendMessageW(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_EDIT, EN_CHANGE),
                   reinterpret_cast<LPARAM>(edit.m_hWnd));
    // A control without an object: the range entry with its id.
    ::SendMessageW(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_RANGE_FIRST + 3, BN_CLICKED),
                   reinterpret_cast<LPARAM>(raw));
    std::vector<std::string> expected = {"en_change", "range 113"};
    EXPECT_EQ(parent.log, expected);

    // WM_NOTIFY: the reflecting _EX handler may take it (the parent never sees it) or decline.
    NMHDR hdr{edit.m_hWnd, IDC_EDIT, static_cast<UINT>(-12)};
    parent.log.clear();
    EXPECT_EQ(::SendMessageW(parent.m_hWnd, WM_NOTIFY, IDC_EDIT, reinterpret_cast<LPARAM>(&hdr)), 5);
    EXPECT_TRUE(parent.log.empty());
    edit.reflectNotify = FALSE;
    EXPECT_EQ(::SendMessageW(parent.m_hWnd, WM_NOTIFY, IDC_EDIT, reinterpret_cast<LPARAM>(&hdr)), 99);
    EXPECT_EQ(parent.log, std::vector<std::string>{"notify 102 -12"});

    // WM_CTLCOLOR: the control's brush wins; a null one leaves it to the parent's handler with the kind.
    HDC dc = ::GetDC(parent.m_hWnd);
    LRESULT brush = ::SendMessageW(parent.m_hWnd, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(brush, 0x55);
    EXPECT_EQ(button.log.back(), "reflected ctlcolor 3");
    button.colorBrush = false;
    parent.log.clear();
    brush = ::SendMessageW(parent.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(brush, 0x77);
    EXPECT_EQ(button.log.back(), "reflected ctlcolor 6");
    EXPECT_EQ(parent.log, std::vector<std::string>{"ctlcolor 6 dc wnd"});
    ::ReleaseDC(parent.m_hWnd, dc);
}

} // namespace
