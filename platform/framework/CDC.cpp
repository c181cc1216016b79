#include "platform/framework/CDC.h"

#include "platform/framework/AfxHandleMap.h"
#include "platform/framework/CWnd.h"

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {

CHandleMap<CDC, HDC>* DcMap() {
    return AfxThreadHandleMap<CDC, HDC>([](CDC* dc) {
        dc->m_hDC = nullptr;
        dc->m_hAttribDC = nullptr;
    });
}

} // namespace

CDC::~CDC() {
    if (m_hDC) {
        ::DeleteDC(Detach());
    }
}

CDC* CDC::FromHandle(HDC hDC) {
    if (!hDC) {
        return nullptr;
    }
    auto* map = DcMap();
    if (!map) {
        return nullptr;
    }
    if (CDC* permanent = map->LookupPermanent(hDC)) {
        return permanent;
    }
    if (CDC* temporary = map->LookupTemporary<CDC>(hDC)) {
        return temporary;
    }
    auto dc = std::make_unique<CDC>();
    dc->m_hDC = dc->m_hAttribDC = hDC;
    return map->MakeTemporary(hDC, std::move(dc));
}

void CDC::DeleteTempMap() {
    if (auto* map = DcMap()) {
        map->DeleteTemp();
    }
}

BOOL CDC::Attach(HDC hDC) {
    if (!hDC) {
        return FALSE;
    }
    m_hDC = m_hAttribDC = hDC;
    if (auto* map = DcMap()) {
        map->SetPermanent(hDC, this);
    }
    return TRUE;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    if (h) {
        if (auto* map = DcMap()) {
            map->RemovePermanent(h, this);
        }
    }
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

CWnd* CDC::GetWindow() const {
    return CWnd::FromHandle(::WindowFromDC(m_hDC));
}

BOOL CDC::CreateDC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const void* init) {
    return Attach(::CreateDCW(driver, device, output, static_cast<const DEVMODEW*>(init)));
}
BOOL CDC::CreateIC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const void* init) {
    return Attach(::CreateICW(driver, device, output, static_cast<const DEVMODEW*>(init)));
}
BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    return Attach(::CreateCompatibleDC(SafeHdcOf(pDC)));
}
BOOL CDC::DeleteDC() {
    return m_hDC ? ::DeleteDC(Detach()) : FALSE;
}

int CDC::SaveDC() {
    int saved = 0;
    if (m_hAttribDC) {
        saved = ::SaveDC(m_hAttribDC);
    }
    if (m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0) {
        saved = -1; // the two no longer share a level number
    }
    return saved;
}

BOOL CDC::RestoreDC(int nSavedDC) {
    BOOL ok = TRUE;
    if (m_hDC != m_hAttribDC) {
        ok = ::RestoreDC(m_hDC, nSavedDC);
    }
    if (m_hAttribDC) {
        ok = ::RestoreDC(m_hAttribDC, nSavedDC) && ok;
    }
    return ok;
}

// Selection goes to both DCs when they differ; the previous object is answered from the output DC.
HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    HGDIOBJ old = nullptr;
    if (m_hDC != m_hAttribDC) {
        old = ::SelectObject(m_hDC, hObject);
    }
    if (m_hAttribDC) {
        old = ::SelectObject(m_hAttribDC, hObject);
    }
    return old;
}
CPen* CDC::SelectObject(CPen* pPen) {
    return CPen::FromHandle(static_cast<HPEN>(SelectObject(CGdiObject::SafeHandleOf(pPen))));
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
    return CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(CGdiObject::SafeHandleOf(pBrush))));
}
CFont* CDC::SelectObject(CFont* pFont) {
    return CFont::FromHandle(static_cast<HFONT>(SelectObject(CGdiObject::SafeHandleOf(pFont))));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return CBitmap::FromHandle(static_cast<HBITMAP>(SelectObject(CGdiObject::SafeHandleOf(pBitmap))));
}
int CDC::SelectObject(CRgn* pRgn) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(SelectObject(CGdiObject::SafeHandleOf(pRgn))));
}
CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    return CGdiObject::FromHandle(SelectObject(CGdiObject::SafeHandleOf(pObject)));
}
CGdiObject* CDC::SelectStockObject(int nIndex) {
    return CGdiObject::FromHandle(SelectObject(::GetStockObject(nIndex)));
}
CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
    return CPalette::FromHandle(
        ::SelectPalette(m_hDC, static_cast<HPALETTE>(CGdiObject::SafeHandleOf(pPalette)), bForceBackground));
}
CPen* CDC::GetCurrentPen() const {
    return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}
