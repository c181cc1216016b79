#include "grid/CGXFont.h"

#include "grid/CGXFontFaceTable.h"
#include "grid/GridArchive.h"
#include "grid/GridLibraryState.h"
#include "platform/base/CArchive.h"
#include "platform/base/MulDiv.h"
#include "platform/base/WideRuntime.h"
#include "platform/display/SystemMetrics.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Interlocked.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

IMPLEMENT_SERIAL(CGXFont, CObject, 0)

CGXFont::CGXFont() = default;

CGXFont::CGXFont(const CGXFont& other) : CObject(), m_wordA(other.m_wordA), m_wordB(other.m_wordB) {
    if (m_wordA & kHeldFlag) {
        InterlockedIncrement(&GetFontFaceTable().FontData().SetAt(GetKey()).refCount);
    }
}

CGXFont::~CGXFont() {
    ReleaseDataIfHeld();
}

void CGXFont::Serialize(CArchive& ar) {
    RequireFeature(GridLibraryState::Instance().styleSerializeImp)->SerializeFont(ar, *this);
}

CGXFont& CGXFont::Assign(const CGXFont& other) {
    if (&other == this || GetKey() == other.GetKey()) {
        return *this;
    }
    ReleaseDataIfHeld();
    m_wordA = other.m_wordA;
    m_wordB = other.m_wordB;
    if (m_wordA & kHeldFlag) {
        InterlockedIncrement(&GetFontFaceTable().FontData().SetAt(GetKey()).refCount);
    }
    return *this;
}

void CGXFont::SetWords(DWORD wordA, DWORD wordB) {
    ReleaseDataIfHeld();
    m_wordA = wordA & ~kHeldFlag;
    m_wordB = wordB & 0x3FF;
}

CGXFont& CGXFont::Clear() {
    ReleaseDataIfHeld();
    m_wordA = kEmptyWordA;
    m_wordB = kEmptyWordB;
    return *this;
}

CGXFont& CGXFont::SetDefault() {
    LOGFONTW logFont{};
    const char16_t face[] = u"Arial";
    std::copy(std::begin(face), std::end(face), logFont.lfFaceName);
    logFont.lfPitchAndFamily = 34;
    if (GetSystemMetrics(SM_DBCSENABLED)) {
        HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
        if (!stock) {
            stock = GetStockObject(SYSTEM_FONT);
        }
        if (stock) {
            GetObjectW(stock, sizeof logFont, &logFont);
        }
    }
    logFont.lfHeight = -11;
    logFont.lfWeight = 400;
    logFont.lfItalic = 0;
    logFont.lfUnderline = 0;
    return SetLogFont(logFont);
}

void CGXFont::SetField(DWORD mask, int shift, DWORD value) {
    ReleaseDataIfHeld();
    m_wordA = (m_wordA & ~(mask << shift)) | ((value & mask) << shift);
}

void CGXFont::SetFlag(DWORD setFlag, DWORD valueFlag, BOOL value) {
    ReleaseDataIfHeld();
    m_wordA |= setFlag;
    m_wordA = value ? (m_wordA | valueFlag) : (m_wordA & ~valueFlag);
}

CGXFont& CGXFont::SetWeight(LONG weight) {
    SetField(0xF, 4, FontWeightToCode(weight));
    return *this;
}

CGXFont& CGXFont::SetItalic(BOOL italic) {
    SetFlag(kItalicSet, kItalicValue, italic);
    return *this;
}

CGXFont& CGXFont::SetUnderline(BOOL underline) {
    SetFlag(kUnderlineSet, kUnderlineValue, underline);
    return *this;
}

CGXFont& CGXFont::SetStrikeOut(BOOL strikeOut) {
    SetFlag(kStrikeOutSet, kStrikeOutValue, strikeOut);
    return *this;
}

CGXFont& CGXFont::SetIncludeWeight(BOOL include) {
    ReleaseDataIfHeld();
    if (!include) {
        SetField(0xF, 4, kWeightNotSet);
    }
    return *this;
}

CGXFont& CGXFont::SetIncludeItalic(BOOL include) {
    ReleaseDataIfHeld();
    m_wordA = include ? (m_wordA | kItalicSet) : (m_wordA & ~kItalicSet);
    return *this;
}

