#include "platform/framework/CPropertySheet.h"

#include "platform/controls/CommonControls.h"
#include "platform/dialog/DialogTemplate.h"
#include "platform/display/VirtualKeys.h"

#include <algorithm>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CPropertySheet, CDialog)

namespace {

constexpr int kMargin = 7; // dialog units around the tab control and the buttons
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;

void PutWord(std::vector<BYTE>& out, WORD value) {
    out.push_back(static_cast<BYTE>(value & 0xff));
    out.push_back(static_cast<BYTE>(value >> 8));
}

void PutDword(std::vector<BYTE>& out, DWORD value) {
    PutWord(out, static_cast<WORD>(value & 0xffff));
    PutWord(out, static_cast<WORD>(value >> 16));
}

void PutString(std::vector<BYTE>& out, const std::u16string& text) {
    for (char16_t c : text) {
        PutWord(out, static_cast<WORD>(c));
    }
    PutWord(out, 0);
}

std::optional<DialogTemplateInfo> PageTemplate(const CPropertyPage* pPage) {
    std::size_t size = 0;
    const void* tmpl = AfxFindDialogTemplate(pPage->m_lpszTemplateName, &size);
    return tmpl ? DialogParseTemplate(tmpl, size) : std::nullopt;
}

constexpr DWORD kModalStyle = DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// A template with no items: the sheet's frame, in the pages' font so that dialog units agree.
std::vector<BYTE> SheetTemplate(const std::u16string& caption, const std::vector<CPropertyPage*>& pages,
                                DWORD style, DWORD exStyle) {
    WORD pointSize = 8;
    std::u16string face = u"MS Shell Dlg";
    for (const CPropertyPage* pPage : pages) {
        if (auto info = PageTemplate(pPage); info && info->hasFont) {
            pointSize = info->pointSize;
            face = info->faceName;
            break;
        }
    }
    std::vector<BYTE> out;
    PutDword(out, DS_SETFONT | style);
    PutDword(out, WS_EX_CONTROLPARENT | exStyle);
    PutWord(out, 0); // no items: OnInitDialog makes them
    for (int i = 0; i < 4; ++i) {
        PutWord(out, 0); // place and size, set by the layout
    }
    PutWord(out, 0); // no menu
    PutWord(out, 0); // the dialog class
    PutString(out, caption);
    PutWord(out, pointSize);
    PutString(out, face);
    return out;
}

} // namespace

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption ? pszCaption : u""), m_nStartPage(iSelectPage) {
    m_pParentWnd = pParentWnd;
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) : m_nStartPage(iSelectPage) {
    m_strCaption.LoadString(nIDCaption);
    m_pParentWnd = pParentWnd;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    if (!pPage) {
        return;
    }
    m_pages.push_back(pPage);
    if (m_hWndTab) {
        std::u16string text = static_cast<LPCTSTR>(pPage->GetCaption());
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<LPWSTR>(text.data());
        ::SendMessageW(m_hWndTab, TCM_INSERTITEMW, m_pages.size() - 1, reinterpret_cast<LPARAM>(&item));
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) {
    RemovePage(GetPageIndex(pPage));
}

void CPropertySheet::RemovePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount()) {
        return;
    }
    CPropertyPage* pPage = m_pages[static_cast<size_t>(nPage)];
    if (nPage == m_nCurPage && m_hWnd) {
        // Another page comes to the front first; the last page cannot go while the sheet is open.
        if (GetPageCount() == 1 || !ShowPage(nPage == 0 ? 1 : nPage - 1)) {
            return;
        }
    }
    if (pPage->m_hWnd) {
        m_changed.erase(pPage->m_hWnd);
        pPage->DestroyWindow();
    }
    m_pages.erase(m_pages.begin() + nPage);
    if (m_nCurPage > nPage) {
        --m_nCurPage;
    }
    if (m_hWndTab) {
        ::SendMessageW(m_hWndTab, TCM_DELETEITEM, static_cast<WPARAM>(nPage), 0);
        ::SendMessageW(m_hWndTab, TCM_SETCURSEL, static_cast<WPARAM>(m_nCurPage), 0);
    }
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
    auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    return GetPage(m_nCurPage);
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (!m_hWnd) {
        if (nPage < 0 || nPage >= GetPageCount()) {
            return FALSE;
        }
        m_nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    CPropertyPage* pCurrent = GetActivePage();
    if (nPage == m_nCurPage) {
        return TRUE;
    }
    if (pCurrent && pCurrent->m_hWnd && !pCurrent->OnKillActive()) {
        return FALSE;
    }
    return ShowPage(nPage);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) {
    return SetActivePage(GetPageIndex(pPage));
}