CBrush* CDC::GetCurrentBrush() const {
    return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const {
    return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const {
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}
CPalette* CDC::GetCurrentPalette() const {
    return CPalette::FromHandle(static_cast<HPALETTE>(::GetCurrentObject(m_hDC, OBJ_PAL)));
}

// ---- Attributes: set on both, answer the attribute DC's previous value.
#define AFX_SET_BOTH(call)                                                                                   \
    if (m_hDC != m_hAttribDC) {                                                                              \
        (void)::call(m_hDC, value);                                                                          \
    }                                                                                                        \
    return m_hAttribDC ? ::call(m_hAttribDC, value) : ::call(m_hDC, value)

COLORREF CDC::SetBkColor(COLORREF value) {
    AFX_SET_BOTH(SetBkColor);
}
int CDC::SetBkMode(int value) {
    AFX_SET_BOTH(SetBkMode);
}
COLORREF CDC::SetTextColor(COLORREF value) {
    AFX_SET_BOTH(SetTextColor);
}
int CDC::SetROP2(int value) {
    AFX_SET_BOTH(SetROP2);
}
int CDC::SetPolyFillMode(int value) {
    AFX_SET_BOTH(SetPolyFillMode);
}
int CDC::SetStretchBltMode(int value) {
    AFX_SET_BOTH(SetStretchBltMode);
}
UINT CDC::SetTextAlign(UINT value) {
    AFX_SET_BOTH(SetTextAlign);
}
int CDC::SetTextCharacterExtra(int value) {
    AFX_SET_BOTH(SetTextCharacterExtra);
}
int CDC::SetMapMode(int value) {
    AFX_SET_BOTH(SetMapMode);
}
#undef AFX_SET_BOTH

CPoint CDC::GetBrushOrg() const {
    POINT p{};
    ::GetBrushOrgEx(m_hDC, &p);
    return CPoint(p);
}
CPoint CDC::SetBrushOrg(int x, int y) {
    POINT p{};
    ::SetBrushOrgEx(m_hDC, x, y, &p);
    return CPoint(p);
}

// ---- Coordinates
#define AFX_POINT_BOTH(call, a, b)                                                                           \
    POINT p{};                                                                                               \
    if (m_hDC != m_hAttribDC) {                                                                              \
        ::call(m_hDC, a, b, &p);                                                                             \
    }                                                                                                        \
    if (m_hAttribDC) {                                                                                       \
        ::call(m_hAttribDC, a, b, &p);                                                                       \
    }                                                                                                        \
    return CPoint(p)
#define AFX_SIZE_BOTH(call, ...)                                                                             \
    SIZE s{};                                                                                                \
    if (m_hDC != m_hAttribDC) {                                                                              \
        ::call(m_hDC, __VA_ARGS__, &s);                                                                      \
    }                                                                                                        \
    if (m_hAttribDC) {                                                                                       \
        ::call(m_hAttribDC, __VA_ARGS__, &s);                                                                \
    }                                                                                                        \
    return CSize(s)

CPoint CDC::GetViewportOrg() const {
    POINT p{};
    ::GetViewportOrgEx(m_hAttribDC, &p);
    return CPoint(p);
}
CPoint CDC::SetViewportOrg(int x, int y) {
    AFX_POINT_BOTH(SetViewportOrgEx, x, y);
}
CPoint CDC::OffsetViewportOrg(int w, int h) {
    AFX_POINT_BOTH(OffsetViewportOrgEx, w, h);
}
CSize CDC::GetViewportExt() const {
    SIZE s{};
    ::GetViewportExtEx(m_hAttribDC, &s);
    return CSize(s);
}
CSize CDC::SetViewportExt(int cx, int cy) {
    AFX_SIZE_BOTH(SetViewportExtEx, cx, cy);
}
CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom) {
    AFX_SIZE_BOTH(ScaleViewportExtEx, xNum, xDenom, yNum, yDenom);
}
CPoint CDC::GetWindowOrg() const {
    POINT p{};
    ::GetWindowOrgEx(m_hAttribDC, &p);
    return CPoint(p);
}
CPoint CDC::SetWindowOrg(int x, int y) {
    AFX_POINT_BOTH(SetWindowOrgEx, x, y);
}
CPoint CDC::OffsetWindowOrg(int w, int h) {
    AFX_POINT_BOTH(OffsetWindowOrgEx, w, h);
}
CSize CDC::GetWindowExt() const {
    SIZE s{};
    ::GetWindowExtEx(m_hAttribDC, &s);
    return CSize(s);
}
CSize CDC::SetWindowExt(int cx, int cy) {
    AFX_SIZE_BOTH(SetWindowExtEx, cx, cy);
}
CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) {
    AFX_SIZE_BOTH(ScaleWindowExtEx, xNum, xDenom, yNum, yDenom);
}
#undef AFX_POINT_BOTH
#undef AFX_SIZE_BOTH

