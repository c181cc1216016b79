#include "grid/CGXTabBeam.h"

#include "grid/CGXFontFaceTable.h"
#include "grid/GridLibraryState.h"
#include "grid/GridSysColorCache.h"
#include "grid/GridWindowClass.h"
#include "platform/framework/CDC.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/kernel/Ticks.h"

#include <algorithm>
#include <iterator>

IMPLEMENT_DYNCREATE(CGXTabBeam, CWnd)

BEGIN_MESSAGE_MAP(CGXTabBeam, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

namespace {

constexpr LPCWSTR kBeamClass = u"CGXTabBeam";

BOOL IsWin4() {
    return GridLibraryState::Instance().isWindows4OrLater ? 1 : 0;
}

int PreWin4() {
    return GridLibraryState::Instance().isBeforeWindows4 ? 1 : 0;
}

// An opaque text-less ExtTextOut fills fastest; the background colour is put back.
void TabFillRect(CDC* dc, int x, int y, int w, int h, COLORREF colour) {
    const COLORREF previous = dc->SetBkColor(colour);
    CRect rect(x, y, x + w, y + h);
    dc->ExtTextOutW(0, 0, ETO_OPAQUE, &rect, u"", 0, nullptr);
    dc->SetBkColor(previous);
}

} // namespace

CGXTabInfo::CGXTabInfo() = default;

CGXTabInfo::~CGXTabInfo() {
    if (bDeleteExtra) {
        delete pExtra;
    }
}

CGXTabBeam::CGXTabBeam() {
    const int scrollHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    m_nButtonsWidth = 2 * scrollHeight;
    m_nBeamHeight = scrollHeight;
    m_nButtonWidth = scrollHeight;
}

CGXTabBeam::~CGXTabBeam() {
    GridWindowClass<CGXTabBeam>::Forget(this);
    for (CGXTabInfo* tab : m_tabs) {
        delete tab;
    }
    DeleteFonts();
}

std::function<DWORD()>& CGXTabBeam::RepeatClock() {
    static std::function<DWORD()> clock = [] { return ::GetTickCount(); };
    return clock;
}

void CGXTabBeam::RegisterClass(HINSTANCE instance) {
    GridWindowClass<CGXTabBeam>::Register(instance, kBeamClass);
}

void CGXTabBeam::UnregisterClass(HINSTANCE instance) {
    GridWindowClass<CGXTabBeam>::Unregister(instance, kBeamClass);
}

BOOL CGXTabBeam::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    RegisterClass(AfxGetInstanceHandle());
    if (!CWnd::Create(kBeamClass, nullptr, style | WS_CHILD, rect, parent, id)) {
        return FALSE;
    }
    CreateFonts();
    SetWindowPos(nullptr, 0, 0, 1, m_nBeamHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InitColors();
    return TRUE;
}

void CGXTabBeam::PostNcDestroy() {
    GridWindowClass<CGXTabBeam>::ReleaseIfSelfCreated(this);
}

void CGXTabBeam::DeleteFonts() {
    delete m_pFontBold;
    delete m_pFontNormal;
    m_pFontBold = nullptr;
    m_pFontNormal = nullptr;
}

void CGXTabBeam::CreateFonts() {
    DeleteFonts();
    LOGFONTW lf{};
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lf.lfQuality = 0;
    lf.lfClipPrecision = CLIP_LH_ANGLES | CLIP_STROKE_PRECIS;
    static constexpr char16_t kFace[] = u"Arial";
    std::copy(std::begin(kFace), std::end(kFace), lf.lfFaceName);
    if (::GetSystemMetrics(SM_DBCSENABLED)) {
        HGDIOBJ stock = ::GetStockObject(DEFAULT_GUI_FONT);
        if (!stock) {
            stock = ::GetStockObject(SYSTEM_FONT);
        }
        ::GetObjectW(stock, sizeof(lf), &lf);
    }
    const int face = GetFontFaceIndex(lf.lfFaceName);
    lf.lfCharSet = face >= 0 ? GetFontFaceTable().GetFaceCharset(face) : 0;
    lf.lfItalic = 0;
    lf.lfUnderline = 0;
    lf.lfHeight = m_nBeamHeight - 2;
    lf.lfWeight = FW_NORMAL;
    m_pFontNormal = new CFont;
    m_pFontNormal->CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_pFontBold = new CFont;
    m_pFontBold->CreateFontIndirect(&lf);
}

void CGXTabBeam::InitColors() {
    m_clrCurrentText = GridSysColorCache::GetColor(COLOR_WINDOWTEXT);
    m_clrText = GridSysColorCache::GetColor(COLOR_WINDOWTEXT);
    m_clrFace = GridSysColorCache::GetColor(COLOR_BTNFACE);
    m_clrCurrentFace = GridSysColorCache::GetColor(COLOR_WINDOW);
    m_clrBeam = GridSysColorCache::GetColor(COLOR_SCROLLBAR);
    m_brCurrentFace.DeleteObject();
    m_brCurrentFace.CreateSolidBrush(m_clrCurrentFace);
    m_brFace.DeleteObject();
    m_brFace.CreateSolidBrush(m_clrFace);
    m_brFrame.DeleteObject();
    m_brFrame.CreateSolidBrush(RGB(0, 0, 0));
    m_penShadow.DeleteObject();
    m_penShadow.CreatePen(PS_SOLID, 1, GridSysColorCache::GetColor(COLOR_BTNSHADOW));
}

CWnd* CGXTabBeam::GetNotifyWnd() {
    return m_pNotifyWnd ? m_pNotifyWnd : GetParent();
}

int CGXTabBeam::ClientRight() {
    CRect client;
    GetClientRect(&client);
    return client.right;
}

// --- the tab list ---

void CGXTabBeam::InsertTab(BOOL beforeCurrent, LPCTSTR name, CWnd* window, BOOL ownsWindow, int width) {
    auto* tab = new CGXTabInfo;
    tab->sLabel = name;
    tab->flags = 0;
    tab->nWidth = width;
    tab->pExtra = window;
    tab->bDeleteExtra = ownsWindow;
    tab->clrFace = m_clrFace;
    tab->clrCurrentFace = m_clrCurrentFace;
    tab->brFace.CreateSolidBrush(m_clrFace);
    tab->brCurrentFace.CreateSolidBrush(m_clrCurrentFace);
    int at = m_nTabs;
    if (m_nCurrent >= 0 && beforeCurrent) {
        at = m_nCurrent;
    }
    m_tabs.insert(m_tabs.begin() + at, tab);
    ++m_nTabs;
    if (width < 0) {
        UpdateTabWidth(at);
    }
    if (GetSafeHwnd()) {
        Invalidate(TRUE);
    }
    if (m_nCurrent < 0) {
        m_nCurrent = m_nTabs - 1;
        EnsureTabVisible(m_nCurrent);
    }
}

void CGXTabBeam::RemoveTab(int index) {
    if (index < 0 || index >= m_nTabs) {
        return;
    }
    if (index == m_nCurrent) {
        m_nCurrent = 0;
        m_nFirstTab = 0;
    } else if (index < m_nCurrent) {
        --m_nCurrent; // the same tab stays current
    }
    delete m_tabs[static_cast<size_t>(index)];
    m_tabs.erase(m_tabs.begin() + index);
    --m_nTabs;
    // The current index keeps pointing at a tab (none when the last went).
    if (m_nCurrent >= m_nTabs) {
        m_nCurrent = m_nTabs - 1;
    }
    if (m_nFirstTab >= m_nTabs) {
        m_nFirstTab = std::max(m_nTabs - 1, 0);
    }
    if (GetSafeHwnd()) {
        Invalidate(TRUE);
    }
}

void CGXTabBeam::UpdateTabWidth(int index) {
    CGXTabInfo& tab = GetTab(index);
    int textWidth = 0;
    if (GetSafeHwnd() && m_pFontBold) {
        CClientDC dc(this);
        CFont* old = dc.SelectObject(m_pFontBold);
        textWidth = dc.GetTextExtent(tab.sLabel).cx;
        dc.SelectObject(old);
        Invalidate(TRUE);
    }
    tab.nWidth = m_nGap + textWidth;
}

int CGXTabBeam::FindTab(const CWnd* window) const {
    for (int i = 0; i < m_nTabs; ++i) {
        if (m_tabs[static_cast<size_t>(i)]->pExtra == window) {
            return i;
        }
    }
    return -1;
}

// --- geometry ---

int CGXTabBeam::GetTabLeft(int index) {
    int left = Base();
    if (index >= m_nFirstTab) {
        for (int i = m_nFirstTab; i < index; ++i) {
            left += Step(i);
        }
    } else {
        for (int i = index; i < m_nFirstTab; ++i) {
            left -= Step(i);
        }
    }
    return left;
}

int CGXTabBeam::TabFromPoint(int x) {
    int b = Base();
    for (int i = m_nFirstTab; i < m_nTabs; ++i) {
        if (b >= x) {
            return i - 1;
        }
        b += Step(i);
    }
    return x < b ? m_nTabs - 1 : -1;
}

int CGXTabBeam::GetLastVisibleTab() {
    if (m_nFirstTab >= m_nTabs) {
        return m_nTabs - 1;
    }
    const int right = ClientRight();
    int a = Base() + GetTab(m_nFirstTab).nWidth + 2 * m_nGap;
    int i = m_nFirstTab + 1;
    while (i < m_nTabs && a < right) {
        a += Step(i);
        ++i;
    }
    if (a <= right) {
        return m_nTabs - 1;
    }
    return std::max(m_nFirstTab, i - 2);
}

void CGXTabBeam::EnsureTabVisible(int index) {
    if (index < m_nFirstTab) {
        if (GetSafeHwnd()) {
            Invalidate(TRUE);
        }
        m_nFirstTab = index;
        return;
    }
    if (GetLastVisibleTab() < index) {
        if (GetSafeHwnd()) {
            Invalidate(TRUE);
        }
        while (GetLastVisibleTab() < index && m_nFirstTab < index) {
            ++m_nFirstTab;
        }
    }
}

// --- scroll buttons ---

BOOL CGXTabBeam::IsButtonDisabled(int button) {
    return m_nTabs < 2 || (button <= kPrevious && m_nFirstTab == 0) ||
           (button >= kNext && TabFromPoint(ClientRight()) == -1);
}

int CGXTabBeam::ScrollButtonFromPoint(int x, int y, int expected) {
    if (y < 0 || y > m_nBeamHeight || x < 0 || x >= m_nButtonsWidth) {
        return -1;
    }
    const int button = x / m_nButtonWidth + (m_nButtons == 2 ? 1 : 0);
    if (IsButtonDisabled(button) || (expected != -1 && expected != button)) {
        return -1;
    }
    ScrollTabs(button);
    return button;
}

void CGXTabBeam::ScrollTabs(int button) {
    if (CWnd* parent = GetParent()) {
        parent->SendMessage(WM_TAB_CANCELRENAME, 0, 0);
    }
    if (m_nTabs == 0) {
        return;
    }
    int target = 0;
    switch (button) {
    case kFirst: target = 0; break;
    case kPrevious: target = m_nFirstTab - 1; break;
    case kNext: target = m_nFirstTab + 1; break;
    default: target = m_nTabs - 1; break;
    }
    const int left = m_nButtonsWidth + 1;
    const int right = ClientRight();
    // The highest first tab that still leaves the last tab ending inside the beam.
    int limit = m_nTabs - 1;
    int w = GetTab(limit).nWidth + 2 * m_nGap;
    while (limit > m_nFirstTab && GetTab(limit - 1).nWidth + w + m_nGap < right - left) {
        --limit;
        w += Step(limit);
    }
    target = std::clamp(target, 0, std::max(limit, 0));
    if (target == m_nFirstTab) {
        return;
    }
    CRect area(left, 0, right, m_nBeamHeight);
    if (target > m_nFirstTab) {
        int shift = 0;
        for (int i = m_nFirstTab; i < target; ++i) {
            shift += Step(i);
        }
        ScrollWindow(-shift, 0, &area, &area);
    } else {
        int shift = 0;
        for (int i = target; i < m_nFirstTab; ++i) {
            shift += Step(i);
        }
        ScrollWindow(shift, 0, &area, &area);
        CRect strip(left, 0, left + shift + m_nGap, m_nBeamHeight);
        InvalidateRect(&strip, FALSE);
    }
    m_nFirstTab = target;
}

void CGXTabBeam::TrackScrollButton(UINT endMessage) {
    SetCapture();
    DWORD last = RepeatClock()();
    DWORD delay = 200;
    MSG msg{};
    do {
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (msg.message != WM_MOUSEMOVE) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            continue;
        }
        const DWORD now = RepeatClock()();
        if (now - last > delay) {
            CPoint point;
            ::GetCursorPos(&point);
            ScreenToClient(&point);
            OnMouseMove(0, point);
            last = now;
            if (delay > 100) {
                delay -= 20;
            }
        }
        msg.message = 0;
    } while (msg.message != endMessage);
    ::ReleaseCapture();
}

