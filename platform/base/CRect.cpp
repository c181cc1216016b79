#include "platform/base/CRect.h"

#include "platform/base/MulDiv.h"

CSize CPoint::operator-(POINT point) const noexcept {
    return CSize(x - point.x, y - point.y);
}

CRect CPoint::operator+(const RECT* rect) const noexcept {
    CRect r(rect);
    r.OffsetRect(x, y);
    return r;
}

CRect CPoint::operator-(const RECT* rect) const noexcept {
    CRect r(rect);
    r.OffsetRect(-x, -y);
    return r;
}

CRect CSize::operator+(const RECT* rect) const noexcept {
    CRect r(rect);
    r.OffsetRect(cx, cy);
    return r;
}

CRect CSize::operator-(const RECT* rect) const noexcept {
    CRect r(rect);
    r.OffsetRect(-cx, -cy);
    return r;
}

void CRect::InflateRect(const RECT* rect) noexcept {
    if (rect) {
        InflateRect(rect->left, rect->top, rect->right, rect->bottom);
    }
}

void CRect::InflateRect(int l, int t, int r, int b) noexcept {
    left -= l;
    top -= t;
    right += r;
    bottom += b;
}

void CRect::DeflateRect(const RECT* rect) noexcept {
    if (rect) {
        DeflateRect(rect->left, rect->top, rect->right, rect->bottom);
    }
}

void CRect::DeflateRect(int l, int t, int r, int b) noexcept {
    left += l;
    top += t;
    right -= r;
    bottom -= b;
}

void CRect::MoveToX(int x) noexcept {
    right = x + Width();
    left = x;
}

void CRect::MoveToY(int y) noexcept {
    bottom = y + Height();
    top = y;
}

void CRect::NormalizeRect() noexcept {
    if (left > right) {
        SwapLeftRight();
    }
    if (top > bottom) {
        LONG t = top;
        top = bottom;
        bottom = t;
    }
}

void CRect::MulDiv(int multiplier, int divisor) noexcept {
    left = ::MulDiv(left, multiplier, divisor);
    top = ::MulDiv(top, multiplier, divisor);
    right = ::MulDiv(right, multiplier, divisor);
    bottom = ::MulDiv(bottom, multiplier, divisor);
}

CRect CRect::operator+(POINT point) const noexcept {
    CRect r(*this);
    r.OffsetRect(point);
    return r;
}

CRect CRect::operator-(POINT point) const noexcept {
    CRect r(*this);
    r.OffsetRect(-point.x, -point.y);
    return r;
}

CRect CRect::operator+(SIZE size) const noexcept {
    CRect r(*this);
    r.OffsetRect(size);
    return r;
}

CRect CRect::operator-(SIZE size) const noexcept {
    CRect r(*this);
    r.OffsetRect(-size.cx, -size.cy);
    return r;
}

CRect CRect::operator+(const RECT* rect) const noexcept {
    CRect r(*this);
    r.InflateRect(rect);
    return r;
}

CRect CRect::operator-(const RECT* rect) const noexcept {
    CRect r(*this);
    r.DeflateRect(rect);
    return r;
}

CRect CRect::operator&(const RECT& rect2) const noexcept {
    CRect r;
    ::IntersectRect(&r, this, &rect2);
    return r;
}

CRect CRect::operator|(const RECT& rect2) const noexcept {
    CRect r;
    ::UnionRect(&r, this, &rect2);
    return r;
}
