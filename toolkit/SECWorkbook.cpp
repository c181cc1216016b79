#include "toolkit/SECWorkbook.h"

#include "platform/framework/CDocument.h"
#include "toolkit/SECControlBarWorksheet.h"
#include "toolkit/SECWorkbookClient.h"
#include "toolkit/SECWorksheet.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(SECWorkbook, SECMDIFrameWnd)

BEGIN_MESSAGE_MAP(SECWorkbook, SECMDIFrameWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_MESSAGE(WM_SEC_WORKBOOK_MENUCHANGED, OnMenuChanged)
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr int kIconSize = 16;
constexpr int kStripGap = 4;     // between the MDI client's bottom and the tabs' top
constexpr int kStripExtra = 8;   // the strip reaches this far below the tabs' top plus their height
constexpr int kFrameOutset = 5;  // the tab area's frame lies this far outside the MDI client

void Line(HDC dc, std::initializer_list<POINT> points) {
    ::Polyline(dc, points.begin(), static_cast<int>(points.size()));
}

} // namespace

SECWorkbook::SECWorkbook() {
    m_pMDIFloatHostClass = RUNTIME_CLASS(SECControlBarWorksheet);
}

SECWorkbook::~SECWorkbook() {
    DeleteTabTools();
}

void SECWorkbook::DeleteTabTools() {
    for (HPEN* pen : {&m_hPenHighlight, &m_hPenBlack, &m_hPenShadow, &m_hPenFace}) {
        if (*pen) {
            ::DeleteObject(*pen);
            *pen = nullptr;
        }
    }
    m_hTabFont = nullptr; // a stock font
}

BOOL SECWorkbook::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) {
    const BOOL created = SECMDIFrameWnd::CreateClient(lpCreateStruct, pWindowMenu);
    if (!created) {
        return created;
    }
    m_pClient = std::make_unique<SECWorkbookClient>();
    if (!m_pClient->SubclassWindow(m_hWndMDIClient)) {
        m_pClient.reset();
        return created;
    }
    m_hTabFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (!m_hTabFont) {
        m_hTabFont = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
    }
    m_hPenHighlight = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    m_hPenBlack = ::CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_hPenShadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    m_hPenFace = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
    return created;
}

CRect SECWorkbook::ClientWindowRect() const {
    CRect rect;
    if (m_hWndMDIClient) {
        ::GetWindowRect(m_hWndMDIClient, &rect);
        ScreenToClient(&rect);
    }
    return rect;
}

CRect SECWorkbook::GetTabAreaRect() {
    CRect rect = ClientWindowRect();
    if (m_pClient) {
        rect.left -= m_pClient->m_nLeftMargin;
        rect.top -= m_pClient->m_nTopMargin;
        rect.right += m_pClient->m_nRightMargin;
        rect.bottom += m_pClient->m_nBottomMargin;
    }
    return rect;
}

int SECWorkbook::ComputeTabWidth() const {
    if (m_sheets.empty()) {
        return m_nTabWidth;
    }
    const int width = ClientWindowRect().Width() + 5;
    return std::min(width / static_cast<int>(m_sheets.size()), m_nMaxTabWidth);
}

int SECWorkbook::HiddenBefore(const SECWorksheet* pSheet) const {
    int hidden = 0;
    for (const SECWorksheet* sheet : m_sheets) {
        if (sheet == pSheet) {
            break;
        }
        if (!(sheet->GetStyle() & WS_VISIBLE)) {
            ++hidden;
        }
    }
    return hidden;
}

SECWorksheet* SECWorkbook::ActiveSheet() {
    return dynamic_cast<SECWorksheet*>(GetActiveFrame());
}

