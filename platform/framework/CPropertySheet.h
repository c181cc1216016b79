// A property sheet: a tab control over its pages. Modal (DoModal) with the OK, Cancel and Apply buttons, or
// modeless (Create) with Close and Apply, its owner left enabled. Pages are made from their templates the
// first time they are shown and are sized to the largest page's template.
// Ctrl+Tab and Ctrl+PgDn show the next page, Ctrl+Shift+Tab and Ctrl+PgUp the one before.
#pragma once

#include "platform/framework/CPropertyPage.h"

#include <set>
#include <vector>

class CPropertySheet : public CDialog {
    DECLARE_DYNAMIC(CPropertySheet)

public:
    explicit CPropertySheet(LPCTSTR pszCaption = nullptr, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // The sheet does not own its pages.
    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const { return m_nCurPage; }
    // Brings a page to the front, asking the one in front to let go first; FALSE when refused.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    HWND GetTabControl() const { return m_hWndTab; }
    void SetTitle(LPCTSTR lpszText);
    // Presses PSBTN_OK, PSBTN_CANCEL or PSBTN_APPLYNOW.
    void PressButton(int nButton);

    INT_PTR DoModal() override;
    // Modeless: the sheet shows at once (unless `dwStyle` leaves out WS_VISIBLE) and stays until Close,
    // Escape, its close box or its owner's end destroy its window; the object stays the caller's. Apply
    // applies the changed pages and leaves the sheet open. FALSE without pages or when already open.
    using CDialog::Create;
    virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
    BOOL IsModeless() const { return m_bModeless; }
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CString m_strCaption;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Apply: the page in front lets go, then every changed page applies; FALSE when one refused.
    BOOL ApplyChanges(BOOL bAllPages);
    BOOL ShowPage(int nPage);
    BOOL CreatePage(CPropertyPage* pPage);
    void Layout();
    void OnPageChanged(HWND hWndPage, BOOL bChanged);
    LRESULT OnQuerySiblings(WPARAM wParam, LPARAM lParam);
    void Step(int nDelta);
    // The end of a modeless sheet, or of a modal one's loop.
    void EndSheet(int nResult);

    std::vector<CPropertyPage*> m_pages;
    int m_nCurPage = -1;
    UINT m_nStartPage = 0;
    HWND m_hWndTab = nullptr;
    RECT m_rcPage{}; // where pages go, in the sheet's client coordinates
    std::set<HWND> m_changed;
    std::vector<BYTE> m_template;
    BOOL m_bModeless = FALSE;
};
