// The framework's geometry classes.
#include "platform/base/CRect.h"

#include <gtest/gtest.h>

TEST(CRect, ConstructionAndConversions) {
    POINT p{3, 4};
    SIZE s{10, 20};
    CRect a(p, s);
    EXPECT_EQ(a, (CRect(3, 4, 13, 24)));
    EXPECT_EQ(a.Width(), 10);
    EXPECT_EQ(a.Height(), 20);
    EXPECT_EQ(a.Size(), CSize(10, 20));
    EXPECT_EQ(a.CenterPoint(), CPoint(8, 14));
    RECT raw = a;
    EXPECT_EQ(raw.right, 13);
    LPRECT lp = a;
    lp->left = 0;
    EXPECT_EQ(a.left, 0);
    const CRect c(1, 2, 3, 4);
    LPCRECT lcp = c;
    EXPECT_EQ(lcp->bottom, 4);
    CRect fromPtr(&raw);
    EXPECT_EQ(fromPtr.right, 13);
    // TopLeft and BottomRight are references into the rectangle.
    a.TopLeft() = CPoint(-1, -2);
    a.BottomRight().x = 50;
    EXPECT_EQ(a, (CRect(-1, -2, 50, 24)));
    EXPECT_EQ(CPoint(MAKELPARAM(-5, 7)), CPoint(-5, 7));
    EXPECT_EQ(CSize(static_cast<DWORD>(MAKELONG(2, -3))), CSize(2, -3));
}

TEST(CRect, EmptyNullAndPointTests) {
    CRect r;
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_TRUE(r.IsRectEmpty());
    r.SetRect(0, 0, 5, 5);
    EXPECT_FALSE(r.IsRectEmpty());
    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_FALSE(r.PtInRect(CPoint(5, 0))); // right edge outside
    r.SetRect(5, 0, 0, 5);
    EXPECT_TRUE(r.IsRectEmpty());
    EXPECT_FALSE(r.IsRectNull());
    r.NormalizeRect();
    EXPECT_EQ(r, (CRect(0, 0, 5, 5)));
    r.SetRectEmpty();
    EXPECT_TRUE(r.IsRectNull());
}

TEST(CRect, InflateDeflateOffset) {
    CRect r(10, 10, 20, 20);
    r.InflateRect(1, 2);
    EXPECT_EQ(r, (CRect(9, 8, 21, 22)));
    r.DeflateRect(CSize(1, 2));
    EXPECT_EQ(r, (CRect(10, 10, 20, 20)));
    r.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, (CRect(9, 8, 23, 24)));
    RECT by{1, 2, 3, 4};
    r.DeflateRect(&by);
    EXPECT_EQ(r, (CRect(10, 10, 20, 20)));
    r.InflateRect(&by);
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, (CRect(10, 10, 20, 20)));
    r.OffsetRect(CPoint(1, 1));
    r.OffsetRect(CSize(1, 1));
    r.OffsetRect(-2, -2);
    EXPECT_EQ(r, (CRect(10, 10, 20, 20)));
    r.MoveToXY(0, 5);
    EXPECT_EQ(r, (CRect(0, 5, 10, 15)));
    r.MulDiv(3, 2);
    EXPECT_EQ(r, (CRect(0, 8, 15, 23))); // 7.5 rounds away from zero
}

TEST(CRect, SetOperations) {
    CRect a(0, 0, 10, 10);
    CRect b(5, 5, 15, 15);
    CRect i;
    EXPECT_TRUE(i.IntersectRect(a, b));
    EXPECT_EQ(i, (CRect(5, 5, 10, 10)));
    EXPECT_EQ(a & b, i);
    EXPECT_EQ(a | b, (CRect(0, 0, 15, 15)));
    CRect far(20, 20, 30, 30);
    EXPECT_FALSE(i.IntersectRect(a, far));
    EXPECT_TRUE(i.IsRectNull()); // empty results are all zeros
    CRect s;
    EXPECT_TRUE(s.SubtractRect(a, CRect(0, 0, 10, 4)));
    EXPECT_EQ(s, (CRect(0, 4, 10, 10)));
    CRect c = a;
    c &= b;
    EXPECT_EQ(c, (CRect(5, 5, 10, 10)));
    c |= far;
    EXPECT_EQ(c, (CRect(5, 5, 30, 30)));
}

TEST(CRect, Operators) {
    CRect r(0, 0, 10, 10);
    EXPECT_EQ(r + CPoint(1, 2), (CRect(1, 2, 11, 12)));
    EXPECT_EQ(r - CPoint(1, 2), (CRect(-1, -2, 9, 8)));
    EXPECT_EQ(r + CSize(1, 1), (CRect(1, 1, 11, 11)));
    EXPECT_EQ(r - CSize(1, 1), (CRect(-1, -1, 9, 9)));
    RECT margins{1, 2, 3, 4};
    EXPECT_EQ(r + &margins, (CRect(-1, -2, 13, 14)));
    EXPECT_EQ(r - &margins, (CRect(1, 2, 7, 6)));
    r += CPoint(5, 5);
    r -= CSize(5, 5);
    r += &margins;
    r -= &margins;
    EXPECT_EQ(r, (CRect(0, 0, 10, 10)));
    EXPECT_TRUE(r != CRect(0, 0, 10, 11));

    CPoint p(1, 2);
    p += CSize(1, 1);
    p -= CPoint(1, 1);
    EXPECT_EQ(p, CPoint(1, 2));
    EXPECT_EQ(p - CPoint(4, 4), CSize(-3, -2));
    EXPECT_EQ(-p, CPoint(-1, -2));
    EXPECT_EQ(p + CSize(1, 1), CPoint(2, 3));
    EXPECT_EQ(p + &r, (CRect(1, 2, 11, 12)));
    p.Offset(1, 1);
    EXPECT_EQ(p, CPoint(2, 3));
    CSize s(3, 4);
    s += CSize(1, 1);
    EXPECT_EQ(s, CSize(4, 5));
    EXPECT_EQ(-s, CSize(-4, -5));
    EXPECT_EQ(s + CPoint(1, 1), CPoint(5, 6));
    EXPECT_EQ(s - &r, (CRect(-4, -5, 6, 5)));
}