CGXFont& CGXFont::SetIncludeUnderline(BOOL include) {
    ReleaseDataIfHeld();
    m_wordA = include ? (m_wordA | kUnderlineSet) : (m_wordA & ~kUnderlineSet);
    return *this;
}

CGXFont& CGXFont::SetIncludeStrikeOut(BOOL include) {
    ReleaseDataIfHeld();
    m_wordA = include ? (m_wordA | kStrikeOutSet) : (m_wordA & ~kStrikeOutSet);
    return *this;
}

CGXFont& CGXFont::SetIncludeSize(BOOL include) {
    if (!include) {
        SetField(0x3FF, 8, 0);
    }
    return *this;
}

CGXFont& CGXFont::SetIncludeOrientation(BOOL include) {
    if (!include) {
        SetField(0x1FF, 21, kOrientationNotSet);
    }
    return *this;
}

CGXFont& CGXFont::SetIncludeFaceName(BOOL include) {
    if (!include) {
        SetFaceIndex(kNoFontFace);
    }
    return *this;
}

CGXFont& CGXFont::SetOrientation(LONG tenths) {
    SetField(0x1FF, 21, FontOrientationToCode(tenths));
    return *this;
}

CGXFont& CGXFont::SetSize(double points) {
    SetField(0x3FF, 8, FontSizeToCode(points));
    return *this;
}

CGXFont& CGXFont::SetSizeCode(DWORD quarterPoints) {
    SetField(0x3FF, 8, std::min<DWORD>(quarterPoints, 1023));
    return *this;
}

CGXFont& CGXFont::SetFaceIndex(int index) {
    ReleaseDataIfHeld();
    m_wordB = (m_wordB & ~0x3FFu) | (static_cast<DWORD>(index) & 0x3FF);
    return *this;
}

CGXFont& CGXFont::SetFaceName(LPCTSTR name) {
    return SetFaceIndex(GetFontFaceIndex(name));
}

CString CGXFont::GetFaceName() const {
    const GXFontFaceRecord* record = GetFontFace(GetFaceIndex());
    return record ? CString(record->name) : CString();
}

CGXFont& CGXFont::SetLogFont(const LOGFONTW& logFont) {
    ReleaseDataIfHeld();
    CGXFontFaceTable& table = GetFontFaceTable();
    if (logFont.lfCharSet != 0 && logFont.lfCharSet != 1) {
        CString name;
        name.Format(u"%s (%s)", logFont.lfFaceName,
                    static_cast<LPCTSTR>(table.GetScriptName(logFont.lfCharSet)));
        SetFaceIndex(GetFontFaceIndex(name));
    } else {
        SetFaceIndex(GetFontFaceIndex(logFont.lfFaceName));
    }
    if (logFont.lfHeight != 0) {
        SetSize(MulDiv(std::abs(logFont.lfHeight), 288, table.GetLogPixelsY()) * 0.25);
    } else {
        SetField(0x3FF, 8, 0);
    }
    SetField(0xF, 4, FontWeightToCode(logFont.lfWeight));
    SetOrientation(logFont.lfOrientation);
    SetStrikeOut(logFont.lfStrikeOut != 0);
    SetUnderline(logFont.lfUnderline != 0);
    SetItalic(logFont.lfItalic != 0);
    return *this;
}

