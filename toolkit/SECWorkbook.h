// A docking-aware MDI frame that shows one tab per document window (worksheet) below the MDI client, like
// the sheet tabs of a spreadsheet. A click on a tab activates its sheet; the active sheet's tab is raised.
// The tabs share the client's width, none wider than 90 pixels.
#pragma once

#include "platform/controls/CommonControls.h"
#include "toolkit/SECMDIFrameWnd.h"

#include <array>
#include <memory>
#include <vector>

class SECWorksheet;
class SECWorkbookClient;

class SECWorkbook : public SECMDIFrameWnd {
    DECLARE_DYNCREATE(SECWorkbook)

public:
    using TabPolygon = std::array<POINT, 7>;

    SECWorkbook();
    ~SECWorkbook() override;

    // The MDI client's window rectangle in the workbook's client coordinates, widened by its margins.
    virtual CRect GetTabAreaRect();
    virtual BOOL CanActivateSheet(SECWorksheet*) { return TRUE; }
    virtual void AddSheet(SECWorksheet* pSheet);
    // The sheet's former index, or -1 when it was not a sheet of this workbook.
    virtual int RemoveSheet(SECWorksheet* pSheet);
    // TRUE when the sheet's title fits its tab unshortened.
    virtual BOOL IsTabTextComplete(SECWorksheet* pSheet);
    // The tab's outline: it hangs below the MDI client with bevelled lower corners; the active or pressed
    // tab reaches 2 pixels further on each side and 2 deeper.
    virtual TabPolygon GetTabPolygon(SECWorksheet* pSheet);
    // The title of the sheet's active document, else its window text.
    virtual CString GetSheetTitle(SECWorksheet* pSheet);
    // The text's room in a tab; FALSE (and an empty rectangle) without points.
    virtual BOOL GetTabTextRect(const POINT* pPoints, int nIconWidth, CRect& rect);
    virtual void DrawTabShape(CDC* pDC, SECWorksheet* pSheet);
    virtual void DrawTabAreaFrame(CDC* pDC);
    virtual void DrawTabContent(CDC* pDC, SECWorksheet* pSheet);
    virtual HICON GetSheetIcon(SECWorksheet* pSheet);
    virtual BOOL SetSheetIcon(SECWorksheet* pSheet, HICON hIcon, BOOL bRedraw = TRUE);

    // The tool for a truncated tab under the point: index + 1, with the tab's bounding box and the full
    // title (which lives in the workbook until the next hit test); -1 over a complete title or no tab.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI);

    BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    // Floated bars become sheets, their tabs showing the bar's large icon.
    CMDIChildWnd* CreateMDIFloatHost(DWORD dwStyle, CControlBar* pBar) override;

    // Shortens `title` while it is wider than `width` in the DC's font and has at least 4 characters, each
    // time putting three dots in place of its last four characters.
    static CString FitTitle(CDC* pDC, CString title, int width);
    // min((client width + 5) / sheets, maximum tab width); the current width when there are no sheets.
    int ComputeTabWidth() const;
    // Repaints the sheet's tab, or (bToEnd) the tabs from it to the end of the strip.
    void InvalidateTabs(SECWorksheet* pSheet, BOOL bToEnd);
    // Repaints the whole tab strip.
    void InvalidateTabStrip();
    // The visible sheet whose tab holds the point (workbook client coordinates), or null.
    SECWorksheet* SheetFromPoint(CPoint point);
    SECWorkbookClient* GetClient() const { return m_pClient.get(); }

    std::vector<SECWorksheet*> m_sheets;
    BOOL m_bTabsShown = FALSE;
    BOOL m_bShowIcons = TRUE;
    HFONT m_hTabFont = nullptr;
    HPEN m_hPenHighlight = nullptr;
    HPEN m_hPenBlack = nullptr;
    HPEN m_hPenShadow = nullptr;
    HPEN m_hPenFace = nullptr;
    int m_nTabWidth = 100;
    int m_nTabHeight = 23;
    int m_nBevel = 2;
    int m_nActiveExtraWidth = 4;
    int m_nActiveExtraHeight = 2;
    int m_nMaxTabWidth = 90;
    CRect m_rectLastClient;
    BOOL m_bFullRepaint = FALSE;
    int m_nLastActive = 0;

protected:
    // The MDI client's window rectangle in the workbook's client coordinates.
    CRect ClientWindowRect() const;
    // The sheets before this one that are hidden (they take no tab).
    int HiddenBefore(const SECWorksheet* pSheet) const;
    SECWorksheet* ActiveSheet();
    void DeleteTabTools();

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    LRESULT OnMenuChanged(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

    std::unique_ptr<SECWorkbookClient> m_pClient;
    CString m_strToolText;

    DECLARE_MESSAGE_MAP()
};
