#include "platform/framework/CCheckListBox.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/SystemColors.h"
#include "platform/gdi/UserDraw.h"

#include <algorithm>
#include <string>

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

namespace {
constexpr int kBoxSize = 13;
}

CCheckListBox::CCheckListBox() = default;
CCheckListBox::~CCheckListBox() = default;

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    dwStyle &= ~static_cast<DWORD>(LBS_OWNERDRAWVARIABLE);
    return CListBox::Create(dwStyle | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, rect, pParentWnd, nID);
}

void CCheckListBox::PreSubclassWindow() {
    CListBox::PreSubclassWindow();
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // Items already there (a list from a template) start unchecked.
        // Called before the window's procedure is replaced: the messages still go to the list itself.
        int count = static_cast<int>(::SendMessageW(m_hWnd, LB_GETCOUNT, 0, 0));
        m_states.assign(static_cast<std::size_t>(std::max(0, count)), ItemState{});
        if (::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)) {
            ::SendMessageW(m_hWnd, LB_SETITEMHEIGHT, 0, ItemHeightForFont());
        }
    }
}

int CCheckListBox::ItemHeightForFont() const {
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(WM_GETFONT)));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    return std::max(static_cast<int>(tm.tmHeight), kBoxSize) + 2;
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(ItemHeightForFont());
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CListBox::WindowProc(message, wParam, lParam);
    switch (message) {
    case WM_SETFONT:
        SetItemHeight(0, static_cast<UINT>(ItemHeightForFont()));
        break;
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
        if (result >= 0 && static_cast<std::size_t>(result) <= m_states.size()) {
            m_states.insert(m_states.begin() + result, ItemState{});
        }
        break;
    case LB_DELETESTRING:
        if (result != LB_ERR && wParam < m_states.size()) {
            m_states.erase(m_states.begin() + static_cast<std::ptrdiff_t>(wParam));
        }
        break;
    case LB_RESETCONTENT:
        m_states.clear();
        break;
    default:
        break;
    }
    return result;
}

void CCheckListBox::SetCheckStyle(UINT nStyle) {
    m_nStyle = nStyle;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck) {
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= m_states.size()) {
        return;
    }
    if (nCheck == 2 && m_nStyle != BS_3STATE && m_nStyle != BS_AUTO3STATE) {
        nCheck = 1;
    }
    m_states[static_cast<std::size_t>(nIndex)].check = nCheck;
    CRect item;
    if (GetItemRect(nIndex, &item) != LB_ERR) {
        InvalidateRect(&item, FALSE);
    }
}

int CCheckListBox::GetCheck(int nIndex) const {
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= m_states.size()) {
        return 0;
    }
    return m_states[static_cast<std::size_t>(nIndex)].check;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled) {
    if (nIndex >= 0 && static_cast<std::size_t>(nIndex) < m_states.size()) {
        m_states[static_cast<std::size_t>(nIndex)].enabled = bEnabled != FALSE;
        CRect item;
        if (GetItemRect(nIndex, &item) != LB_ERR) {
            InvalidateRect(&item, FALSE);
        }
    }
}

BOOL CCheckListBox::IsEnabled(int nIndex) const {
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= m_states.size()) {
        return FALSE;
    }
    return m_states[static_cast<std::size_t>(nIndex)].enabled ? TRUE : FALSE;
}

CRect CCheckListBox::CheckRect(const RECT& item) const {
    int top = item.top + ((item.bottom - item.top) - kBoxSize) / 2;
    return CRect(item.left + 2, top, item.left + 2 + kBoxSize, top + kBoxSize);
}

void CCheckListBox::Toggle(int nIndex) {
    if (!IsEnabled(nIndex)) {
        return;
    }
    int check = GetCheck(nIndex);
    if (m_nStyle == BS_AUTOCHECKBOX) {
        SetCheck(nIndex, check ? 0 : 1);
    } else if (m_nStyle == BS_AUTO3STATE) {
        SetCheck(nIndex, (check + 1) % 3);
    }
    if (CWnd* pParent = GetParent()) {
        pParent->SendMessageW(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE),
                              reinterpret_cast<LPARAM>(m_hWnd));
    }
}

void CCheckListBox::OnLButtonDown(UINT, CPoint point) {
    BOOL outside = TRUE;
    UINT index = ItemFromPoint(point, outside);
    if (!outside) {
        CRect item;
        GetItemRect(static_cast<int>(index), &item);
        CRect box = CheckRect(item);
        box.InflateRect(2, 2);
        if (box.PtInRect(point)) {
            Toggle(static_cast<int>(index));
        }
    }
    Default();
}

void CCheckListBox::OnLButtonDblClk(UINT nFlags, CPoint point) {
    // A double click on the box is a second click on it.
    OnLButtonDown(nFlags, point);
}

void CCheckListBox::OnKeyDown(UINT nChar, UINT, UINT) {
    if (nChar == VK_SPACE) {
        int index = GetCaretIndex();
        if (index >= 0) {
            Toggle(index);
        }
    }
    Default();
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT dis) {
    if (static_cast<int>(dis->itemID) < 0 || dis->itemID == static_cast<UINT>(-1)) {
        if (dis->itemState & ODS_FOCUS) {
            ::DrawFocusRect(dis->hDC, &dis->rcItem);
        }
        return;
    }
    int index = static_cast<int>(dis->itemID);
    bool selected = (dis->itemState & ODS_SELECTED) != 0;
    bool enabled = IsEnabled(index) && IsWindowEnabled();
    CRect item(dis->rcItem);
    CRect box = CheckRect(item);

    HBRUSH back = ::GetSysColorBrush(COLOR_WINDOW);
    ::FillRect(dis->hDC, &item, back);
    UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
    int check = GetCheck(index);
    if (check == 1) {
        state |= DFCS_CHECKED;
    } else if (check == 2) {
        state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    }
    if (!enabled) {
        state |= DFCS_INACTIVE;
    }
    ::DrawFrameControl(dis->hDC, &box, DFC_BUTTON, state);

    CRect text(box.right + 3, item.top, item.right, item.bottom);
    if (selected) {
        ::FillRect(dis->hDC, &text, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    CString label;
    GetText(index, label);
    int oldMode = ::SetBkMode(dis->hDC, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(dis->hDC, ::GetSysColor(!enabled   ? COLOR_GRAYTEXT
                                                               : selected ? COLOR_HIGHLIGHTTEXT
                                                                          : COLOR_WINDOWTEXT));
    CRect inner = text;
    inner.left += 2;
    ::DrawTextW(dis->hDC, label, -1, &inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SetTextColor(dis->hDC, oldColor);
    ::SetBkMode(dis->hDC, oldMode);
    if (dis->itemState & ODS_FOCUS) {
        ::DrawFocusRect(dis->hDC, &text);
    }
}
