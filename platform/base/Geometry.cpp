#include "platform/base/Geometry.h"

#include <algorithm>

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect) {
        return FALSE;
    }
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) {
    return SetRect(rect, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT dest, const RECT* source) {
    if (!dest || !source) {
        return FALSE;
    }
    *dest = *source;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) {
    return !rect || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* rect, POINT pt) {
    return rect && pt.x >= rect->left && pt.x < rect->right && pt.y >= rect->top && pt.y < rect->bottom;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    if (!rect) {
        return FALSE;
    }
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
    if (!rect) {
        return FALSE;
    }
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (!dest || !a || !b) {
        return FALSE;
    }
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(dest);
        return FALSE;
    }
    *dest = r;
    return TRUE;
}

BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (!dest || !a || !b) {
        return FALSE;
    }
    if (IsRectEmpty(a)) {
        *dest = IsRectEmpty(b) ? RECT{} : *b;
    } else if (IsRectEmpty(b)) {
        *dest = *a;
    } else {
        *dest = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                     std::max(a->bottom, b->bottom)};
    }
    return !IsRectEmpty(dest);
}

BOOL SubtractRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (!dest || !a || !b) {
        return FALSE;
    }
    RECT r = *a;
    RECT cut;
    if (IntersectRect(&cut, a, b)) {
        // Only a cut spanning a whole side shrinks the rectangle.
        if (cut.top == r.top && cut.bottom == r.bottom) {
            if (cut.left == r.left) {
                r.left = cut.right;
            } else if (cut.right == r.right) {
                r.right = cut.left;
            }
        } else if (cut.left == r.left && cut.right == r.right) {
            if (cut.top == r.top) {
                r.top = cut.bottom;
            } else if (cut.bottom == r.bottom) {
                r.bottom = cut.top;
            }
        }
    }
    if (IsRectEmpty(&r)) {
        SetRectEmpty(dest);
        return FALSE;
    }
    *dest = r;
    return TRUE;
}