void SECWorkbook::AddSheet(SECWorksheet* pSheet) {
    m_sheets.push_back(pSheet);
    pSheet->m_nIndex = static_cast<int>(m_sheets.size()) - 1;
    // A sheet is activated while it is created, before it is one of the sheets: its tab is raised now.
    if (GetActiveFrame() == pSheet) {
        OnMenuChanged(0, 0);
    }
    const int width = ComputeTabWidth();
    if (width != m_nTabWidth) {
        m_nTabWidth = width;
        InvalidateTabStrip();
    } else if (m_bTabsShown && m_sheets.size() == 1) {
        Invalidate();
    } else {
        InvalidateTabs(pSheet, FALSE);
    }
}

int SECWorkbook::RemoveSheet(SECWorksheet* pSheet) {
    const auto it = std::find(m_sheets.begin(), m_sheets.end(), pSheet);
    if (it == m_sheets.end()) {
        return -1;
    }
    const int index = static_cast<int>(it - m_sheets.begin());
    m_sheets.erase(it);
    for (std::size_t i = static_cast<std::size_t>(index); i < m_sheets.size(); ++i) {
        m_sheets[i]->m_nIndex = static_cast<int>(i);
    }
    if (!m_sheets.empty() && ComputeTabWidth() != m_nTabWidth) {
        m_nTabWidth = ComputeTabWidth();
        InvalidateTabStrip();
    } else if (m_bTabsShown && m_sheets.empty()) {
        Invalidate();
    } else if (m_bTabsShown && m_hWnd) {
        // The tabs from the removed one's place on move left.
        const CRect c = ClientWindowRect();
        CRect client;
        GetClientRect(&client);
        const int k = index - HiddenBefore(index < static_cast<int>(m_sheets.size()) ? m_sheets[index] : nullptr);
        InvalidateRect(CRect(m_nTabWidth * k + c.left - 2, c.bottom + kStripGap, client.right,
                             c.bottom + m_nTabHeight + kStripExtra));
    }
    if (m_nLastActive >= static_cast<int>(m_sheets.size())) {
        m_nLastActive = static_cast<int>(m_sheets.size());
    }
    return index;
}

void SECWorkbook::InvalidateTabs(SECWorksheet* pSheet, BOOL bToEnd) {
    if (!m_bTabsShown || !m_hWnd || !pSheet) {
        return;
    }
    const CRect c = ClientWindowRect();
    CRect area;
    area.left = m_nTabWidth * (pSheet->m_nIndex - HiddenBefore(pSheet)) + c.left - 2;
    area.top = c.bottom + kStripGap;
    area.bottom = c.bottom + m_nTabHeight + kStripExtra;
    if (bToEnd) {
        CRect client;
        GetClientRect(&client);
        area.right = client.right;
    } else {
        area.right = area.left + m_nTabWidth + 4;
    }
    InvalidateRect(&area);
}

void SECWorkbook::InvalidateTabStrip() {
    if (!m_bTabsShown || !m_hWnd) {
        return;
    }
    const CRect c = ClientWindowRect();
    CRect client;
    GetClientRect(&client);
    InvalidateRect(CRect(client.left, c.bottom + kStripGap, client.right, c.bottom + m_nTabHeight + kStripExtra));
}

SECWorkbook::TabPolygon SECWorkbook::GetTabPolygon(SECWorksheet* pSheet) {
    const CRect c = ClientWindowRect();
    const int w = m_nTabWidth;
    const int h = m_nTabHeight;
    const int b = m_nBevel;
    const int a = (pSheet->m_bPressed || GetActiveFrame() == pSheet) ? 1 : 0;
    const int k = pSheet->m_nIndex - HiddenBefore(pSheet);
    const int x0 = k * w + c.left - a * (m_nActiveExtraWidth / 2);
    const int y0 = c.bottom + kStripGap;
    TabPolygon p;
    p[0] = {x0, y0};
    p[1] = {x0, y0 + h - b};
    p[2] = {x0 + b, p[1].y + a * m_nActiveExtraHeight + b};
    p[3] = {p[2].x + a * m_nActiveExtraWidth + w - 2 * b, p[2].y};
    p[4] = {p[3].x + b, p[1].y};
    p[5] = {p[4].x, y0};
    p[6] = {x0, y0};
    return p;
}