void CDC::DPtoLP(LPSIZE lpSize) const {
    POINT p[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::DPtoLP(m_hAttribDC, p, 2);
    lpSize->cx = p[1].x - p[0].x;
    lpSize->cy = p[1].y - p[0].y;
}
void CDC::LPtoDP(LPSIZE lpSize) const {
    POINT p[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::LPtoDP(m_hAttribDC, p, 2);
    lpSize->cx = p[1].x - p[0].x;
    lpSize->cy = p[1].y - p[0].y;
}

// ---- Clipping
int CDC::SelectClipRgn(CRgn* pRgn) {
    HRGN h = static_cast<HRGN>(CGdiObject::SafeHandleOf(pRgn));
    int result = ::SelectClipRgn(m_hDC, h);
    if (m_hAttribDC && m_hAttribDC != m_hDC) {
        result = ::SelectClipRgn(m_hAttribDC, h);
    }
    return result;
}
int CDC::SelectClipRgn(CRgn* pRgn, int nMode) {
    HRGN h = static_cast<HRGN>(CGdiObject::SafeHandleOf(pRgn));
    int result = ::ExtSelectClipRgn(m_hDC, h, nMode);
    if (m_hAttribDC && m_hAttribDC != m_hDC) {
        result = ::ExtSelectClipRgn(m_hAttribDC, h, nMode);
    }
    return result;
}
int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
    int result = ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC && m_hAttribDC != m_hDC) {
        result = ::ExcludeClipRect(m_hAttribDC, x1, y1, x2, y2);
    }
    return result;
}
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
    int result = ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC && m_hAttribDC != m_hDC) {
        result = ::IntersectClipRect(m_hAttribDC, x1, y1, x2, y2);
    }
    return result;
}
int CDC::OffsetClipRgn(int x, int y) {
    int result = ::OffsetClipRgn(m_hDC, x, y);
    if (m_hAttribDC && m_hAttribDC != m_hDC) {
        result = ::OffsetClipRgn(m_hAttribDC, x, y);
    }
    return result;
}

