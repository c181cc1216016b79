#include "grid/GridChoiceList.h"

#include "platform/base/WideRuntime.h"

#include <algorithm>
#include <vector>

namespace {

// Column texts are compared over at most this many characters.
constexpr int kColumnChars = 127;

CString ColumnText(LPCTSTR line, int column) {
    WCHAR buffer[kColumnChars + 1];
    return GetTabColumnText(line, column, buffer, kColumnChars);
}

std::vector<CString> SplitLines(CString text) {
    std::vector<CString> lines;
    while (!text.IsEmpty()) {
        CString line;
        SplitFirstLine(text, line);
        lines.push_back(line);
    }
    return lines;
}

} // namespace

int SplitFirstLine(CString& text, CString& line) {
    int end = 0;
    while (end < text.GetLength() && text[end] != u'\r' && text[end] != u'\n') {
        ++end;
    }
    if (end == text.GetLength()) {
        line = text;
        text.Empty();
        return -1;
    }
    line = text.Left(end);
    int next = end + 1;
    if (text[end] == u'\r' && next < text.GetLength() && text[next] == u'\n') {
        ++next;
    }
    text = text.Mid(next);
    return end;
}

LPTSTR GetTabColumnText(LPCTSTR line, int column, LPTSTR buffer, int maxChars) {
    buffer[0] = 0;
    const char16_t* p = line ? line : u"";
    for (int skipped = 0; skipped < column; ++skipped) {
        while (*p && *p != u'\t') {
            ++p;
        }
        if (!*p) {
            return buffer;
        }
        ++p;
    }
    int n = 0;
    while (p[n] && p[n] != u'\t' && n < maxChars) {
        buffer[n] = p[n];
        ++n;
    }
    buffer[n] = 0;
    return buffer;
}

int FindChoiceByColumn(LPCTSTR key, int column, LPCTSTR choices, BOOL skipTitle, CString& line, BOOL exact) {
    line.Empty();
    const CString wanted(key ? key : u"");
    std::vector<CString> lines = SplitLines(choices ? choices : u"");
    const size_t first = skipTitle && !lines.empty() ? 1 : 0;
    for (size_t i = first; i < lines.size(); ++i) {
        const CString text = ColumnText(lines[i], column);
        const bool match = exact ? wcscmp(text, wanted) == 0
                                 : _wcsnicmp(text, wanted, static_cast<size_t>(wanted.GetLength())) == 0;
        if (match) {
            line = lines[i];
            return static_cast<int>(i - first);
        }
    }
    return -1;
}

void SortChoiceLines(CString& choices, int column, BOOL keepTitle) {
    std::vector<CString> lines = SplitLines(choices);
    const auto first = lines.begin() + (keepTitle && !lines.empty() ? 1 : 0);
    const auto sortKey = [column](const CString& line) { return column <= 0 ? line : ColumnText(line, column); };
    std::stable_sort(first, lines.end(), [&](const CString& a, const CString& b) {
        return _wcsicmp(sortKey(a), sortKey(b)) < 0;
    });
    choices.Empty();
    for (const CString& line : lines) {
        choices += line + u"\r\n";
    }
}
