#include "platform/base/CString.h"

#include "platform/base/CodePage.h"
#include "platform/base/WideFormat.h"
#include "platform/base/WideRuntime.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {
size_t Length(LPCTSTR text) {
    if (!text) {
        return 0;
    }
    size_t n = 0;
    while (text[n]) {
        ++n;
    }
    return n;
}

std::u16string_view View(LPCTSTR text) {
    return {text ? text : u"", Length(text)};
}

int Sign(int v) {
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}

int CompareOrdinal(std::u16string_view a, std::u16string_view b) {
    return Sign(a.compare(b));
}

int CompareFolded(std::u16string_view a, std::u16string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char16_t x = towlower(a[i]);
        char16_t y = towlower(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool InSet(char16_t ch, std::u16string_view set) {
    return set.find(ch) != std::u16string_view::npos;
}

bool IsTrimSpace(char16_t ch) {
    return iswspace(ch);
}

// Reached from static initialisers (resource registration), so made on first use; never destroyed, so
// that loads during static destruction still find it.
struct StringLoaders {
    std::mutex mutex;
    StringResourceLoader chosen;
    StringResourceLoader fallback;
};

StringLoaders& Loaders() {
    static StringLoaders* loaders = new StringLoaders;
    return *loaders;
}

// Replaces "%1".."%9" with the inserts; "%%" gives "%". Out-of-range inserts stay as written.
std::u16string SubstituteInserts(std::u16string_view format, LPCTSTR const* inserts, int count) {
    std::u16string out;
    for (size_t i = 0; i < format.size(); ++i) {
        char16_t ch = format[i];
        if (ch == u'%' && i + 1 < format.size()) {
            char16_t next = format[i + 1];
            if (next >= u'1' && next <= u'9') {
                int index = next - u'1';
                if (index < count && inserts[index]) {
                    out += View(inserts[index]);
                    ++i;
                    continue;
                }
            } else if (next == u'%') {
                out += u'%';
                ++i;
                continue;
            }
        }
        out += ch;
    }
    return out;
}
} // namespace

CString::CString(LPCTSTR text) : m_text(View(text)) {}

CString::CString(LPCTSTR text, int length) {
    if (text && length > 0) {
        m_text.assign(text, static_cast<size_t>(length));
    }
}

CString::CString(LPCSTR text) {
    if (text) {
        m_text = Cp1252ToUtf16(text);
    }
}

CString::CString(const unsigned char* text) : CString(reinterpret_cast<LPCSTR>(text)) {}

CString::CString(TCHAR ch, int repeat) {
    if (repeat > 0) {
        m_text.assign(static_cast<size_t>(repeat), ch);
    }
}

CString& CString::operator=(LPCTSTR text) {
    // The source may point into this string.
    std::u16string copy(View(text));
    m_text.swap(copy);
    return *this;
}

CString& CString::operator=(LPCSTR text) {
    m_text = text ? Cp1252ToUtf16(text) : std::u16string();
    return *this;
}

CString& CString::operator=(TCHAR ch) {
    m_text.assign(1, ch);
    return *this;
}

void CString::SetAt(int index, TCHAR ch) {
    if (index >= 0 && index < GetLength()) {
        m_text[static_cast<size_t>(index)] = ch;
    }
}

CString& CString::operator+=(const CString& text) {
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(LPCTSTR text) {
    std::u16string copy(View(text));
    m_text += copy;
    return *this;
}

CString& CString::operator+=(TCHAR ch) {
    m_text += ch;
    return *this;
}

int CString::Compare(LPCTSTR text) const {
    return CompareOrdinal(m_text, View(text));
}

int CString::CompareNoCase(LPCTSTR text) const {
    return CompareFolded(m_text, View(text));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength() - std::max(first, 0));
}

CString CString::Mid(int first, int count) const {
    first = std::max(first, 0);
    count = std::max(count, 0);
    if (first >= GetLength()) {
        return CString();
    }
    count = std::min(count, GetLength() - first);
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_text.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_text.substr(m_text.size() - static_cast<size_t>(count)));
}

CString CString::SpanIncluding(LPCTSTR charSet) const {
    std::u16string_view set = View(charSet);
    size_t n = 0;
    while (n < m_text.size() && InSet(m_text[n], set)) {
        ++n;
    }
    return Left(static_cast<int>(n));
}

CString CString::SpanExcluding(LPCTSTR charSet) const {
    std::u16string_view set = View(charSet);
    size_t n = 0;
    while (n < m_text.size() && !InSet(m_text[n], set)) {
        ++n;
    }
    return Left(static_cast<int>(n));
}

void CString::MakeUpper() {
    for (auto& ch : m_text) {
        ch = towupper(ch);
    }
}

void CString::MakeLower() {
    for (auto& ch : m_text) {
        ch = towlower(ch);
    }
}

void CString::MakeReverse() {
    std::reverse(m_text.begin(), m_text.end());
}