void CGXTabBeam::OnLButtonDown(UINT flags, CPoint point) {
    m_nPressedButton = ScrollButtonFromPoint(point.x, point.y, -1);
    if (m_nPressedButton != -1) {
        m_bButtonPressed = TRUE;
        {
            CClientDC dc(this);
            DrawScrollButton(&dc, m_nPressedButton, TRUE);
        }
        m_bTracking = TRUE;
        TrackScrollButton(WM_LBUTTONUP);
    } else if (flags & (MK_CONTROL | MK_SHIFT)) {
        if (TabFromPoint(point.x) == -1) {
            return;
        }
        MarkTabs(flags, point.x);
    } else {
        SelectTabAt(point.x);
    }
    Default();
}

void CGXTabBeam::MarkTabs(UINT flags, int x) {
    const int clicked = TabFromPoint(x);
    if (clicked < 0) {
        return;
    }
    if (flags & MK_CONTROL) {
        GetTab(clicked).bSel = !GetTab(clicked).bSel;
    } else if (m_nCurrent >= 0) {
        const int step = clicked < m_nCurrent ? 1 : -1;
        for (int i = clicked; i != m_nCurrent; i += step) {
            GetTab(i).bSel = TRUE;
        }
    }
    CRect area(Base(), 0, ClientRight(), m_nBeamHeight);
    InvalidateRect(&area, FALSE);
}

