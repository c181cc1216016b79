// A modal property sheet: a tab control over its pages and the OK, Cancel and Apply buttons. Pages are made
// from their templates the first time they are shown and are sized to the largest page's template.
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

    std::vector<CPropertyPage*> m_pages;
    int m_nCurPage = -1;
    UINT m_nStartPage = 0;
    HWND m_hWndTab = nullptr;
    RECT m_rcPage{}; // where pages go, in the sheet's client coordinates
    std::set<HWND> m_changed;
    std::vector<BYTE> m_template;
};