CGXFont& CGXFont::MergeFont(const CGXFont& other, int mode) {
    if (mode == 3) {
        ReleaseDataIfHeld();
        if (other.GetIncludeWeight()) {
            SetIncludeWeight(FALSE);
        }
        if (other.GetIncludeItalic()) {
            SetIncludeItalic(FALSE);
        }
        if (other.GetIncludeUnderline()) {
            SetIncludeUnderline(FALSE);
        }
        if (other.GetIncludeStrikeOut()) {
            SetIncludeStrikeOut(FALSE);
        }
        if (other.GetIncludeSize()) {
            SetIncludeSize(FALSE);
        }
        if (other.GetIncludeOrientation()) {
            SetIncludeOrientation(FALSE);
        }
        if (other.GetIncludeFaceName()) {
            SetIncludeFaceName(FALSE);
        }
        return *this;
    }
    if (mode == 2) {
        return Assign(other);
    }
    const bool fill = mode != 0;
    if (other.GetIncludeWeight() && !(fill && GetIncludeWeight())) {
        SetField(0xF, 4, other.WeightCode());
    }
    if (other.GetIncludeItalic() && !(fill && GetIncludeItalic())) {
        SetItalic(other.GetItalic());
    }
    if (other.GetIncludeUnderline() && !(fill && GetIncludeUnderline())) {
        SetUnderline(other.GetUnderline());
    }
    if (other.GetIncludeStrikeOut() && !(fill && GetIncludeStrikeOut())) {
        SetStrikeOut(other.GetStrikeOut());
    }
    if (other.GetIncludeSize() && !(fill && GetIncludeSize())) {
        SetSizeCode(other.SizeCode());
    }
    if (other.GetIncludeOrientation() && !(fill && GetIncludeOrientation())) {
        SetField(0x1FF, 21, other.OrientationCode());
    }
    if (other.GetIncludeFaceName() && !(fill && GetIncludeFaceName())) {
        SetFaceIndex(other.GetFaceIndex());
    }
    return *this;
}

CString CGXFont::GetDescription() const {
    CString text = GetIncludeFaceName() ? GetFaceName() : CString();
    const auto field = [&text](BOOL set, long value) {
        text += u',';
        if (set) {
            CString number;
            number.Format(u"%d", static_cast<int>(value));
            text += number;
        }
    };
    field(GetIncludeSize(), static_cast<long>(GetSize()));
    field(GetIncludeWeight(), GetWeight());
    field(GetIncludeItalic(), GetItalic() ? 1 : 0);
    field(GetIncludeUnderline(), GetUnderline() ? 1 : 0);
    field(GetIncludeStrikeOut(), GetStrikeOut() ? 1 : 0);
    field(GetIncludeOrientation(), GetOrientation());
    return text;
}

CGXFont& CGXFont::SetDescription(LPCTSTR text) {
    if (!text) {
        return *this;
    }
    Clear();
    const CString all(text);
    int comma = all.Find(u',');
    const CString face = (comma < 0 ? all : all.Left(comma)).Left(127);
    if (!face.IsEmpty()) {
        SetFaceName(face);
    }
    // The fields after the face, in the text form's order; each used only when not empty.
    for (int field = 0; field < 6 && comma >= 0; ++field) {
        const int start = comma + 1;
        comma = all.Find(u',', start);
        const CString value = comma < 0 ? all.Mid(start) : all.Mid(start, comma - start);
        if (value.IsEmpty()) {
            continue;
        }
        const long number = _wtol(value);
        switch (field) {
        case 0: SetSize(static_cast<double>(number)); break;
        case 1: SetWeight(number); break;
        case 2: SetItalic(number != 0); break;
        case 3: SetUnderline(number != 0); break;
        case 4: SetStrikeOut(number != 0); break;
        default: SetOrientation(number); break;
        }
    }
    return *this;
}

BOOL CGXFont::CompareSubset(const CGXFont& other) const {
    if (other.GetIncludeWeight() && (!GetIncludeWeight() || WeightCode() != other.WeightCode())) {
        return FALSE;
    }
    if (other.GetIncludeItalic() && (!GetIncludeItalic() || GetItalic() != other.GetItalic())) {
        return FALSE;
    }
    if (other.GetIncludeUnderline() && (!GetIncludeUnderline() || GetUnderline() != other.GetUnderline())) {
        return FALSE;
    }
    if (other.GetIncludeStrikeOut() && (!GetIncludeStrikeOut() || GetStrikeOut() != other.GetStrikeOut())) {
        return FALSE;
    }
    if (other.GetIncludeSize() && SizeCode() != other.SizeCode()) {
        return FALSE;
    }
    if (other.GetIncludeOrientation() && OrientationCode() != other.OrientationCode()) {
        return FALSE;
    }
    if (other.GetIncludeFaceName() && GetFaceIndex() != other.GetFaceIndex()) {
        return FALSE;
    }
    return TRUE;
}

