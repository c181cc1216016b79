// A list box whose items carry a check box: an owner-drawn list (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS) that
// draws the box before each text. A click on the box or Space toggles the item and tells the parent with
// WM_COMMAND(CLBN_CHKCHANGE). The check states follow the items as they are added, inserted and deleted; the
// item data stays the program's own.
#pragma once

#include "platform/framework/AfxControls.h"

#include <vector>

#define CLBN_CHKCHANGE 40

class CCheckListBox : public CListBox {
    DECLARE_DYNAMIC(CCheckListBox)

public:
    CCheckListBox();
    ~CCheckListBox() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // BS_CHECKBOX, BS_AUTOCHECKBOX, BS_3STATE or BS_AUTO3STATE (the auto styles toggle by themselves).
    void SetCheckStyle(UINT nStyle);
    UINT GetCheckStyle() const { return m_nStyle; }
    void SetCheck(int nIndex, int nCheck);
    int GetCheck(int nIndex) const;
    void Enable(int nIndex, BOOL bEnabled = TRUE);
    BOOL IsEnabled(int nIndex) const;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PreSubclassWindow() override;

protected:
    struct ItemState {
        int check = 0;
        bool enabled = true;
    };
    // The check box of an item, in client coordinates.
    CRect CheckRect(const RECT& item) const;
    int ItemHeightForFont() const;
    void Toggle(int nIndex);

    UINT m_nStyle = BS_AUTOCHECKBOX;
    std::vector<ItemState> m_states;

    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

    DECLARE_MESSAGE_MAP()
};