void CPropertySheet::SetTitle(LPCTSTR lpszText) {
    m_strCaption = lpszText ? lpszText : u"";
    if (m_hWnd) {
        ::SetWindowTextW(m_hWnd, m_strCaption);
    }
}

void CPropertySheet::PressButton(int nButton) {
    switch (nButton) {
    case PSBTN_OK:
        OnOK();
        break;
    case PSBTN_CANCEL:
        OnCancel();
        break;
    case PSBTN_APPLYNOW:
        ApplyChanges(FALSE);
        break;
    default:
        break;
    }
}

INT_PTR CPropertySheet::DoModal() {
    if (m_pages.empty()) {
        return -1;
    }
    m_bModeless = FALSE;
    m_template = SheetTemplate(static_cast<LPCTSTR>(m_strCaption), m_pages, kModalStyle, 0);
    InitModalIndirect(m_template.data(), m_template.size(), m_pParentWnd);
    m_nCurPage = -1;
    m_changed.clear();
    INT_PTR result = CDialog::DoModal();
    m_hWndTab = nullptr;
    return result;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
    if (m_pages.empty() || m_hWnd) {
        return FALSE;
    }
    if (pParentWnd) {
        m_pParentWnd = pParentWnd;
    }
    m_bModeless = TRUE;
    m_template = SheetTemplate(static_cast<LPCTSTR>(m_strCaption), m_pages,
                               dwStyle == static_cast<DWORD>(-1) ? kModalStyle | WS_VISIBLE : dwStyle, dwExStyle);
    m_nCurPage = -1;
    m_changed.clear();
    // Owned by the owner's top-level window, so it stays above it and goes with it.
    CWnd* pOwner = m_pParentWnd && m_pParentWnd->GetSafeHwnd()
                       ? CWnd::FromHandle(::GetAncestor(m_pParentWnd->m_hWnd, GA_ROOT))
                       : nullptr;
    return CreateIndirect(m_template.data(), m_template.size(), pOwner);
}