void CGXTabBeam::OnMouseMove(UINT flags, CPoint point) {
    (void)flags;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    if (m_bTracking && m_nPressedButton != -1) {
        const BOOL over = ScrollButtonFromPoint(point.x, point.y, m_nPressedButton) != -1;
        if (over != m_bButtonPressed) {
            m_bButtonPressed = over;
            CClientDC dc(this);
            DrawButtons(&dc);
        }
    }
}

void CGXTabBeam::OnLButtonUp(UINT flags, CPoint point) {
    (void)flags;
    (void)point;
    m_bTracking = FALSE;
    if (m_nPressedButton != -1 && m_bButtonPressed) {
        m_bButtonPressed = FALSE;
        UpdateWindow();
        CClientDC dc(this);
        DrawButtons(&dc);
    }
    m_bButtonPressed = FALSE;
    Default();
}

void CGXTabBeam::SelectTabAt(int x) {
    if (x < m_nButtonsWidth) {
        return;
    }
    const int target = x - m_nButtonsWidth < m_nGap ? std::max(m_nFirstTab - 1, 0) : TabFromPoint(x);
    if (target == -1 || target >= m_nTabs) {
        return;
    }
    CWnd* notify = GetNotifyWnd();
    if (notify && notify->SendMessage(WM_TAB_CANSWITCH, static_cast<WPARAM>(target), 0) != 0) {
        return;
    }
    const int previous = m_nCurrent;
    m_nCurrent = target;
    if (!GetTab(target).bSel) {
        for (CGXTabInfo* tab : m_tabs) {
            tab->bSel = FALSE;
        }
    }
    EnsureTabVisible(m_nCurrent);
    if (previous != m_nCurrent) {
        Invalidate(TRUE);
        UpdateWindow();
    }
    if (notify) {
        notify->PostMessage(WM_TAB_SELECTED, static_cast<WPARAM>(m_nCurrent), 0);
    }
}