BOOL SECWorkbook::GetTabTextRect(const POINT* pPoints, int nIconWidth, CRect& rect) {
    if (!pPoints) {
        rect.SetRectEmpty();
        return FALSE;
    }
    rect.SetRect(pPoints[2].x + nIconWidth + 3, pPoints[0].y, pPoints[4].x - 2, pPoints[3].y);
    return TRUE;
}

CString SECWorkbook::GetSheetTitle(SECWorksheet* pSheet) {
    if (CDocument* document = pSheet->GetActiveDocument()) {
        return document->GetTitle();
    }
    CString text;
    pSheet->GetWindowTextW(text);
    return text;
}

HICON SECWorkbook::GetSheetIcon(SECWorksheet* pSheet) {
    return m_bShowIcons ? pSheet->m_hTabIcon : nullptr;
}

BOOL SECWorkbook::SetSheetIcon(SECWorksheet* pSheet, HICON hIcon, BOOL bRedraw) {
    if (!pSheet) {
        return FALSE;
    }
    pSheet->m_hTabIcon = hIcon;
    if (bRedraw) {
        InvalidateTabs(pSheet, FALSE);
    }
    return TRUE;
}

CString SECWorkbook::FitTitle(CDC* pDC, CString title, int width) {
    while (title.GetLength() >= 4 && pDC->GetTextExtent(title).cx > width) {
        title = title.Left(title.GetLength() - 4) + u"...";
    }
    return title;
}

BOOL SECWorkbook::IsTabTextComplete(SECWorksheet* pSheet) {
    if (!pSheet) {
        return FALSE;
    }
    const CString title = GetSheetTitle(pSheet);
    if (title.IsEmpty()) {
        return FALSE;
    }
    const TabPolygon points = GetTabPolygon(pSheet);
    CRect text;
    GetTabTextRect(points.data(), kIconSize, text);
    CClientDC dc(this);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, m_hTabFont);
    const BOOL fits = dc.GetTextExtent(title).cx <= text.Width();
    ::SelectObject(dc.m_hDC, old);
    return fits;
}

