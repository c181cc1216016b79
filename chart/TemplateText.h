// The text side of chart templates: the writer that components write their lines through, and the framing
// of template bytes into lines as the reader takes them.
#pragma once

#include "platform/base/CString.h"

#include <cstddef>
#include <string>
#include <vector>

class SRGTemplateWriter {
public:
    virtual ~SRGTemplateWriter() = default;
    virtual void WriteText(const CString& text) = 0;
    // printf-style, the platform's conventions ("%s" takes wide text).
    void WriteFormat(LPCTSTR format, ...);
};

// Collects what is written; Bytes() gives it as the bytes of a template file (lines ending in CR LF).
class SRGStringTemplateWriter : public SRGTemplateWriter {
public:
    void WriteText(const CString& text) override { m_text += text; }
    const CString& GetText() const { return m_text; }
    std::string Bytes() const;

private:
    CString m_text;
};

// A template's bytes (the ANSI code page) as lines: a CR ends a line and an LF right after it is skipped; an
// LF alone is part of the line; a line keeps at most 254 characters, the 255th being dropped and the next
// line starting after it. Empty lines and comments are kept: the reader skips them.
std::vector<CString> SRGSplitTemplateLines(const BYTE* data, size_t size);

// The longest line the reader keeps.
constexpr int kSRGTemplateLineMax = 254;
