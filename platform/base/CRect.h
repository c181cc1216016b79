// The framework's geometry classes: thin value types over POINT, SIZE and RECT, convertible both ways, so
// that code can pass a CRect wherever a RECT* is wanted. Rectangles are half-open (right/bottom outside).
#pragma once

#include "platform/base/Geometry.h"
#include "platform/base/WindowTypes.h"

class CSize;
class CRect;

class CPoint : public tagPOINT {
public:
    CPoint() noexcept : tagPOINT{0, 0} {}
    CPoint(int initX, int initY) noexcept : tagPOINT{initX, initY} {}
    CPoint(POINT initPt) noexcept : tagPOINT(initPt) {}
    CPoint(SIZE initSize) noexcept : tagPOINT{initSize.cx, initSize.cy} {}
    // Low word x, high word y, both signed: the packing of mouse-message coordinates.
    explicit CPoint(LPARAM dwPoint) noexcept
        : tagPOINT{static_cast<SHORT>(LOWORD(dwPoint)), static_cast<SHORT>(HIWORD(dwPoint))} {}

    void Offset(int xOffset, int yOffset) noexcept {
        x += xOffset;
        y += yOffset;
    }
    void Offset(POINT point) noexcept { Offset(point.x, point.y); }
    void Offset(SIZE size) noexcept { Offset(size.cx, size.cy); }
    void SetPoint(int X, int Y) noexcept {
        x = X;
        y = Y;
    }

    bool operator==(POINT point) const noexcept { return x == point.x && y == point.y; }
    bool operator!=(POINT point) const noexcept { return !(*this == point); }
    // Exact forms, so that comparing two CPoints is not ambiguous with the reversed POINT form.
    bool operator==(const CPoint& point) const noexcept { return x == point.x && y == point.y; }
    bool operator!=(const CPoint& point) const noexcept { return !(*this == point); }
    void operator+=(SIZE size) noexcept { Offset(size); }
    void operator-=(SIZE size) noexcept { Offset(-size.cx, -size.cy); }
    void operator+=(POINT point) noexcept { Offset(point); }
    void operator-=(POINT point) noexcept { Offset(-point.x, -point.y); }

