// A combo box whose find requests compare case-sensitively: the receiver command names include pairs that
// differ only by case ("@@Ad" and "@@AD"). Its dropped list, once it shows, is subclassed by a list box
// that answers its own find requests the same way. Both search from the first item whatever start index is
// given, and answer -1 when nothing matches.
#pragma once

#include "platform/framework/AfxControls.h"

#include <vector>

// The index of the first item equal to (exact) or beginning with (prefix) the text, compared
// case-sensitively, from item 0; -1 when none.
int FindItemCaseSensitive(const std::vector<CString>& items, LPCTSTR text, bool exact);

class CCaseSensitiveListBox : public CListBox {
public:
    LRESULT OnFindString(WPARAM wParam, LPARAM lParam);
    LRESULT OnFindStringExact(WPARAM wParam, LPARAM lParam);

private:
    std::vector<CString> Items() const;

    DECLARE_MESSAGE_MAP()
};

class CCaseSensitiveComboBox : public CComboBox {
public:
    LRESULT OnFindString(WPARAM wParam, LPARAM lParam);
    LRESULT OnFindStringExact(WPARAM wParam, LPARAM lParam);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    BOOL IsDropListSubclassed() const { return m_dropListSubclassed; }
    CCaseSensitiveListBox& DropList() { return m_dropList; }

private:
    std::vector<CString> Items() const;

    CCaseSensitiveListBox m_dropList;
    BOOL m_dropListSubclassed = FALSE;

    DECLARE_MESSAGE_MAP()
};
