#include "toolkit/SECToolBarCmdPage.h"

#include "toolkit/SECBmpMgr.h"
#include "toolkit/SECToolBarListPage.h"
#include "toolkit/SECToolBarManager.h"
#include "toolkit/ToolkitResourceIds.h"

#include "platform/framework/CDC.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

IMPLEMENT_DYNAMIC(SECToolBarCmdPage, CPropertyPage)

namespace {

constexpr int kInset = 8;     // between the group box and the first button
constexpr int kCaption = 16;  // the group box's title line
constexpr int kPadding = 7;   // around an image, as on a toolbar button
constexpr int kDragDistance = 3;

} // namespace

CString SECCommandDescription(UINT nID) {
    CString text;
    if (!nID || !text.LoadString(nID)) {
        return CString();
    }
    std::u16string s = static_cast<LPCTSTR>(text);
    return CString(s.substr(0, s.find(u'\n')).c_str());
}

SECToolBarCmdPage::SECToolBarCmdPage(SECToolBarManager* pManager)
    : CPropertyPage(IDD_SEC_COMMANDS_PAGE), m_pManager(pManager) {}

BOOL SECToolBarCmdPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    for (const SECDefaultToolBar& group : m_pManager->m_defaults) {
        SendDlgItemMessageW(IDC_SEC_CATEGORIES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(
                                                                      static_cast<LPCTSTR>(group.strTitle)));
    }
    SelectCategory(0);
    SECBeginCustomizePage(m_pManager, this);
    return TRUE;
}

void SECToolBarCmdPage::SelectCategory(int nIndex) {
    m_buttons.clear();
    if (nIndex >= 0 && nIndex < static_cast<int>(m_pManager->m_defaults.size())) {
        for (UINT nID : m_pManager->m_defaults[static_cast<size_t>(nIndex)].buttons) {
            if (nID) {
                m_buttons.push_back(nID);
            }
        }
    }
    if (m_hWnd) {
        SendDlgItemMessageW(IDC_SEC_CATEGORIES, LB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
        SelectButton(-1);
        Invalidate();
    }
}

void SECToolBarCmdPage::SelectButton(int nIndex) {
    m_nSelected = nIndex >= 0 && nIndex < static_cast<int>(m_buttons.size()) ? nIndex : -1;
    if (m_hWnd) {
        CString text = m_nSelected >= 0 ? SECCommandDescription(m_buttons[static_cast<size_t>(m_nSelected)]) : CString();
        SetDlgItemTextW(IDC_SEC_DESCRIPTION, text);
        InvalidateRect(ButtonArea(), TRUE);
    }
}

CSize SECToolBarCmdPage::CellSize() const {
    SECBmpMgr* pBmp = m_pManager->GetBmpMgr();
    int cx = pBmp ? pBmp->GetImageWidth() : 16;
    int cy = pBmp ? pBmp->GetImageHeight() : 15;
    return CSize(cx + kPadding, cy + kPadding);
}

CRect SECToolBarCmdPage::ButtonArea() const {
    CRect area;
    if (HWND box = ::GetDlgItem(m_hWnd, IDC_SEC_BUTTONS)) {
        ::GetWindowRect(box, &area);
        ScreenToClient(&area);
        area.DeflateRect(kInset, kCaption, kInset, kInset);
    }
    return area;
}

// Buttons fill the area row by row.
CRect SECToolBarCmdPage::ButtonRect(int nIndex) const {
    CRect area = ButtonArea();
    CSize cell = CellSize();
    int perRow = std::max(1, static_cast<int>(area.Width() / cell.cx));
    int x = area.left + (nIndex % perRow) * cell.cx;
    int y = area.top + (nIndex / perRow) * cell.cy;
    return CRect(x, y, x + cell.cx, y + cell.cy);
}

int SECToolBarCmdPage::HitTest(CPoint point) const {
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
        if (ButtonRect(i).PtInRect(point)) {
            return i;
        }
    }
    return -1;
}

