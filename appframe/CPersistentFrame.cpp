#include "appframe/CPersistentFrame.h"

#include "platform/framework/CWinApp.h"

#include <cwctype>

IMPLEMENT_DYNAMIC(CPersistentFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CPersistentFrame, CFrameWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

const TCHAR CPersistentFrame::s_profileSection[] = u"Window size";

namespace {

const TCHAR kRectKey[] = u"Rect";
const TCHAR kIconKey[] = u"icon";
const TCHAR kMaxKey[] = u"max";
const CRect kDefaultRect(10, 10, 660, 500);

// The bar-state calls exist once the frame supports docking bars.
template <class Frame>
void LoadBars(Frame& frame, [[maybe_unused]] LPCTSTR profileName) {
    if constexpr (requires { frame.LoadBarState(profileName); }) {
        frame.LoadBarState(profileName);
    }
}

template <class Frame>
void SaveBars(Frame& frame, [[maybe_unused]] LPCTSTR profileName) {
    if constexpr (requires { frame.SaveBarState(profileName); }) {
        frame.SaveBarState(profileName);
    }
}

} // namespace

std::vector<int> ParsePlacementNumbers(const CString& text) {
    // Fields are separated by blanks; a sign belongs to its number.
    std::vector<int> numbers;
    const std::u16string& s = text.str();
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i] == u' ') {
            ++i;
        }
        if (i >= s.size()) {
            break;
        }
        size_t start = i;
        while (i < s.size() && s[i] != u' ') {
            ++i;
        }
        long value = 0;
        bool negative = false;
        size_t k = start;
        if (k < i && (s[k] == u'-' || s[k] == u'+')) {
            negative = s[k] == u'-';
            ++k;
        }
        for (; k < i && s[k] >= u'0' && s[k] <= u'9'; ++k) {
            value = value * 10 + (s[k] - u'0');
            if (value > 1000000) {
                break;
            }
        }
        numbers.push_back(static_cast<int>(negative ? -value : value));
    }
    return numbers;
}

CPersistentFrame::CPersistentFrame() = default;

void CPersistentFrame::ActivateFrame(int nCmdShow) {
    if (!m_firstActivation) {
        CFrameWnd::ActivateFrame(nCmdShow);
        return;
    }
    m_firstActivation = 0;
    CWinApp* app = AfxGetApp();

    CRect normal = kDefaultRect;
    POINT maxPosition{0, 0};
    CString text = app->GetProfileString(s_profileSection, kRectKey, u"");
    if (!text.IsEmpty()) {
        std::vector<int> n = ParsePlacementNumbers(text);
        n.resize(std::max<size_t>(n.size(), 4), 0);
        normal.SetRect(n[0], n[1], n[2], n[3]);
        if (n.size() >= 6) {
            maxPosition.x = std::max(n[4], 0);
            maxPosition.y = std::max(n[5], 0);
        }
    }

    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    GetWindowPlacement(&wp);
    m_frameWidth = wp.rcNormalPosition.right - wp.rcNormalPosition.left;
    m_frameHeight = wp.rcNormalPosition.bottom - wp.rcNormalPosition.top;
    if (m_keepCurrentSize) {
        normal.right = normal.left + m_frameWidth;
        normal.bottom = normal.top + m_frameHeight;
    }

    BOOL iconic = app->GetProfileInt(s_profileSection, kIconKey, 0);
    BOOL maximised = app->GetProfileInt(s_profileSection, kMaxKey, 0);
    if (iconic) {
        nCmdShow = SW_SHOWMINNOACTIVE;
        wp.flags = maximised ? WPF_RESTORETOMAXIMIZED : WPF_SETMINPOSITION;
    } else if (maximised) {
        nCmdShow = SW_SHOWMAXIMIZED;
        wp.flags = WPF_RESTORETOMAXIMIZED;
    } else {
        nCmdShow = SW_SHOWNORMAL;
        wp.flags = WPF_SETMINPOSITION;
    }
    wp.showCmd = static_cast<UINT>(nCmdShow);
    wp.ptMinPosition = POINT{0, 0};
    wp.ptMaxPosition = maxPosition;
    wp.rcNormalPosition = normal;

    LoadControlBarState();
    SetWindowPlacement(&wp);
    CFrameWnd::ActivateFrame(nCmdShow);
}

void CPersistentFrame::OnDestroy() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (GetWindowPlacement(&wp)) {
        int iconic = 0;
        int maximised = 0;
        if (wp.showCmd == SW_SHOWMAXIMIZED) {
            maximised = 1;
        } else if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_SHOWMINNOACTIVE ||
                   wp.showCmd == SW_MINIMIZE) {
            iconic = 1;
            maximised = wp.flags != 0 ? 1 : 0;
        }
        const RECT& r = wp.rcNormalPosition;
        CString text;
        if (m_saveMaxPosition) {
            text.Format(u"%04d %04d %04d %04d %04d %04d", r.left, r.top, r.right, r.bottom,
                        wp.ptMaxPosition.x, wp.ptMaxPosition.y);
        } else {
            text.Format(u"%04d %04d %04d %04d", r.left, r.top, r.right, r.bottom);
        }
        CWinApp* app = AfxGetApp();
        app->WriteProfileString(s_profileSection, kRectKey, text);
        app->WriteProfileInt(s_profileSection, kIconKey, iconic);
        app->WriteProfileInt(s_profileSection, kMaxKey, maximised);
        SaveControlBarState();
    }
    CFrameWnd::OnDestroy();
}

void CPersistentFrame::LoadControlBarState() {
    LoadBars(*this, AfxGetApp()->m_pszProfileName);
}

void CPersistentFrame::SaveControlBarState() {
    SaveBars(*this, AfxGetApp()->m_pszProfileName);
}