void CGXTabBeam::OnLButtonDblClk(UINT flags, CPoint point) {
    if (point.x >= m_nButtonsWidth && TabFromPoint(point.x) != -1 && m_nCurrent >= m_nFirstTab) {
        if (CWnd* notify = GetNotifyWnd()) {
            notify->PostMessage(WM_TAB_RENAME, static_cast<WPARAM>(m_nCurrent), 0);
        }
        return;
    }
    OnLButtonDown(flags, point);
}

// --- painting ---

BOOL CGXTabBeam::OnEraseBkgnd(CDC* dc) {
    (void)dc;
    return TRUE; // painting covers everything, off screen
}

void CGXTabBeam::DrawButtons(CDC* dc) {
    for (int k = FirstButtonCode(); k < FirstButtonCode() + m_nButtons; ++k) {
        DrawScrollButton(dc, k, m_bButtonPressed && k == m_nPressedButton);
    }
}

void CGXTabBeam::OnPaint() {
    CPaintDC paintDc(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty()) {
        return;
    }
    CDC memDc;
    memDc.CreateCompatibleDC(&paintDc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&paintDc, client.Width(), client.Height());
    CBitmap* oldBitmap = memDc.SelectObject(&bitmap);
    CFont* oldFont = memDc.SelectObject(m_pFontNormal);

    CRect clip;
    paintDc.GetClipBox(&clip);
    clip.IntersectRect(&clip, &client);
    if (m_bShowButtons && (m_nRepaintFrom == -2 || clip.left <= m_nButtonsWidth)) {
        for (int k = FirstButtonCode(); k < FirstButtonCode() + m_nButtons; ++k) {
            DrawScrollButton(&memDc, k, FALSE);
        }
    }
    clip.left = std::max<LONG>(clip.left, Base());
    memDc.IntersectClipRect(&clip);
    TabFillRect(&memDc, clip.left, 1, clip.Width(), clip.Height(), m_clrBeam);
    TabFillRect(&memDc, clip.left, 0, clip.Width(), 1, RGB(0, 0, 0));
    int last = TabFromPoint(clip.right + m_nGap);
    if (last == -1) {
        last = m_nTabs - 1;
    }
    const int fromPoint = TabFromPoint(clip.left);
    const int first = fromPoint > 0 ? fromPoint - 1 : 0;
    for (int i = last; i >= first; --i) {
        if (i != m_nCurrent) {
            DrawTab(&memDc, i);
        }
    }
    if (m_nCurrent >= first && m_nCurrent <= last) {
        DrawTab(&memDc, m_nCurrent);
    }
    memDc.SelectClipRgn(nullptr);
    paintDc.BitBlt(0, 0, client.Width(), client.Height(), &memDc, 0, 0, SRCCOPY);
    memDc.SelectObject(oldFont);
    memDc.SelectObject(oldBitmap);
}