// ---- Lines and shapes
CPoint CDC::GetCurrentPosition() const {
    POINT p{};
    ::GetCurrentPositionEx(m_hAttribDC, &p);
    return CPoint(p);
}
CPoint CDC::MoveTo(int x, int y) {
    POINT p{};
    if (m_hDC != m_hAttribDC) {
        ::MoveToEx(m_hDC, x, y, &p);
    }
    if (m_hAttribDC) {
        ::MoveToEx(m_hAttribDC, x, y, &p);
    }
    return CPoint(p);
}
BOOL CDC::LineTo(int x, int y) {
    if (m_hAttribDC && m_hAttribDC != m_hDC) {
        ::MoveToEx(m_hAttribDC, x, y, nullptr);
    }
    return ::LineTo(m_hDC, x, y);
}
BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush) {
    return ::FillRgn(m_hDC, static_cast<HRGN>(CGdiObject::SafeHandleOf(pRgn)),
                     static_cast<HBRUSH>(CGdiObject::SafeHandleOf(pBrush)));
}
BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) {
    return ::FrameRgn(m_hDC, static_cast<HRGN>(CGdiObject::SafeHandleOf(pRgn)),
                      static_cast<HBRUSH>(CGdiObject::SafeHandleOf(pBrush)), nWidth, nHeight);
}
BOOL CDC::InvertRgn(CRgn* pRgn) {
    return ::InvertRgn(m_hDC, static_cast<HRGN>(CGdiObject::SafeHandleOf(pRgn)));
}
BOOL CDC::PaintRgn(CRgn* pRgn) {
    return ::PaintRgn(m_hDC, static_cast<HRGN>(CGdiObject::SafeHandleOf(pRgn)));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, clr);
}
void CDC::Draw3dRect(LPCRECT r, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, clrTopLeft, clrBottomRight);
}
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast) {
    CBrush halftone;
    if (!pBrush || !pBrushLast) {
        WORD pattern[8];
        for (int i = 0; i < 8; ++i) {
            pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
        }
        CBitmap bitmap;
        bitmap.CreateBitmap(8, 8, 1, 1, pattern);
        halftone.CreatePatternBrush(&bitmap);
        if (!pBrush) {
            pBrush = &halftone;
        }
        if (!pBrushLast) {
            pBrushLast = pBrush;
        }
    }
    auto frameRgn = [](CRgn& rgn, LPCRECT r, SIZE s) {
        CRgn inner;
        rgn.CreateRectRgnIndirect(r);
        RECT in{r->left + s.cx, r->top + s.cy, r->right - s.cx, r->bottom - s.cy};
        inner.CreateRectRgnIndirect(&in);
        rgn.CombineRgn(&rgn, &inner, RGN_XOR);
    };
    CRgn rgnNew;
    frameRgn(rgnNew, lpRect, size);
    CRgn rgnUpdate;
    if (lpRectLast) {
        CRgn rgnLast;
        frameRgn(rgnLast, lpRectLast, sizeLast);
        rgnUpdate.CreateRectRgn(0, 0, 0, 0);
        rgnUpdate.CombineRgn(&rgnLast, &rgnNew, RGN_XOR);
    }
    SelectClipRgn(lpRectLast ? &rgnUpdate : &rgnNew);
    RECT box{};
    GetClipBox(&box);
    CBrush* old = SelectObject(pBrush);
    PatBlt(box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
    SelectObject(old);
    SelectClipRgn(nullptr);
}

// ---- Text
BOOL CDC::TextOutW(int x, int y, LPCTSTR s, int n) {
    return ::TextOutW(m_hDC, x, y, s, n);
}
BOOL CDC::ExtTextOutW(int x, int y, UINT options, LPCRECT r, LPCTSTR s, UINT n, LPINT dx) {
    return ::ExtTextOutW(m_hDC, x, y, options, r, s, n, dx);
}
CSize CDC::TabbedTextOutW(int x, int y, LPCTSTR s, int n, int tabs, LPINT stops, int origin) {
    LONG result = ::TabbedTextOutW(m_hDC, x, y, s, n, tabs, stops, origin);
    return CSize(LOWORD(result), HIWORD(result));
}
int CDC::DrawTextW(LPCTSTR s, int n, LPRECT r, UINT format) {
    return ::DrawTextW(m_hDC, s, n, r, format);
}
CSize CDC::GetTextExtent(LPCTSTR s, int n) const {
    SIZE size{};
    ::GetTextExtentPoint32W(m_hAttribDC, s, n, &size);
    return CSize(size);
}
CSize CDC::GetOutputTextExtent(LPCTSTR s, int n) const {
    SIZE size{};
    ::GetTextExtentPoint32W(m_hDC, s, n, &size);
    return CSize(size);
}
CSize CDC::GetTabbedTextExtentW(LPCTSTR s, int n, int tabs, LPINT stops) const {
    DWORD result = ::GetTabbedTextExtentW(m_hAttribDC, s, n, tabs, stops);
    return CSize(LOWORD(result), HIWORD(result));
}
int CDC::GetTextFaceW(CString& rString) const {
    int n = ::GetTextFaceW(m_hDC, 0, nullptr);
    int got = ::GetTextFaceW(m_hDC, n, rString.GetBuffer(n));
    rString.ReleaseBuffer();
    return got;
}
BOOL CDC::GrayStringW(CBrush* pBrush, GRAYSTRINGPROC lpfnOutput, LPARAM lpData, int nCount, int x, int y,
                      int nWidth, int nHeight) {
    return ::GrayStringW(m_hDC, static_cast<HBRUSH>(CGdiObject::SafeHandleOf(pBrush)), lpfnOutput, lpData,
                         nCount, x, y, nWidth, nHeight);
}

int CDC::StartDocW(LPCTSTR lpszDocName) {
    DOCINFOW info{};
    info.cbSize = sizeof(info);
    info.lpszDocName = lpszDocName;
    return ::StartDocW(m_hDC, &info);
}

// ---- Window DCs
CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}
CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}
CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    Attach(::GetDC(m_hWnd));
}
CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    Attach(::GetWindowDC(m_hWnd));
}
CWindowDC::~CWindowDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