BOOL CPropertySheet::OnInitDialog() {
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    m_hWndTab = ::CreateWindowExW(0, WC_TABCONTROLW, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                                  0, 0, 0, 0, m_hWnd, nullptr, nullptr, nullptr);
    ::SendMessageW(m_hWndTab, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (size_t i = 0; i < m_pages.size(); ++i) {
        std::u16string text = static_cast<LPCTSTR>(m_pages[i]->GetCaption());
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<LPWSTR>(text.data());
        ::SendMessageW(m_hWndTab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    struct Button {
        int id;
        const char16_t* text;
        DWORD style;
    };
    std::vector<Button> buttons{{IDOK, u"OK", BS_DEFPUSHBUTTON}, {IDCANCEL, u"Cancel", BS_PUSHBUTTON},
                                {ID_APPLY_NOW, u"&Apply", BS_PUSHBUTTON | WS_DISABLED}};
    if (m_bModeless) {
        // Nothing to confirm: Close goes, keeping what was applied.
        buttons.erase(buttons.begin());
        buttons.front() = {IDCANCEL, u"Close", BS_DEFPUSHBUTTON};
    }
    for (const Button& b : buttons) {
        HWND button = ::CreateWindowExW(0, u"Button", b.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | b.style, 0, 0, 0, 0,
                                        m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), nullptr, nullptr);
        ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (m_bModeless) {
        SetDefID(IDCANCEL);
    }
    Layout();
    UINT start = m_nStartPage < m_pages.size() ? m_nStartPage : 0;
    if (!ShowPage(static_cast<int>(start)) && start != 0) {
        ShowPage(0);
    }
    return TRUE;
}

// The tab control fits the largest page's template; the buttons sit under it at the right; the sheet's
// window fits both.
void CPropertySheet::Layout() {
    RECT page{0, 0, 0, 0};
    for (const CPropertyPage* pPage : m_pages) {
        if (auto info = PageTemplate(pPage)) {
            page.right = std::max<LONG>(page.right, info->cx);
            page.bottom = std::max<LONG>(page.bottom, info->cy);
        }
    }
    RECT margin{0, 0, kMargin, kMargin};
    RECT button{0, 0, kButtonWidth, kButtonHeight};
    RECT gap{0, 0, kButtonGap, kButtonGap};
    MapDialogRect(&page);
    MapDialogRect(&margin);
    MapDialogRect(&button);
    MapDialogRect(&gap);
    RECT tab = page;
    ::SendMessageW(m_hWndTab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&tab));
    ::OffsetRect(&tab, margin.right - tab.left, margin.bottom - tab.top);
    ::MoveWindow(m_hWndTab, tab.left, tab.top, tab.right - tab.left, tab.bottom - tab.top, FALSE);
    m_rcPage = tab;
    ::OffsetRect(&m_rcPage, -tab.left, -tab.top);
    ::SendMessageW(m_hWndTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&m_rcPage));
    ::OffsetRect(&m_rcPage, tab.left, tab.top);

    int width = tab.right + margin.right;
    int top = tab.bottom + margin.bottom;
    int x = tab.right;
    for (int id : {ID_APPLY_NOW, IDCANCEL, IDOK}) {
        if (HWND item = ::GetDlgItem(m_hWnd, id)) {
            x -= button.right;
            ::MoveWindow(item, x, top, button.right, button.bottom, FALSE);
            x -= gap.right;
        }
    }
    RECT frame{0, 0, width, top + button.bottom + margin.bottom};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(GetStyle()), FALSE, static_cast<DWORD>(GetExStyle()));
    SetWindowPos(nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Centred again on the owner now that the size is known.
    CenterWindow();
}

BOOL CPropertySheet::CreatePage(CPropertyPage* pPage) {
    if (pPage->m_hWnd) {
        return TRUE;
    }
    if (!pPage->Create(pPage->m_lpszTemplateName, this)) {
        return FALSE;
    }
    // A page (its template a child's) has no frame of its own, whatever caption its template names.
    pPage->ShowWindow(SW_HIDE);
    pPage->ModifyStyle(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 0, 0);
    pPage->ModifyStyleEx(0, WS_EX_CONTROLPARENT, 0);
    // Above the tab control, which clips out what lies above it and would paint over the page otherwise.
    ::SetWindowPos(pPage->m_hWnd, HWND_TOP, m_rcPage.left, m_rcPage.top, m_rcPage.right - m_rcPage.left,
                   m_rcPage.bottom - m_rcPage.top, SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (pPage->IsModified()) {
        m_changed.insert(pPage->m_hWnd);
        GetDlgItem(ID_APPLY_NOW)->EnableWindow(TRUE);
    }
    return TRUE;
}

// Shows a page without asking the one in front (the caller has).
BOOL CPropertySheet::ShowPage(int nPage) {
    CPropertyPage* pPage = GetPage(nPage);
    if (!pPage || !CreatePage(pPage) || !pPage->OnSetActive()) {
        return FALSE;
    }
    if (CPropertyPage* pOld = GetActivePage(); pOld && pOld != pPage && pOld->m_hWnd) {
        // The focus leaves a page before it hides (hiding the focus would deactivate the sheet).
        HWND focus = ::GetFocus();
        if (focus == pOld->m_hWnd || ::IsChild(pOld->m_hWnd, focus)) {
            ::SetFocus(m_hWndTab);
        }
        pOld->ShowWindow(SW_HIDE);
    }
    m_nCurPage = nPage;
    ::SendMessageW(m_hWndTab, TCM_SETCURSEL, static_cast<WPARAM>(nPage), 0);
    pPage->ShowWindow(SW_SHOW);
    return TRUE;
}

void CPropertySheet::Step(int nDelta) {
    int count = GetPageCount();
    if (count < 2) {
        return;
    }
    SetActivePage(((m_nCurPage + nDelta) % count + count) % count);
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (::GetKeyState(VK_CONTROL) & 0x8000) &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
        switch (pMsg->wParam) {
        case VK_TAB:
            Step(shift ? -1 : 1);
            return TRUE;
        case VK_NEXT:
            Step(1);
            return TRUE;
        case VK_PRIOR:
            Step(-1);
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

BOOL CPropertySheet::ApplyChanges(BOOL bAllPages) {
    CPropertyPage* pCurrent = GetActivePage();
    if (pCurrent && pCurrent->m_hWnd && !pCurrent->OnKillActive()) {
        return FALSE;
    }
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* pPage = m_pages[static_cast<size_t>(i)];
        if (!pPage->m_hWnd || (!bAllPages && !pPage->IsModified())) {
            continue;
        }
        if (!pPage->OnApply()) {
            SetActivePage(i);
            return FALSE;
        }
    }
    return TRUE;
}

void CPropertySheet::EndSheet(int nResult) {
    if (m_bModeless) {
        DestroyWindow();
    } else {
        EndDialog(nResult);
    }
}

void CPropertySheet::OnOK() {
    if (ApplyChanges(TRUE)) {
        EndSheet(IDOK);
    }
}

void CPropertySheet::OnCancel() {
    CPropertyPage* pCurrent = GetActivePage();
    if (pCurrent && pCurrent->m_hWnd && !pCurrent->OnQueryCancel()) {
        return;
    }
    for (CPropertyPage* pPage : m_pages) {
        if (pPage->m_hWnd) {
            pPage->OnReset();
        }
    }
    EndSheet(IDCANCEL);
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == ID_APPLY_NOW && HIWORD(wParam) == BN_CLICKED) {
        ApplyChanges(FALSE);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CPropertySheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
    if (nm && nm->hwndFrom == m_hWndTab && m_hWndTab) {
        if (nm->code == TCN_SELCHANGING) {
            CPropertyPage* pCurrent = GetActivePage();
            *pResult = pCurrent && pCurrent->m_hWnd && !pCurrent->OnKillActive();
            return TRUE;
        }
        if (nm->code == TCN_SELCHANGE) {
            int wanted = static_cast<int>(::SendMessageW(m_hWndTab, TCM_GETCURSEL, 0, 0));
            if (!ShowPage(wanted)) {
                ::SendMessageW(m_hWndTab, TCM_SETCURSEL, static_cast<WPARAM>(m_nCurPage), 0);
            }
            *pResult = 0;
            return TRUE;
        }
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CPropertySheet::OnPageChanged(HWND hWndPage, BOOL bChanged) {
    if (bChanged) {
        m_changed.insert(hWndPage);
    } else {
        m_changed.erase(hWndPage);
    }
    if (CWnd* pApply = GetDlgItem(ID_APPLY_NOW)) {
        pApply->EnableWindow(!m_changed.empty());
    }
}

LRESULT CPropertySheet::OnQuerySiblings(WPARAM wParam, LPARAM lParam) {
    for (CPropertyPage* pPage : m_pages) {
        if (pPage->m_hWnd) {
            if (LRESULT answer = pPage->SendMessage(PSM_QUERYSIBLINGS, wParam, lParam)) {
                return answer;
            }
        }
    }
    return 0;
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case PSM_CHANGED:
    case PSM_UNCHANGED:
        OnPageChanged(reinterpret_cast<HWND>(wParam), message == PSM_CHANGED);
        return 0;
    case PSM_SETCURSEL: {
        int nPage = lParam ? GetPageIndex(dynamic_cast<CPropertyPage*>(CWnd::FromHandlePermanent(
                                 reinterpret_cast<HWND>(lParam))))
                           : static_cast<int>(wParam);
        return SetActivePage(nPage);
    }
    case PSM_QUERYSIBLINGS:
        return OnQuerySiblings(wParam, lParam);
    case PSM_APPLY:
        return ApplyChanges(FALSE);
    case PSM_PRESSBUTTON:
        PressButton(static_cast<int>(wParam));
        return 0;
    case PSM_CANCELTOCLOSE:
        SetDlgItemTextW(IDCANCEL, u"Close");
        return 0;
    case PSM_GETTABCONTROL:
        return reinterpret_cast<LRESULT>(m_hWndTab);
    case PSM_GETCURRENTPAGEHWND: {
        CPropertyPage* pPage = GetActivePage();
        return reinterpret_cast<LRESULT>(pPage ? pPage->m_hWnd : nullptr);
    }
    case WM_DESTROY:
        // The pages go with the sheet; a modeless one may be made again.
        m_hWndTab = nullptr;
        m_changed.clear();
        return CDialog::WindowProc(message, wParam, lParam);
    default:
        return CDialog::WindowProc(message, wParam, lParam);
    }
}