int CString::Replace(TCHAR oldCh, TCHAR newCh) {
    int count = 0;
    if (oldCh == newCh) {
        return 0;
    }
    for (auto& ch : m_text) {
        if (ch == oldCh) {
            ch = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCTSTR oldText, LPCTSTR newText) {
    std::u16string from(View(oldText));
    std::u16string to(View(newText));
    if (from.empty()) {
        return 0;
    }
    int count = 0;
    std::u16string out;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_text.find(from, pos);
        if (hit == std::u16string::npos) {
            break;
        }
        out.append(m_text, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++count;
    }
    if (count) {
        out.append(m_text, pos, std::u16string::npos);
        m_text.swap(out);
    }
    return count;
}

int CString::Remove(TCHAR ch) {
    size_t before = m_text.size();
    std::erase(m_text, ch);
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int index, TCHAR ch) {
    index = std::clamp(index, 0, GetLength());
    m_text.insert(m_text.begin() + index, ch);
    return GetLength();
}

int CString::Insert(int index, LPCTSTR text) {
    index = std::clamp(index, 0, GetLength());
    std::u16string copy(View(text));
    m_text.insert(static_cast<size_t>(index), copy);
    return GetLength();
}

int CString::Delete(int index, int count) {
    index = std::max(index, 0);
    if (count > 0 && index < GetLength()) {
        m_text.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    }
    return GetLength();
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}
CString& CString::Trim(TCHAR target) {
    return TrimRight(target).TrimLeft(target);
}
CString& CString::Trim(LPCTSTR targets) {
    return TrimRight(targets).TrimLeft(targets);
}

CString& CString::TrimLeft() {
    size_t n = 0;
    while (n < m_text.size() && IsTrimSpace(m_text[n])) {
        ++n;
    }
    m_text.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(TCHAR target) {
    size_t n = 0;
    while (n < m_text.size() && m_text[n] == target) {
        ++n;
    }
    m_text.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(LPCTSTR targets) {
    std::u16string set(View(targets));
    size_t n = 0;
    while (n < m_text.size() && InSet(m_text[n], set)) {
        ++n;
    }
    m_text.erase(0, n);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_text.empty() && IsTrimSpace(m_text.back())) {
        m_text.pop_back();
    }
    return *this;
}

CString& CString::TrimRight(TCHAR target) {
    while (!m_text.empty() && m_text.back() == target) {
        m_text.pop_back();
    }
    return *this;
}

CString& CString::TrimRight(LPCTSTR targets) {
    std::u16string set(View(targets));
    while (!m_text.empty() && InSet(m_text.back(), set)) {
        m_text.pop_back();
    }
    return *this;
}

int CString::Find(TCHAR ch, int start) const {
    if (start < 0 || start >= GetLength()) {
        return -1;
    }
    size_t hit = m_text.find(ch, static_cast<size_t>(start));
    return hit == std::u16string::npos ? -1 : static_cast<int>(hit);
}

int CString::Find(LPCTSTR sub, int start) const {
    if (start < 0 || start > GetLength()) {
        return -1;
    }
    size_t hit = m_text.find(View(sub), static_cast<size_t>(start));
    return hit == std::u16string::npos ? -1 : static_cast<int>(hit);
}

int CString::ReverseFind(TCHAR ch) const {
    size_t hit = m_text.rfind(ch);
    return hit == std::u16string::npos ? -1 : static_cast<int>(hit);
}

int CString::FindOneOf(LPCTSTR charSet) const {
    std::u16string_view set = View(charSet);
    if (set.empty()) {
        return -1;
    }
    size_t hit = m_text.find_first_of(set);
    return hit == std::u16string::npos ? -1 : static_cast<int>(hit);
}

void CString::FormatV(LPCTSTR format, va_list args) {
    std::u16string out;
    if (format) {
        AppendFormatV(out, format, args);
    }
    m_text.swap(out);
}

void CString::Format(LPCTSTR format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::Format(UINT formatId, ...) {
    std::u16string format;
    if (!LoadStringResource(formatId, format)) {
        m_text.clear();
        return;
    }
    va_list args;
    va_start(args, formatId);
    FormatV(format.c_str(), args);
    va_end(args);
}

void CString::AppendFormat(LPCTSTR format, ...) {
    if (!format) {
        return;
    }
    va_list args;
    va_start(args, format);
    ::AppendFormatV(m_text, format, args);
    va_end(args);
}

void CString::FormatMessage(LPCTSTR format, ...) {
    LPCTSTR inserts[9] = {};
    std::u16string_view f = View(format);
    int highest = 0;
    for (size_t i = 0; i + 1 < f.size(); ++i) {
        if (f[i] == u'%' && f[i + 1] >= u'1' && f[i + 1] <= u'9') {
            highest = std::max(highest, f[i + 1] - u'0');
        }
    }
    va_list args;
    va_start(args, format);
    for (int i = 0; i < highest; ++i) {
        inserts[i] = va_arg(args, LPCTSTR);
    }
    va_end(args);
    m_text = SubstituteInserts(f, inserts, highest);
}

BOOL CString::LoadString(UINT id) {
    std::u16string text;
    if (!LoadStringResource(id, text)) {
        return FALSE;
    }
    m_text.swap(text);
    return TRUE;
}

LPTSTR CString::GetBuffer(int minLength) {
    size_t want = std::max(static_cast<size_t>(std::max(minLength, 0)), m_text.size());
    m_text.resize(want);
    m_bufferLength = want;
    return m_text.data();
}

LPTSTR CString::GetBufferSetLength(int length) {
    m_text.resize(static_cast<size_t>(std::max(length, 0)));
    m_bufferLength = m_text.size();
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) {
        size_t limit = std::min(m_bufferLength, m_text.size());
        size_t n = 0;
        while (n < limit && m_text[n]) {
            ++n;
        }
        m_text.resize(n);
    } else {
        m_text.resize(std::min(static_cast<size_t>(newLength), m_text.size()));
    }
    m_bufferLength = 0;
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.m_text + b.m_text);
}
CString operator+(const CString& a, LPCTSTR b) {
    return CString(a.m_text + std::u16string(View(b)));
}
CString operator+(LPCTSTR a, const CString& b) {
    return CString(std::u16string(View(a)) + b.m_text);
}
CString operator+(const CString& a, TCHAR b) {
    return CString(a.m_text + b);
}
CString operator+(TCHAR a, const CString& b) {
    return CString(a + b.m_text);
}

bool operator==(const CString& a, const CString& b) {
    return a.str() == b.str();
}
bool operator==(const CString& a, LPCTSTR b) {
    return a.Compare(b) == 0;
}
bool operator==(LPCTSTR a, const CString& b) {
    return b.Compare(a) == 0;
}
bool operator!=(const CString& a, const CString& b) {
    return !(a == b);
}
bool operator!=(const CString& a, LPCTSTR b) {
    return !(a == b);
}
bool operator!=(LPCTSTR a, const CString& b) {
    return !(a == b);
}
bool operator<(const CString& a, const CString& b) {
    return a.Compare(b) < 0;
}
bool operator<(const CString& a, LPCTSTR b) {
    return a.Compare(b) < 0;
}
bool operator<(LPCTSTR a, const CString& b) {
    return b.Compare(a) > 0;
}
bool operator>(const CString& a, const CString& b) {
    return a.Compare(b) > 0;
}
bool operator>(const CString& a, LPCTSTR b) {
    return a.Compare(b) > 0;
}
bool operator>(LPCTSTR a, const CString& b) {
    return b.Compare(a) < 0;
}
bool operator<=(const CString& a, const CString& b) {
    return a.Compare(b) <= 0;
}
bool operator<=(const CString& a, LPCTSTR b) {
    return a.Compare(b) <= 0;
}
bool operator<=(LPCTSTR a, const CString& b) {
    return b.Compare(a) >= 0;
}
bool operator>=(const CString& a, const CString& b) {
    return a.Compare(b) >= 0;
}
bool operator>=(const CString& a, LPCTSTR b) {
    return a.Compare(b) >= 0;
}
bool operator>=(LPCTSTR a, const CString& b) {
    return b.Compare(a) <= 0;
}

void SetStringResourceLoader(StringResourceLoader loader) {
    StringLoaders& loaders = Loaders();
    std::lock_guard lock(loaders.mutex);
    loaders.chosen = std::move(loader);
}

void SetDefaultStringResourceLoader(StringResourceLoader loader) {
    StringLoaders& loaders = Loaders();
    std::lock_guard lock(loaders.mutex);
    loaders.fallback = std::move(loader);
}

bool LoadStringResource(UINT id, std::u16string& text) {
    StringResourceLoader loader;
    {
        StringLoaders& loaders = Loaders();
        std::lock_guard lock(loaders.mutex);
        loader = loaders.chosen ? loaders.chosen : loaders.fallback;
    }
    return loader && loader(id, text);
}

void AfxFormatStrings(CString& result, LPCTSTR format, LPCTSTR const* inserts, int count) {
    result = CString(SubstituteInserts(View(format), inserts, count));
}

void AfxFormatString1(CString& result, UINT id, LPCTSTR insert) {
    std::u16string format;
    if (!LoadStringResource(id, format)) {
        result.Empty();
        return;
    }
    AfxFormatStrings(result, format.c_str(), &insert, 1);
}

void AfxFormatString2(CString& result, UINT id, LPCTSTR insert1, LPCTSTR insert2) {
    std::u16string format;
    if (!LoadStringResource(id, format)) {
        result.Empty();
        return;
    }
    LPCTSTR inserts[2] = {insert1, insert2};
    AfxFormatStrings(result, format.c_str(), inserts, 2);
}