void SECToolBarCmdPage::Paint(CDC* pDC) {
    SECBmpMgr* pBmp = m_pManager->GetBmpMgr();
    HDC memory = ::CreateCompatibleDC(pDC->GetSafeHdc());
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
        CRect rect = ButtonRect(i);
        if (i == m_nSelected) {
            CRect edge = rect;
            ::DrawEdge(pDC->GetSafeHdc(), &edge, BDR_SUNKENOUTER, BF_RECT);
        }
        HBITMAP hbm = nullptr;
        int nImage = 0;
        if (!pBmp || !pBmp->FindBitmap(m_buttons[static_cast<size_t>(i)], hbm, nImage)) {
            continue;
        }
        HGDIOBJ old = ::SelectObject(memory, hbm);
        int cx = pBmp->GetImageWidth();
        int cy = pBmp->GetImageHeight();
        int offset = i == m_nSelected ? 1 : 0; // a pressed button's image moves with it
        ::BitBlt(pDC->GetSafeHdc(), rect.left + kPadding / 2 + offset, rect.top + kPadding / 2 + offset, cx, cy,
                 memory, nImage * cx, 0, SRCCOPY);
        ::SelectObject(memory, old);
    }
    ::DeleteDC(memory);
}

void SECToolBarCmdPage::OnLButtonDown(CPoint point) {
    m_nPressed = HitTest(point);
    m_bDragging = FALSE;
    SelectButton(m_nPressed);
    if (m_nPressed >= 0) {
        m_ptDown = point;
        SetCapture();
    }
}

void SECToolBarCmdPage::OnMouseMove(CPoint point) {
    if (m_nPressed >= 0 && !m_bDragging &&
        (std::abs(point.x - m_ptDown.x) > kDragDistance || std::abs(point.y - m_ptDown.y) > kDragDistance)) {
        m_bDragging = TRUE;
    }
}

void SECToolBarCmdPage::OnLButtonUp(CPoint point) {
    int nPressed = m_nPressed;
    BOOL bDragged = m_bDragging;
    m_nPressed = -1;
    m_bDragging = FALSE;
    if (GetCapture() == this) {
        ReleaseCapture();
    }
    if (nPressed < 0 || !bDragged) {
        return;
    }
    // The button's outline, centred where the mouse let go.
    CSize cell = CellSize();
    CRect rect(point.x - cell.cx / 2, point.y - cell.cy / 2, point.x - cell.cx / 2 + cell.cx,
               point.y - cell.cy / 2 + cell.cy);
    ClientToScreen(&rect);
    DropButton(nPressed, rect);
}

BOOL SECToolBarCmdPage::DropButton(int nIndex, const CRect& rectScreen) {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size())) {
        return FALSE;
    }
    // Any toolbar of the manager finishes the drop: the button comes from no toolbar, so it is copied.
    std::vector<SECCustomToolBar*> bars = m_pManager->ToolBars();
    if (bars.empty()) {
        return FALSE;
    }
    std::unique_ptr<SECStdBtn> pBtn(bars.front()->CreateButton(m_buttons[static_cast<size_t>(nIndex)]));
    if (!pBtn) {
        return FALSE;
    }
    pBtn->m_pToolBar = nullptr;
    return bars.front()->FinishDrag(pBtn.get(), rectScreen, TRUE);
}

BOOL SECToolBarCmdPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_SEC_CATEGORIES && HIWORD(wParam) == LBN_SELCHANGE) {
        SelectCategory(static_cast<int>(SendDlgItemMessageW(IDC_SEC_CATEGORIES, LB_GETCURSEL, 0, 0)));
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

LRESULT SECToolBarCmdPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    if (message == SECGetToolBarStyleChangingMessage()) {
        Invalidate(); // large buttons change the cells
        return 0;
    }
    switch (message) {
    case WM_PAINT: {
        LRESULT result = CPropertyPage::WindowProc(message, wParam, lParam);
        CClientDC dc(this);
        Paint(&dc);
        return result;
    }
    case WM_LBUTTONDOWN:
        OnLButtonDown(point);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(point);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(point);
        return 0;
    case WM_DESTROY:
        SECEndCustomizePage(m_pManager, this);
        break;
    default:
        break;
    }
    return CPropertyPage::WindowProc(message, wParam, lParam);
}
