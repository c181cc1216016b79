#include "platform/framework/CGdiObject.h"

#include "platform/base/MulDiv.h"
#include "platform/framework/AfxHandleMap.h"
#include "platform/framework/CDC.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/gdi/SystemColors.h"

#include <cstdlib>

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

namespace {

CHandleMap<CGdiObject, HGDIOBJ>* GdiMap() {
    return AfxThreadHandleMap<CGdiObject, HGDIOBJ>([](CGdiObject* o) { o->m_hObject = nullptr; });
}

} // namespace

CGdiObject::~CGdiObject() {
    DeleteObject();
}

template <class T>
T* CGdiObject::FromHandleAs(HGDIOBJ hObject) {
    if (!hObject) {
        return nullptr;
    }
    auto* map = GdiMap();
    if (!map) {
        return nullptr;
    }
    if (CGdiObject* permanent = map->LookupPermanent(hObject)) {
        if (T* typed = dynamic_cast<T*>(permanent)) {
            return typed;
        }
    }
    if (T* temporary = map->template LookupTemporary<T>(hObject)) {
        return temporary;
    }
    auto object = std::make_unique<T>();
    object->m_hObject = hObject;
    return map->MakeTemporary(hObject, std::move(object));
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    return FromHandleAs<CGdiObject>(hObject);
}
void CGdiObject::DeleteTempMap() {
    if (auto* map = GdiMap()) {
        map->DeleteTemp();
    }
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (!hObject) {
        return FALSE;
    }
    m_hObject = hObject;
    if (auto* map = GdiMap()) {
        map->SetPermanent(hObject, this);
    }
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (h) {
        if (auto* map = GdiMap()) {
            map->RemovePermanent(h, this);
        }
    }
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) {
        return FALSE;
    }
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObjectW(int nCount, LPVOID lpObject) const {
    return ::GetObjectW(m_hObject, nCount, lpObject);
}
UINT CGdiObject::GetObjectType() const {
    return static_cast<UINT>(::GetObjectType(m_hObject));
}
BOOL CGdiObject::CreateStockObject(int nIndex) {
    return Attach(::GetStockObject(nIndex));
}
BOOL CGdiObject::UnrealizeObject() {
    return ::UnrealizeObject(m_hObject);
}

// ---- CPen
CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    CreatePen(nPenStyle, nWidth, crColor);
}
CPen* CPen::FromHandle(HPEN hPen) {
    return FromHandleAs<CPen>(hPen);
}
BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}
BOOL CPen::CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount,
                     const DWORD* lpStyle) {
    return Attach(::ExtCreatePen(static_cast<DWORD>(nPenStyle), static_cast<DWORD>(nWidth), pLogBrush,
                                 static_cast<DWORD>(nStyleCount), lpStyle));
}
BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) {
    return Attach(::CreatePenIndirect(lpLogPen));
}

// ---- CBrush
CBrush::CBrush(COLORREF crColor) {
    CreateSolidBrush(crColor);
}
CBrush::CBrush(int nIndex, COLORREF crColor) {
    CreateHatchBrush(nIndex, crColor);
}
CBrush* CBrush::FromHandle(HBRUSH hBrush) {
    return FromHandleAs<CBrush>(hBrush);
}
BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    return Attach(::CreateSolidBrush(crColor));
}
BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) {
    return Attach(::CreateHatchBrush(nIndex, crColor));
}
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
    return Attach(::CreateBrushIndirect(lpLogBrush));
}
BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
    return pBitmap ? Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject))) : FALSE;
}
BOOL CBrush::CreateSysColorBrush(int nIndex) {
    return Attach(::CreateSolidBrush(::GetSysColor(nIndex)));
}

// ---- CFont
CFont* CFont::FromHandle(HFONT hFont) {
    return FromHandleAs<CFont>(hFont);
}
BOOL CFont::CreateFontIndirect(const LOGFONTW* lpLogFont) {
    return Attach(::CreateFontIndirectW(lpLogFont));
}
BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                       BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
    return Attach(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality,
                                nPitchAndFamily, lpszFacename));
}
BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName) {
        for (int i = 0; i < LF_FACESIZE - 1 && lpszFaceName[i]; ++i) {
            lf.lfFaceName[i] = lpszFaceName[i];
        }
    }
    return CreatePointFontIndirect(&lf, pDC);
}
BOOL CFont::CreatePointFontIndirect(const LOGFONTW* lpLogFont, CDC* pDC) {
    HDC hDC = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
    LOGFONTW lf = *lpLogFont;
    // Tenths of a point to device units, then back to logical height (negative: character height).
    POINT pt{0, MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), lf.lfHeight, 720)};
    ::DPtoLP(hDC, &pt, 1);
    POINT origin{0, 0};
    ::DPtoLP(hDC, &origin, 1);
    lf.lfHeight = -std::abs(pt.y - origin.y);
    if (!pDC) {
        ::ReleaseDC(nullptr, hDC);
    }
    return CreateFontIndirect(&lf);
}

