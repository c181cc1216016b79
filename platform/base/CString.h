// The framework's string: UTF-16 text with value semantics and the interface the program's code uses.
#pragma once

#include "platform/base/Win32Types.h"

#include <cstdarg>
#include <functional>
#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCTSTR text);
    CString(LPCTSTR text, int length);
    // Narrow text is taken in the ANSI code page (Windows-1252).
    CString(LPCSTR text);
    CString(const unsigned char* text);
    CString(TCHAR ch, int repeat = 1);
    CString(const std::u16string& text) : m_text(text) {}
    CString(std::u16string&& text) noexcept : m_text(std::move(text)) {}
    CString(std::u16string_view text) : m_text(text) {}

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCTSTR text);
    CString& operator=(LPCSTR text);
    CString& operator=(TCHAR ch);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    // Out-of-range indexes answer 0 rather than reading past the text.
    TCHAR GetAt(int index) const {
        return static_cast<unsigned>(index) < m_text.size() ? m_text[static_cast<size_t>(index)] : TCHAR(0);
    }
    TCHAR operator[](int index) const { return GetAt(index); }
    void SetAt(int index, TCHAR ch);
    operator LPCTSTR() const { return m_text.c_str(); }
    LPCTSTR GetString() const { return m_text.c_str(); }
    const std::u16string& str() const { return m_text; }

    CString& operator+=(const CString& text);
    CString& operator+=(LPCTSTR text);
    CString& operator+=(TCHAR ch);
    CString& operator+=(LPCSTR text) { return *this += CString(text); }

    int Compare(LPCTSTR text) const;
    int CompareNoCase(LPCTSTR text) const;
    int Collate(LPCTSTR text) const { return Compare(text); }
    int CollateNoCase(LPCTSTR text) const { return CompareNoCase(text); }

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(LPCTSTR charSet) const;
    CString SpanExcluding(LPCTSTR charSet) const;

    void MakeUpper();
    void MakeLower();
    void MakeReverse();

    int Replace(TCHAR oldCh, TCHAR newCh);
    int Replace(LPCTSTR oldText, LPCTSTR newText);
    int Remove(TCHAR ch);
    int Insert(int index, TCHAR ch);
    int Insert(int index, LPCTSTR text);
    int Delete(int index, int count = 1);

    CString& Trim();
    CString& Trim(TCHAR target);
    CString& Trim(LPCTSTR targets);
    CString& TrimLeft();
    CString& TrimLeft(TCHAR target);
    CString& TrimLeft(LPCTSTR targets);
    CString& TrimRight();
    CString& TrimRight(TCHAR target);
    CString& TrimRight(LPCTSTR targets);

    int Find(TCHAR ch) const { return Find(ch, 0); }
    int Find(TCHAR ch, int start) const;
    int Find(LPCTSTR sub) const { return Find(sub, 0); }
    int Find(LPCTSTR sub, int start) const;
    int ReverseFind(TCHAR ch) const;
    int FindOneOf(LPCTSTR charSet) const;

    // printf-style formatting with the original runtime's conventions ("%s" wide, "%S" narrow, three
    // exponent digits). An invalid format leaves the string empty.
    void Format(LPCTSTR format, ...);
    void Format(UINT formatId, ...);
    void FormatV(LPCTSTR format, va_list args);
    void AppendFormat(LPCTSTR format, ...);
    // "%1".."%9" inserts (each a wide string argument), as the message-formatting call does.
    void FormatMessage(LPCTSTR format, ...);

    // From the string table; FALSE (string unchanged) when there is no such string.
    BOOL LoadString(UINT id);

    // Writable buffer of at least minLength units plus a terminator; ReleaseBuffer fixes the length
    // (-1: up to the first zero).
    LPTSTR GetBuffer(int minLength);
    LPTSTR GetBuffer() { return GetBuffer(GetLength()); }
    LPTSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    LPTSTR LockBuffer() { return GetBuffer(GetLength()); }
    void UnlockBuffer() {}
    void FreeExtra() { m_text.shrink_to_fit(); }
    void Preallocate(int length) { m_text.reserve(length > 0 ? static_cast<size_t>(length) : 0); }

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCTSTR b);
    friend CString operator+(LPCTSTR a, const CString& b);
    friend CString operator+(const CString& a, TCHAR b);
    friend CString operator+(TCHAR a, const CString& b);

private:
    std::u16string m_text;
    size_t m_bufferLength = 0; // size handed out by GetBuffer, so ReleaseBuffer(-1) scans only that
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCTSTR b);
bool operator==(LPCTSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCTSTR b);
bool operator!=(LPCTSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCTSTR b);
bool operator<(LPCTSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCTSTR b);
bool operator>(LPCTSTR a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, LPCTSTR b);
bool operator<=(LPCTSTR a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, LPCTSTR b);
bool operator>=(LPCTSTR a, const CString& b);

// The string-table lookup behind CString::LoadString: the loader a caller sets, else (none set, or set
// back to null) the default, which registering a program's resources installs.
using StringResourceLoader = std::function<bool(UINT id, std::u16string& text)>;
void SetStringResourceLoader(StringResourceLoader loader);
void SetDefaultStringResourceLoader(StringResourceLoader loader);
bool LoadStringResource(UINT id, std::u16string& text);

// Text of a string resource with "%1" replaced (the framework's one-insert helper).
void AfxFormatString1(CString& result, UINT id, LPCTSTR insert);
void AfxFormatString2(CString& result, UINT id, LPCTSTR insert1, LPCTSTR insert2);
void AfxFormatStrings(CString& result, LPCTSTR format, LPCTSTR const* inserts, int count);

template <>
struct std::hash<CString> {
    size_t operator()(const CString& s) const noexcept { return std::hash<std::u16string>()(s.str()); }
};