void SECWorkbook::DrawTabShape(CDC* pDC, SECWorksheet* pSheet) {
    const TabPolygon p = GetTabPolygon(pSheet);
    HDC dc = pDC->m_hDC;
    HRGN region = ::CreatePolygonRgn(p.data(), static_cast<int>(p.size()), ALTERNATE);
    ::FillRgn(dc, region, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DeleteObject(region);
    HGDIOBJ old = ::SelectObject(dc, m_hPenShadow);
    Line(dc, {{p[1].x + 1, p[1].y - 1}, {p[2].x, p[2].y - 2}, {p[3].x, p[3].y - 2}, {p[4].x - 2, p[4].y - 1},
              {p[5].x - 2, p[5].y}, {p[5].x, p[5].y}});
    ::SelectObject(dc, m_hPenHighlight);
    Line(dc, {{p[0].x, p[0].y + 1}, {p[1].x, p[1].y - 1}});
    ::SelectObject(dc, m_hPenBlack);
    Line(dc, {{p[2].x + 1, p[2].y - 1}, {p[3].x, p[3].y - 1}, {p[4].x - 1, p[4].y - 1}, {p[5].x - 1, p[5].y}});
    ::SelectObject(dc, old);
}

void SECWorkbook::DrawTabContent(CDC* pDC, SECWorksheet* pSheet) {
    const int iconSize = m_bShowIcons ? kIconSize : 0;
    const TabPolygon p = GetTabPolygon(pSheet);
    if (HICON icon = GetSheetIcon(pSheet)) {
        ::DrawIconEx(pDC->m_hDC, p[2].x + 1, p[0].y + 4, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    }
    CRect text;
    GetTabTextRect(p.data(), iconSize, text);
    HGDIOBJ old = ::SelectObject(pDC->m_hDC, m_hTabFont);
    const CString title = FitTitle(pDC, GetSheetTitle(pSheet), text.Width());
    if (!title.IsEmpty()) {
        pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
        pDC->DrawText(title, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    ::SelectObject(pDC->m_hDC, old);
}

void SECWorkbook::DrawTabAreaFrame(CDC* pDC) {
    const CRect c = ClientWindowRect();
    const int l = c.left - kFrameOutset;
    const int t = c.top;
    const int r = c.right + kFrameOutset;
    const int b = c.bottom + kFrameOutset;
    HDC dc = pDC->m_hDC;
    HGDIOBJ old = ::SelectObject(dc, m_hPenShadow);
    Line(dc, {{l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t - 4}});
    ::SelectObject(dc, m_hPenHighlight);
    Line(dc, {{r - 1, t - 5}, {l, t - 5}, {l, b}});
    ::SelectObject(dc, m_hPenBlack);
    Line(dc, {{l, b}, {r, b}, {r, t - 5}});
    if (m_pClient) {
        const int y = c.top - m_pClient->m_nTopMargin;
        const int from = c.left - m_pClient->m_nLeftMargin;
        const int to = c.right + m_pClient->m_nRightMargin;
        ::SelectObject(dc, m_hPenShadow);
        Line(dc, {{from, y}, {to, y}});
        ::SelectObject(dc, m_hPenHighlight);
        Line(dc, {{from, y + 1}, {to, y + 1}});
    }
    ::SelectObject(dc, old);
}

CMDIChildWnd* SECWorkbook::CreateMDIFloatHost(DWORD dwStyle, CControlBar* pBar) {
    CMDIChildWnd* host = SECMDIFrameWnd::CreateMDIFloatHost(dwStyle, pBar);
    auto* sheet = dynamic_cast<SECControlBarWorksheet*>(host);
    if (sheet && pBar) {
        // A copy: the sheet destroys its tab icon, the bar keeps its own.
        if (auto icon = reinterpret_cast<HICON>(pBar->SendMessageW(WM_GETICON, ICON_BIG, 0))) {
            if (sheet->m_hTabIcon) {
                ::DestroyIcon(sheet->m_hTabIcon);
            }
            SetSheetIcon(sheet, ::CopyIcon(icon));
        }
    }
    return host;
}

void SECWorkbook::RecalcLayout(BOOL bNotify) {
    SECMDIFrameWnd::RecalcLayout(bNotify);
    if (!m_bTabsShown || !m_hWnd) {
        return;
    }
    CRect area;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &area);
    if (area != m_rectLastClient) {
        if (!m_sheets.empty()) {
            m_nTabWidth = ComputeTabWidth();
        }
        Invalidate(TRUE);
        m_rectLastClient = area;
    }
}

SECWorksheet* SECWorkbook::SheetFromPoint(CPoint point) {
    for (SECWorksheet* sheet : m_sheets) {
        if (!(sheet->GetStyle() & WS_VISIBLE)) {
            continue;
        }
        const TabPolygon p = GetTabPolygon(sheet);
        HRGN region = ::CreatePolygonRgn(p.data(), static_cast<int>(p.size()), ALTERNATE);
        const BOOL inside = ::PtInRegion(region, point.x, point.y);
        ::DeleteObject(region);
        if (inside) {
            return sheet;
        }
    }
    return nullptr;
}

INT_PTR SECWorkbook::OnToolHitTest(CPoint point, TOOLINFO* pTI) {
    SECWorksheet* sheet = SheetFromPoint(point);
    if (!sheet || IsTabTextComplete(sheet)) {
        return -1;
    }
    const INT_PTR id = sheet->m_nIndex + 1;
    if (pTI) {
        const TabPolygon p = GetTabPolygon(sheet);
        CRect box(p[0], p[0]);
        for (const POINT& pt : p) {
            box.left = std::min(box.left, pt.x);
            box.top = std::min(box.top, pt.y);
            box.right = std::max(box.right, pt.x);
            box.bottom = std::max(box.bottom, pt.y);
        }
        m_strToolText = GetSheetTitle(sheet);
        pTI->hwnd = m_hWnd;
        pTI->uId = static_cast<UINT_PTR>(id);
        pTI->rect = box;
        pTI->lpszText = const_cast<LPWSTR>(m_strToolText.GetString());
    }
    return id;
}

void SECWorkbook::OnPaint() {
    CPaintDC dc(this);
    const CRect c = ClientWindowRect();
    if (!m_bTabsShown || c.IsRectEmpty() || !m_hPenBlack) {
        return;
    }
    dc.SetBkMode(TRANSPARENT);
    for (SECWorksheet* sheet : m_sheets) {
        if (sheet->GetStyle() & WS_VISIBLE) {
            DrawTabShape(&dc, sheet);
            DrawTabContent(&dc, sheet);
        }
    }
    DrawTabAreaFrame(&dc);
    // The active tab last, so that it lies over its neighbours.
    if (SECWorksheet* active = ActiveSheet(); active && (active->GetStyle() & WS_VISIBLE)) {
        DrawTabShape(&dc, active);
        DrawTabContent(&dc, active);
    }
}

BOOL SECWorkbook::OnEraseBkgnd(CDC* pDC) {
    const CRect c = ClientWindowRect();
    pDC->ExcludeClipRect(&c);
    CRect client;
    GetClientRect(&client);
    CRect bars;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &bars, &client);
    pDC->FillSolidRect(&bars, ::GetSysColor(COLOR_BTNFACE));
    HDC dc = pDC->m_hDC;
    HGDIOBJ old = ::SelectObject(dc, m_hPenHighlight ? m_hPenHighlight : ::GetStockObject(WHITE_PEN));
    if (bars.bottom < client.bottom) {
        Line(dc, {{bars.left, bars.bottom - 1}, {bars.right, bars.bottom - 1}});
    }
    if (bars.right < client.right) {
        Line(dc, {{bars.right - 1, bars.top + 1}, {bars.right - 1, bars.bottom}});
    }
    if (m_hPenShadow) {
        ::SelectObject(dc, m_hPenShadow);
        if (bars.bottom < client.bottom) {
            Line(dc, {{bars.left, bars.bottom - 2}, {bars.right, bars.bottom - 2}});
        }
        if (bars.right < client.right) {
            Line(dc, {{bars.right - 2, bars.top}, {bars.right - 2, bars.top + bars.Height() - 2}});
        }
    }
    ::SelectObject(dc, old);
    return TRUE;
}

void SECWorkbook::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_bTabsShown) {
        SECWorksheet* sheet = SheetFromPoint(point);
        if (sheet && sheet != GetActiveFrame() && CanActivateSheet(sheet)) {
            sheet->m_bPressed = TRUE;
            UpdateWindow();
            sheet->SendMessageW(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
        }
    }
    SECMDIFrameWnd::OnLButtonDown(nFlags, point);
}

void SECWorkbook::OnLButtonUp(UINT nFlags, CPoint point) {
    if (m_bTabsShown) {
        for (SECWorksheet* sheet : m_sheets) {
            sheet->m_bPressed = FALSE;
        }
    }
    SECMDIFrameWnd::OnLButtonUp(nFlags, point);
}

LRESULT SECWorkbook::OnMenuChanged(WPARAM, LPARAM) {
    const int count = static_cast<int>(m_sheets.size());
    if (m_nLastActive >= 0 && m_nLastActive < count) {
        InvalidateTabs(m_sheets[static_cast<std::size_t>(m_nLastActive)], FALSE);
    }
    SECWorksheet* active = ActiveSheet();
    if (active) {
        InvalidateTabs(active, FALSE);
    }
    m_nLastActive = active ? active->m_nIndex : count;
    if (!active || !active->IsZoomed()) {
        UpdateWindow();
    }
    return 0;
}

void SECWorkbook::OnDestroy() {
    SECMDIFrameWnd::OnDestroy();
    if (m_pClient) {
        if (m_pClient->m_hWnd) {
            m_pClient->UnsubclassWindow();
        }
        m_pClient.reset();
    }
}
