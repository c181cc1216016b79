#include "chart/TemplateText.h"

#include "platform/base/CodePage.h"

#include <cstdarg>

void SRGTemplateWriter::WriteFormat(LPCTSTR format, ...) {
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    WriteText(text);
}

std::string SRGStringTemplateWriter::Bytes() const {
    // Template files are text files: each line ends in CR LF, the end the reader splits on.
    std::string bytes;
    for (char c : Utf16ToCp1252(m_text.str())) {
        if (c == '\n') {
            bytes += '\r';
        }
        bytes += c;
    }
    return bytes;
}

std::vector<CString> SRGSplitTemplateLines(const BYTE* data, size_t size) {
    std::vector<CString> lines;
    std::string line;
    auto emit = [&] {
        lines.emplace_back(Cp1252ToUtf16(line));
        line.clear();
    };
    for (size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\r') {
            emit();
            if (i + 1 < size && data[i + 1] == '\n') {
                ++i;
            }
        } else if (line.size() == static_cast<size_t>(kSRGTemplateLineMax)) {
            emit(); // the 255th character is dropped
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        emit();
    }
    return lines;
}