void CGXFont::BuildLogFont(LOGFONTW& logFont) const {
    logFont = LOGFONTW{};
    if (GetIncludeItalic()) {
        logFont.lfItalic = GetItalic() ? 1 : 0;
    }
    if (GetIncludeUnderline()) {
        logFont.lfUnderline = GetUnderline() ? 1 : 0;
    }
    if (GetIncludeStrikeOut()) {
        logFont.lfStrikeOut = GetStrikeOut() ? 1 : 0;
    }
    CGXFontFaceTable& table = GetFontFaceTable();
    if (SizeCode() != 0) {
        logFont.lfHeight = -MulDiv(static_cast<int>(SizeCode()), table.GetLogPixelsY(), 288);
    }
    if (GetIncludeWeight()) {
        logFont.lfWeight = static_cast<LONG>(FontWeightFromCode(WeightCode()));
    }
    if (GetIncludeOrientation()) {
        logFont.lfEscapement = logFont.lfOrientation =
            static_cast<LONG>(FontOrientationFromCode(OrientationCode()));
    }
    if (const GXFontFaceRecord* record = table.GetFace(GetFaceIndex())) {
        size_t length = wcslen(record->name);
        if (record->baseNameLength) {
            length = std::min<size_t>(length, record->baseNameLength);
        }
        length = std::min<size_t>(length, LF_FACESIZE - 1);
        std::copy_n(record->name, length, logFont.lfFaceName);
        logFont.lfPitchAndFamily = record->pitchAndFamily;
        if (GetIncludeOrientation() && OrientationCode() > 0) {
            logFont.lfPitchAndFamily = static_cast<BYTE>(logFont.lfPitchAndFamily + 4);
        }
        logFont.lfCharSet = record->charSet;
    }
}

GXFontData& CGXFont::AcquireFontData() const {
    GXFontData& data = GetFontFaceTable().FontData().SetAt(GetKey());
    if (!(m_wordA & kHeldFlag)) {
        InterlockedIncrement(&data.refCount);
        m_wordA |= kHeldFlag;
    }
    if (!data.built) {
        BuildLogFont(data.logFont);
        data.built = TRUE;
    }
    return data;
}

void CGXFont::ReleaseFontData(ULONGLONG key) const {
    if (m_wordA & kHeldFlag) {
        CGXMapFontData& map = GetFontFaceTable().FontData();
        if (GXFontData* data = map.Lookup(key); data && InterlockedDecrement(&data->refCount) <= 0) {
            map.RemoveKey(key);
        }
    }
    m_wordA &= ~kHeldFlag;
}

void CGXFont::ReleaseDataIfHeld() const {
    if (m_wordA & kHeldFlag) {
        ReleaseFontData(GetKey());
    }
}

const LOGFONTW& CGXFont::GetLogFont() const {
    return AcquireFontData().logFont;
}

LOGFONTW CGXFont::GetLogFontZoomed(int percent) const {
    LOGFONTW logFont = GetLogFont();
    logFont.lfHeight = logFont.lfHeight * percent / 100;
    return logFont;
}

DWORD CGXFont::FontSizeToCode(double points) {
    const double code = std::fabs(std::trunc(points * 4));
    return code > 1023 ? 1023 : static_cast<DWORD>(code);
}

DWORD CGXFont::FontOrientationToCode(LONG tenths) {
    if (tenths < 0) {
        tenths = 3599 - ((3599 - static_cast<long long>(tenths)) % 3600);
    }
    return static_cast<DWORD>(tenths / 10) & 0x1FF;
}

void WriteFontWords(CArchive& ar, const CGXFont& font) {
    const DWORD words[2] = {font.GetWordA() & ~1u, font.GetWordB()};
    for (DWORD word : words) {
        for (int i = 0; i < 4; ++i) {
            ar << static_cast<BYTE>(word >> (8 * i));
        }
    }
}

void ReadFontWords(CArchive& ar, CGXFont& font) {
    DWORD words[2] = {};
    for (DWORD& word : words) {
        for (int i = 0; i < 4; ++i) {
            BYTE part = 0;
            ar >> part;
            word |= static_cast<DWORD>(part) << (8 * i);
        }
    }
    font.SetWords(words[0], words[1]);
}

CGXFont* ReadFontFromArchive(CArchive& ar) {
    return static_cast<CGXFont*>(ar.ReadObject(RUNTIME_CLASS(CGXFont)));
}