// ---- CBitmap
CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) {
    return FromHandleAs<CBitmap>(hBitmap);
}
BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}
BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) {
    return Attach(::CreateBitmapIndirect(lpBitmap));
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}
BOOL CBitmap::CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight) {
    return CreateCompatibleBitmap(pDC, nWidth, nHeight);
}
BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
    return Attach(AfxGetResourceProvider().LoadBitmap(AfxGetResourceHandle(), lpszResourceName));
}
BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    return LoadBitmap(MAKEINTRESOURCEW(nIDResource));
}
BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap) {
    return Attach(AfxGetResourceProvider().LoadBitmap(nullptr, MAKEINTRESOURCEW(nIDBitmap)));
}
DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits) {
    return static_cast<DWORD>(::SetBitmapBits(static_cast<HBITMAP>(m_hObject), dwCount, lpBits));
}
DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const {
    return static_cast<DWORD>(
        ::GetBitmapBits(static_cast<HBITMAP>(m_hObject), static_cast<LONG>(dwCount), lpBits));
}
CSize CBitmap::SetBitmapDimension(int nWidth, int nHeight) {
    SIZE size{};
    ::SetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), nWidth, nHeight, &size);
    return CSize(size);
}
CSize CBitmap::GetBitmapDimension() const {
    SIZE size{};
    ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &size);
    return CSize(size);
}

// ---- CRgn
CRgn* CRgn::FromHandle(HRGN hRgn) {
    return FromHandleAs<CRgn>(hRgn);
}
BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}
BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) {
    return Attach(::CreateRectRgnIndirect(lpRect));
}
BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) {
    return Attach(::CreateEllipticRgn(x1, y1, x2, y2));
}
BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect) {
    return Attach(::CreateEllipticRgnIndirect(lpRect));
}
BOOL CRgn::CreatePolygonRgn(LPPOINT lpPoints, int nCount, int nMode) {
    return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
}
BOOL CRgn::CreatePolyPolygonRgn(LPPOINT lpPoints, LPINT lpPolyCounts, int nCount, int nPolyFillMode) {
    return Attach(::CreatePolyPolygonRgn(lpPoints, lpPolyCounts, nCount, nPolyFillMode));
}
BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
    return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}
BOOL CRgn::CreateFromPath(CDC* pDC) {
    return pDC ? Attach(::PathToRegion(pDC->m_hDC)) : FALSE;
}
void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) {
    ::SetRectRgn(static_cast<HRGN>(m_hObject), x1, y1, x2, y2);
}
void CRgn::SetRectRgn(LPCRECT r) {
    SetRectRgn(r->left, r->top, r->right, r->bottom);
}
int CRgn::CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode) {
    return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(SafeHandleOf(pRgn1)),
                        static_cast<HRGN>(SafeHandleOf(pRgn2)), nCombineMode);
}
int CRgn::CopyRgn(CRgn* pRgnSrc) {
    return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(SafeHandleOf(pRgnSrc)), nullptr,
                        RGN_COPY);
}
BOOL CRgn::EqualRgn(CRgn* pRgn) const {
    return ::EqualRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(SafeHandleOf(pRgn)));
}
int CRgn::OffsetRgn(int x, int y) {
    return ::OffsetRgn(static_cast<HRGN>(m_hObject), x, y);
}
int CRgn::GetRgnBox(LPRECT lpRect) const {
    return ::GetRgnBox(static_cast<HRGN>(m_hObject), lpRect);
}
BOOL CRgn::PtInRegion(int x, int y) const {
    return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y);
}
BOOL CRgn::RectInRegion(LPCRECT lpRect) const {
    return ::RectInRegion(static_cast<HRGN>(m_hObject), lpRect);
}
int CRgn::GetRegionData(LPRGNDATA lpRgnData, int nCount) const {
    return static_cast<int>(
        ::GetRegionData(static_cast<HRGN>(m_hObject), static_cast<DWORD>(nCount), lpRgnData));
}

// ---- CPalette
CPalette* CPalette::FromHandle(HPALETTE hPalette) {
    return FromHandleAs<CPalette>(hPalette);
}
BOOL CPalette::CreatePalette(LPLOGPALETTE lpLogPalette) {
    return Attach(::CreatePalette(lpLogPalette));
}
BOOL CPalette::CreateHalftonePalette(CDC* pDC) {
    return Attach(::CreateHalftonePalette(pDC ? pDC->m_hDC : nullptr));
}
int CPalette::GetEntryCount() {
    WORD count = 0;
    GetObjectW(sizeof(WORD), &count);
    return count;
}
UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const {
    return ::GetPaletteEntries(static_cast<HPALETTE>(m_hObject), nStartIndex, nNumEntries, lpPaletteColors);
}
UINT CPalette::SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) {
    return ::SetPaletteEntries(static_cast<HPALETTE>(m_hObject), nStartIndex, nNumEntries, lpPaletteColors);
}
UINT CPalette::GetNearestPaletteIndex(COLORREF crColor) const {
    return ::GetNearestPaletteIndex(static_cast<HPALETTE>(m_hObject), crColor);
}
BOOL CPalette::ResizePalette(UINT nNumEntries) {
    return ::ResizePalette(static_cast<HPALETTE>(m_hObject), nNumEntries);
}
