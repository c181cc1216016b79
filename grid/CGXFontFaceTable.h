// The program-wide table of font faces: the display's faces, enumerated once, each with a 10-bit index that
// the grid's fonts store instead of the name. "Arial" gets index 0; other faces get the next free index
// when they are first asked for, and names the display lacks are added on the way, until the 1023 indices
// are used up (1023 itself means "no face").
//
// The table also keeps the display's pixels per inch and the shared font records of CGXFont.
#pragma once

#include "grid/CGXMapFontData.h"
#include "platform/base/CString.h"
#include "platform/gdi/GdiTypes.h"

#include <map>
#include <memory>
#include <vector>

constexpr int kNoFontFace = 1023;

struct GXFontFaceRecord {
    WCHAR name[67] = {};
    // For an entry of a face with its script ("Arial (Western)"): the length of the plain face name; else 0.
    BYTE baseNameLength = 0;
    BYTE pitchAndFamily = 0;
    BYTE charSet = 0;
    // Bits 0-9 the face index (0x3FF while none is given), 10-12 the enumerated font type, bit 13 set for
    // enumerated entries, bit 14 for the plain-face entry.
    DWORD info = 0x3FF;

    int Index() const { return static_cast<int>(info & 0x3FF); }
};

class CGXFontFaceTable {
public:
    // Enumerates the display's faces.
    CGXFontFaceTable();
    CGXFontFaceTable(const CGXFontFaceTable&) = delete;
    CGXFontFaceTable& operator=(const CGXFontFaceTable&) = delete;

    // The index of a face name, entering it (with the given pitch and family and character set) when the
    // display lacks it; kNoFontFace for an empty name or when every index is taken.
    int LookupFace(LPCTSTR name, BYTE pitchAndFamily, BYTE charSet);
    // The record of an index handed out, else null.
    const GXFontFaceRecord* GetFace(int index) const;
    // The record's character set, 0 for an index out of range.
    BYTE GetFaceCharset(int index) const;
    // The script name the enumeration reported for a character set ("Western"), or empty.
    CString GetScriptName(BYTE charSet) const;

    int GetLogPixelsX() const { return m_logPixelsX; }
    int GetLogPixelsY() const { return m_logPixelsY; }
    CGXMapFontData& FontData() { return m_fontData; }

    // Called by the enumeration for each face and script.
    void AddEnumerated(const LOGFONTW& logFont, LPCWSTR script, DWORD fontType);

private:
    GXFontFaceRecord* Find(LPCTSTR name);
    int GiveIndex(GXFontFaceRecord& record);

    std::vector<GXFontFaceRecord> m_enumerated;                // sorted by name once enumerated
    std::vector<std::unique_ptr<GXFontFaceRecord>> m_sideList; // sorted by name
    std::vector<GXFontFaceRecord*> m_byIndex;
    std::map<BYTE, CString> m_scripts;
    CString m_lastFace;
    int m_logPixelsX = 96;
    int m_logPixelsY = 96;
    CGXMapFontData m_fontData;
};

// The program-wide table, built on first use.
CGXFontFaceTable& GetFontFaceTable();
// Builds the program-wide table afresh (tests; no font may hold a shared record across it).
void ResetFontFaceTable();
int GetFontFaceIndex(LPCTSTR name);
const GXFontFaceRecord* GetFontFace(int index);