    CPoint operator+(SIZE size) const noexcept { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const noexcept { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator-() const noexcept { return CPoint(-x, -y); }
    CPoint operator+(POINT point) const noexcept { return CPoint(x + point.x, y + point.y); }
    CSize operator-(POINT point) const noexcept;
    CRect operator+(const RECT* rect) const noexcept;
    CRect operator-(const RECT* rect) const noexcept;
};

class CSize : public tagSIZE {
public:
    CSize() noexcept : tagSIZE{0, 0} {}
    CSize(int initCX, int initCY) noexcept : tagSIZE{initCX, initCY} {}
    CSize(SIZE initSize) noexcept : tagSIZE(initSize) {}
    CSize(POINT initPt) noexcept : tagSIZE{initPt.x, initPt.y} {}
    explicit CSize(DWORD dwSize) noexcept
        : tagSIZE{static_cast<SHORT>(LOWORD(dwSize)), static_cast<SHORT>(HIWORD(dwSize))} {}

    bool operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const noexcept { return !(*this == size); }
    bool operator==(const CSize& size) const noexcept { return cx == size.cx && cy == size.cy; }
    bool operator!=(const CSize& size) const noexcept { return !(*this == size); }
    void operator+=(SIZE size) noexcept {
        cx += size.cx;
        cy += size.cy;
    }
    void operator-=(SIZE size) noexcept {
        cx -= size.cx;
        cy -= size.cy;
    }
    void SetSize(int CX, int CY) noexcept {
        cx = CX;
        cy = CY;
    }

    CSize operator+(SIZE size) const noexcept { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const noexcept { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const noexcept { return CSize(-cx, -cy); }
    CPoint operator+(POINT point) const noexcept { return CPoint(cx + point.x, cy + point.y); }
    CPoint operator-(POINT point) const noexcept { return CPoint(cx - point.x, cy - point.y); }
    CRect operator+(const RECT* rect) const noexcept;
    CRect operator-(const RECT* rect) const noexcept;
};

class CRect : public tagRECT {
public:
    CRect() noexcept : tagRECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) noexcept : tagRECT{l, t, r, b} {}
    CRect(const RECT& srcRect) noexcept : tagRECT(srcRect) {}
    CRect(const RECT* srcRect) noexcept : tagRECT(srcRect ? *srcRect : RECT{}) {}
    CRect(POINT point, SIZE size) noexcept
        : tagRECT{point.x, point.y, point.x + size.cx, point.y + size.cy} {}
    CRect(POINT topLeft, POINT bottomRight) noexcept
        : tagRECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    // References into the rectangle itself, as the framework gives them (so `r.TopLeft() = pt` and
    // `ClientToScreen(&r.TopLeft())` work).
    CPoint& TopLeft() noexcept { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() noexcept { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const noexcept { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const noexcept { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }
    void SwapLeftRight() noexcept {
        LONG t = left;
        left = right;
        right = t;
    }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }

    BOOL IsRectEmpty() const noexcept { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT point) const noexcept { return ::PtInRect(this, point); }

    void SetRect(int x1, int y1, int x2, int y2) noexcept { ::SetRect(this, x1, y1, x2, y2); }
    void SetRect(POINT topLeft, POINT bottomRight) noexcept {
        ::SetRect(this, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    }
    void SetRectEmpty() noexcept { ::SetRectEmpty(this); }
    void CopyRect(const RECT* srcRect) noexcept { ::CopyRect(this, srcRect); }
    BOOL EqualRect(const RECT* rect) const noexcept { return ::EqualRect(this, rect); }

    void InflateRect(int x, int y) noexcept { ::InflateRect(this, x, y); }
    void InflateRect(SIZE size) noexcept { ::InflateRect(this, size.cx, size.cy); }
    void InflateRect(const RECT* rect) noexcept;
    void InflateRect(int l, int t, int r, int b) noexcept;
    void DeflateRect(int x, int y) noexcept { ::InflateRect(this, -x, -y); }
    void DeflateRect(SIZE size) noexcept { ::InflateRect(this, -size.cx, -size.cy); }
    void DeflateRect(const RECT* rect) noexcept;
    void DeflateRect(int l, int t, int r, int b) noexcept;

    void OffsetRect(int x, int y) noexcept { ::OffsetRect(this, x, y); }
    void OffsetRect(SIZE size) noexcept { ::OffsetRect(this, size.cx, size.cy); }
    void OffsetRect(POINT point) noexcept { ::OffsetRect(this, point.x, point.y); }
    void MoveToX(int x) noexcept;
    void MoveToY(int y) noexcept;
    void MoveToXY(int x, int y) noexcept {
        MoveToX(x);
        MoveToY(y);
    }
    void MoveToXY(POINT point) noexcept { MoveToXY(point.x, point.y); }
    // Swaps edges so that left <= right and top <= bottom.
    void NormalizeRect() noexcept;
    // Scales every coordinate with the Win32 MulDiv rounding.
    void MulDiv(int multiplier, int divisor) noexcept;

    BOOL IntersectRect(const RECT* rect1, const RECT* rect2) noexcept {
        return ::IntersectRect(this, rect1, rect2);
    }
    BOOL UnionRect(const RECT* rect1, const RECT* rect2) noexcept { return ::UnionRect(this, rect1, rect2); }
    BOOL SubtractRect(const RECT* rectSrc1, const RECT* rectSrc2) noexcept {
        return ::SubtractRect(this, rectSrc1, rectSrc2);
    }

    CRect& operator=(const RECT& srcRect) noexcept {
        ::CopyRect(this, &srcRect);
        return *this;
    }
    bool operator==(const RECT& rect) const noexcept { return ::EqualRect(this, &rect) != FALSE; }
    bool operator!=(const RECT& rect) const noexcept { return !(*this == rect); }
    bool operator==(const CRect& rect) const noexcept { return ::EqualRect(this, &rect) != FALSE; }
    bool operator!=(const CRect& rect) const noexcept { return !(*this == rect); }
    void operator+=(POINT point) noexcept { OffsetRect(point); }
    void operator+=(SIZE size) noexcept { OffsetRect(size); }
    void operator+=(const RECT* rect) noexcept { InflateRect(rect); }
    void operator-=(POINT point) noexcept { ::OffsetRect(this, -point.x, -point.y); }
    void operator-=(SIZE size) noexcept { ::OffsetRect(this, -size.cx, -size.cy); }
    void operator-=(const RECT* rect) noexcept { DeflateRect(rect); }
    void operator&=(const RECT& rect) noexcept { ::IntersectRect(this, this, &rect); }
    void operator|=(const RECT& rect) noexcept { ::UnionRect(this, this, &rect); }

    CRect operator+(POINT point) const noexcept;
    CRect operator-(POINT point) const noexcept;
    CRect operator+(SIZE size) const noexcept;
    CRect operator-(SIZE size) const noexcept;
    CRect operator+(const RECT* rect) const noexcept;
    CRect operator-(const RECT* rect) const noexcept;
    // Exact matches for non-const pointers, so that pointer arithmetic through operator LPRECT never wins.
    CRect operator+(RECT* rect) const noexcept { return *this + static_cast<const RECT*>(rect); }
    CRect operator-(RECT* rect) const noexcept { return *this - static_cast<const RECT*>(rect); }
    CRect operator&(const RECT& rect2) const noexcept;
    CRect operator|(const RECT& rect2) const noexcept;
};