void CGXTabBeam::DrawTab(CDC* dc, int index) {
    CGXTabInfo& tab = GetTab(index);
    const int a = GetTabLeft(index);
    const int w = tab.nWidth;
    const int g = m_nGap;
    const int h = m_nBeamHeight - PreWin4();
    const bool current = index == m_nCurrent;
    POINT points[4] = {{a, 0}, {a + w + 2 * g, 0}, {a + g + w, h}, {a + g, h}};
    CRgn region;
    region.CreatePolygonRgn(points, 4, ALTERNATE);
    CBrush* fill = nullptr;
    if (current || tab.bSel) {
        fill = (tab.flags & 2) ? &tab.brCurrentFace : &m_brCurrentFace;
    } else {
        fill = (tab.flags & 1) ? &tab.brFace : &m_brFace;
    }
    dc->FillRgn(&region, fill);
    dc->FrameRgn(&region, &m_brFrame, 1, 1);
    if (current) {
        TabFillRect(dc, a, 0, w + 2 * g, 1, m_clrCurrentFace);
    }
    CPen* oldPen = dc->SelectObject(&m_penShadow);
    dc->MoveTo(a + g + 1, h - 1);
    dc->LineTo(a + g + w - 1, h - 1);
    dc->LineTo(a + 2 * g + w - 2, 0);
    dc->SelectObject(oldPen);

    dc->SetTextColor(current ? m_clrCurrentText : m_clrText);
    dc->SetBkColor(tab.bSel ? m_clrCurrentFace : m_clrFace);
    dc->SetBkMode(TRANSPARENT);
    CFont* oldFont = current ? dc->SelectObject(m_pFontBold) : nullptr;
    const int top = std::max<int>(m_nBeamHeight - dc->GetTextExtent(CString(u"t")).cy, 0) / 2;
    CRect text(a + g, top, a + g + w, m_nBeamHeight);
    dc->DrawText(tab.sLabel, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
}

void DrawTabButtonFace(CDC* dc, int x, int y, int w, int h, BOOL pressed) {
    const COLORREF face = GridSysColorCache::GetColor(COLOR_BTNFACE);
    const COLORREF shadow = GridSysColorCache::GetColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GridSysColorCache::GetColor(COLOR_BTNHIGHLIGHT);
    const COLORREF frame = GridSysColorCache::GetColor(COLOR_WINDOWFRAME);
    TabFillRect(dc, x, y, w, 1, frame);
    TabFillRect(dc, x + 1, y + h, w - 1, 1, frame);
    TabFillRect(dc, x, y + 1, 1, h - 1, frame);
    TabFillRect(dc, x + w, y + 1, 1, h - 1, frame);
    TabFillRect(dc, x + 1, y + 1, w - 1, h - 1, face);
    if (pressed) {
        TabFillRect(dc, x + 1, y + 1, 1, h - 1, shadow);
        TabFillRect(dc, x + 1, y + 1, w - 1, 2, shadow);
        TabFillRect(dc, x + w - 1, y + 1, 1, h - 1, shadow);
        TabFillRect(dc, x + 1, y + h - 1, w - 1, 1, shadow);
    } else if (IsWin4()) {
        TabFillRect(dc, x + 2, y + 2, 1, h - 3, highlight);
        TabFillRect(dc, x + 2, y + 2, w - 3, 1, highlight);
        TabFillRect(dc, x + w - 1, y + 2, 1, h - 2, shadow);
        TabFillRect(dc, x + 2, y + h - 2, w - 2, 1, shadow);
    } else {
        TabFillRect(dc, x + 1, y + 1, 1, h - 2, highlight);
        TabFillRect(dc, x + 1, y + 1, w - 2, 1, highlight);
        TabFillRect(dc, x + w - 1, y + 1, 1, h - 1, shadow);
        TabFillRect(dc, x + 1, y + h - 2, w - 1, 1, shadow);
        TabFillRect(dc, x + w - 2, y + 2, 1, h - 3, shadow);
        TabFillRect(dc, x + 2, y + h - 3, w - 3, 1, shadow);
    }
}

void CGXTabBeam::DrawScrollButton(CDC* dc, int button, BOOL pressed) {
    const int W = m_nButtonWidth;
    const int H = m_nBeamHeight;
    const int p = ButtonPosition(button);
    const int x0 = p * W;
    const int x1 = (p + 1) * W;
    const int win4 = IsWin4();
    DrawTabButtonFace(dc, x0, 0, W, H, pressed);
    if (win4) {
        TabFillRect(dc, x0, H - 1, W, 1, RGB(0, 0, 0));
    }
    const COLORREF arrow = IsButtonDisabled(button) ? RGB(0x60, 0x60, 0x60) : RGB(0, 0, 0);
    const int A = 5 + (H > 19 ? 1 : 0) + (win4 ? 2 : 0);
    const int B = H > 19 ? 9 : 7;
    const int barTop = (H - B) / 2;
    const int t = (H - 9) / 2 + (pressed ? 1 : 0);
    const int q = pressed ? 1 : 0;
    const int columns = H > 19 ? 5 : 4;
    if (button <= kPrevious) {
        const int s = x0 + (x1 - A - x0) / 2 - 1 + q;
        if (button == kFirst) {
            TabFillRect(dc, s, barTop, 1, B, arrow);
        }
        for (int c = 0; c < columns; ++c) {
            TabFillRect(dc, s + 2 + c, t + 4 - c, 1, 1 + 2 * c, arrow);
        }
    } else {
        const int s = x1 - (x1 - A - x0) / 2 + q;
        if (button == kLast) {
            TabFillRect(dc, s, barTop, 1, B, arrow);
        }
        for (int c = 0; c < columns; ++c) {
            TabFillRect(dc, s - 2 - c, t + 4 - c, 1, 1 + 2 * c, arrow);
        }
    }
}

// --- colours and settings ---

void CGXTabBeam::OnSysColorChange() {
    Default();
    GridSysColorCache::Refresh();
    InitColors();
    Invalidate(TRUE);
}

void CGXTabBeam::OnSettingChange(UINT flags, LPCTSTR section) {
    (void)flags;
    (void)section;
    Default();
    InitDateTimeFeature();
    const int scrollHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    if (scrollHeight != m_nBeamHeight) {
        m_nBeamHeight = scrollHeight;
        m_nButtonWidth = scrollHeight;
        m_nButtonsWidth = scrollHeight * m_nButtons;
        CreateFonts();
        for (int i = 0; i < m_nTabs; ++i) {
            UpdateTabWidth(i);
        }
    }
    Invalidate(TRUE);
}
