#include "appframe/CaseSensitiveComboBox.h"

int FindItemCaseSensitive(const std::vector<CString>& items, LPCTSTR text, bool exact) {
    const CString wanted = text ? text : u"";
    for (std::size_t i = 0; i < items.size(); ++i) {
        const CString& item = items[i];
        if (exact ? item == wanted : item.Left(wanted.GetLength()) == wanted) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// ---- CCaseSensitiveListBox

BEGIN_MESSAGE_MAP(CCaseSensitiveListBox, CListBox)
ON_MESSAGE(LB_FINDSTRING, OnFindString)
ON_MESSAGE(LB_FINDSTRINGEXACT, OnFindStringExact)
END_MESSAGE_MAP()

std::vector<CString> CCaseSensitiveListBox::Items() const {
    std::vector<CString> items;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        CString text;
        GetText(i, text);
        items.push_back(text);
    }
    return items;
}

LRESULT CCaseSensitiveListBox::OnFindString(WPARAM, LPARAM lParam) {
    return FindItemCaseSensitive(Items(), reinterpret_cast<LPCTSTR>(lParam), false);
}

LRESULT CCaseSensitiveListBox::OnFindStringExact(WPARAM, LPARAM lParam) {
    return FindItemCaseSensitive(Items(), reinterpret_cast<LPCTSTR>(lParam), true);
}

// ---- CCaseSensitiveComboBox

BEGIN_MESSAGE_MAP(CCaseSensitiveComboBox, CComboBox)
ON_MESSAGE(CB_FINDSTRING, OnFindString)
ON_MESSAGE(CB_FINDSTRINGEXACT, OnFindStringExact)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

std::vector<CString> CCaseSensitiveComboBox::Items() const {
    std::vector<CString> items;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        CString text;
        GetLBText(i, text);
        items.push_back(text);
    }
    return items;
}

// Every combo answers from its own items, whether or not its dropped list has been seen yet.
LRESULT CCaseSensitiveComboBox::OnFindString(WPARAM, LPARAM lParam) {
    return FindItemCaseSensitive(Items(), reinterpret_cast<LPCTSTR>(lParam), false);
}

LRESULT CCaseSensitiveComboBox::OnFindStringExact(WPARAM, LPARAM lParam) {
    return FindItemCaseSensitive(Items(), reinterpret_cast<LPCTSTR>(lParam), true);
}

HBRUSH CCaseSensitiveComboBox::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (nCtlColor != CTLCOLOR_LISTBOX) {
        return CComboBox::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    if (!m_dropListSubclassed && pWnd && pWnd->m_hWnd != m_hWnd && !m_dropList.m_hWnd) {
        if (m_dropList.SubclassWindow(pWnd->m_hWnd)) {
            m_dropList.SetOwner(this);
            m_dropListSubclassed = TRUE;
        }
    }
    return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}
