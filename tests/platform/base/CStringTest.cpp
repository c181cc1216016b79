#include "platform/base/CString.h"

#include <gtest/gtest.h>

TEST(CString, ConstructsFromWideNarrowAndRepeatedText) {
    EXPECT_EQ(CString(_T("abc")), _T("abc"));
    EXPECT_EQ(CString("\xB0"
                      "C"),
              _T("\u00B0C")); // narrow text is Windows-1252
    EXPECT_EQ(CString(_T('x'), 3), _T("xxx"));
    EXPECT_EQ(CString(_T("abcdef"), 2), _T("ab"));
    EXPECT_TRUE(CString(static_cast<LPCTSTR>(nullptr)).IsEmpty());
    EXPECT_EQ(CString(_T("abc")).GetAt(3), 0); // out of range answers 0, never reads past the end
}

TEST(CString, ExtractsSubstringsWithClampedBounds) {
    CString s(_T("$GPZDA,123"));
    EXPECT_EQ(s.Mid(1, 5), _T("GPZDA"));
    EXPECT_EQ(s.Mid(7), _T("123"));
    EXPECT_EQ(s.Mid(20), _T(""));
    EXPECT_EQ(s.Mid(-2, 3), _T("$GP"));
    EXPECT_EQ(s.Left(100), s);
    EXPECT_EQ(s.Right(3), _T("123"));
    EXPECT_EQ(s.Right(-1), _T(""));
    EXPECT_EQ(s.SpanIncluding(_T("$GP")), _T("$GP"));
    EXPECT_EQ(s.SpanExcluding(_T(",")), _T("$GPZDA"));
}

TEST(CString, FindsReplacesAndRemoves) {
    CString s(_T("COM1,COM10,COM1"));
    EXPECT_EQ(s.Find(_T("COM1")), 0);
    EXPECT_EQ(s.Find(_T("COM1"), 1), 5);
    EXPECT_EQ(s.Find(_T(','), 5), 10);
    EXPECT_EQ(s.Find(_T('x')), -1);
    EXPECT_EQ(s.Find(_T(','), 99), -1);
    EXPECT_EQ(s.ReverseFind(_T(',')), 10);
    EXPECT_EQ(s.FindOneOf(_T("0,")), 4);
    EXPECT_EQ(s.Replace(_T("COM1"), _T("X")), 3);
    EXPECT_EQ(s, _T("X,X0,X"));
    EXPECT_EQ(s.Remove(_T('X')), 3);
    EXPECT_EQ(s, _T(",0,"));
    s.Insert(1, _T("ab"));
    s.Delete(0);
    EXPECT_EQ(s, _T("ab0,"));
    EXPECT_EQ(s.Replace(_T(""), _T("z")), 0);
}

TEST(CString, TrimsAndChangesCase) {
    CString s(_T(" \t 12.5 \r\n"));
    s.TrimLeft();
    s.TrimRight();
    EXPECT_EQ(s, _T("12.5"));
    CString z(_T("000120"));
    z.TrimLeft(_T('0'));
    EXPECT_EQ(z, _T("120"));
    CString m(_T("Motorola \u00e9"));
    m.MakeUpper();
    EXPECT_EQ(m, _T("MOTOROLA \u00c9"));
    EXPECT_EQ(CString(_T("abc")).CompareNoCase(_T("ABD")), -1);
    EXPECT_EQ(CString(_T("b")).Compare(_T("a")), 1);
    EXPECT_TRUE(CString(_T("COM1")) < CString(_T("COM10")));
}

TEST(CString, BufferProtocolFollowsTheTerminator) {
    CString s;
    LPTSTR buf = s.GetBuffer(10);
    buf[0] = u'h';
    buf[1] = u'i';
    buf[2] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(s, _T("hi"));
    EXPECT_EQ(s.GetLength(), 2);
    buf = s.GetBuffer(0);
    buf[1] = u'o';
    s.ReleaseBuffer(1);
    EXPECT_EQ(s, _T("h"));
}

TEST(CString, FormatsWithTheRuntimeConventions) {
    CString s;
    s.Format(_T("%s|%S|%5.1f|%e|%I64d"), _T("w\u00b0"), "n", 2.26, 1500.0, 1234567890123LL);
    EXPECT_EQ(s, _T("w\u00b0|n|  2.3|1.500000e+003|1234567890123"));
    s.AppendFormat(_T("-%02d"), 7);
    EXPECT_EQ(s.Right(3), _T("-07"));
    CString m;
    m.FormatMessage(_T("%2 after %1, 100%%"), _T("one"), _T("two"));
    EXPECT_EQ(m, _T("two after one, 100%"));
}

TEST(CString, LoadStringUsesTheInstalledLoader) {
    CString s(_T("kept"));
    SetStringResourceLoader(nullptr);
    EXPECT_FALSE(s.LoadString(107));
    EXPECT_EQ(s, _T("kept"));
    SetStringResourceLoader([](UINT id, std::u16string& text) {
        if (id != 107) {
            return false;
        }
        text = u"pex";
        return true;
    });
    EXPECT_TRUE(s.LoadString(107));
    EXPECT_EQ(s, _T("pex"));
    SetStringResourceLoader(nullptr);
}
