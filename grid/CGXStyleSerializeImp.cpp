#include "grid/CGXStyleSerializeImp.h"

#include "grid/CGXCollMapDWordToString.h"
#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXFontFaceTable.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridLibraryState.h"
#include "platform/base/CArchive.h"

#include <memory>

namespace {

constexpr DWORD Bit(int attribute) {
    return 1u << attribute;
}

constexpr DWORD kMaskBits = (1u << kStyleAttributeCount) - 1;

// Font mask bits of the archive form.
constexpr DWORD kFontItalicSet = 1u << 0;
constexpr DWORD kFontUnderlineSet = 1u << 1;
constexpr DWORD kFontStrikeOutSet = 1u << 2;
constexpr DWORD kFontItalic = 1u << 3;
constexpr DWORD kFontUnderline = 1u << 4;
constexpr DWORD kFontStrikeOut = 1u << 5;
constexpr DWORD kFontWeight = 1u << 6;
constexpr DWORD kFontSize = 1u << 7;
constexpr DWORD kFontOrientation = 1u << 8;
constexpr DWORD kFontFace = 1u << 9;

BYTE ReadByte(CArchive& ar) {
    BYTE value = 0;
    ar >> value;
    return value;
}

WORD ReadWord(CArchive& ar) {
    WORD value = 0;
    ar >> value;
    return value;
}

DWORD ReadDWord(CArchive& ar) {
    DWORD value = 0;
    ar >> value;
    return value;
}

CString ReadString(CArchive& ar) {
    CString text;
    ar >> text;
    return text;
}

// The styles map base-style ids are resolved against: the one given, else the archive's document when
// that is a styles map.
const CGXStylesMap* StylesMapFor(const CArchive& ar, const CGXStylesMap* stylesMap) {
    if (stylesMap) {
        return stylesMap;
    }
    return ar.m_pDocument && ar.m_pDocument->IsKindOf(RUNTIME_CLASS(CGXStylesMap))
               ? static_cast<const CGXStylesMap*>(ar.m_pDocument)
               : nullptr;
}

} // namespace

// ---- Fonts

void CGXStyleSerializeImp::SerializeFont(CArchive& ar, CGXFont& font) {
    if (ar.IsStoring()) {
        const GXFontFaceRecord* face = font.GetIncludeFaceName() ? GetFontFace(font.GetFaceIndex()) : nullptr;
        DWORD mask = 0;
        mask |= font.GetIncludeItalic() ? kFontItalicSet : 0;
        mask |= font.GetIncludeUnderline() ? kFontUnderlineSet : 0;
        mask |= font.GetIncludeStrikeOut() ? kFontStrikeOutSet : 0;
        mask |= font.GetItalic() ? kFontItalic : 0;
        mask |= font.GetUnderline() ? kFontUnderline : 0;
        mask |= font.GetStrikeOut() ? kFontStrikeOut : 0;
        mask |= font.GetIncludeWeight() ? kFontWeight : 0;
        mask |= font.GetIncludeSize() ? kFontSize : 0;
        mask |= font.GetIncludeOrientation() ? kFontOrientation : 0;
        mask |= face ? kFontFace : 0;
        ar << kFontVersion << mask;
        if (mask & kFontWeight) {
            ar << static_cast<WORD>(font.GetWeight());
        }
        if (mask & kFontSize) {
            // Quarter points to tenths, truncated.
            ar << static_cast<WORD>(font.GetSizeCode() * 5 / 2);
        }
        if (mask & kFontOrientation) {
            ar << static_cast<WORD>(font.GetOrientation());
        }
        if (face) {
            ar << CString(face->name) << face->pitchAndFamily << face->charSet;
        }
        return;
    }
    const WORD version = ReadWord(ar);
    if (version > kFontVersion) {
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
    if (version < 2) {
        LoadFontVersion1(ar, font);
        return;
    }
    const DWORD mask = ReadDWord(ar);
    CGXFont read;
    if (mask & kFontItalicSet) {
        read.SetItalic((mask & kFontItalic) != 0);
    }
    if (mask & kFontUnderlineSet) {
        read.SetUnderline((mask & kFontUnderline) != 0);
    }
    if (mask & kFontStrikeOutSet) {
        read.SetStrikeOut((mask & kFontStrikeOut) != 0);
    }
    if (mask & kFontWeight) {
        read.SetWeight(ReadWord(ar));
    }
    if (mask & kFontSize) {
        // Tenths back to quarter points, rounded, so that every size written reads back as it was.
        read.SetSizeCode((ReadWord(ar) * 4u + 5) / 10);
    }
    if (mask & kFontOrientation) {
        read.SetOrientation(ReadWord(ar));
    }
    if (mask & kFontFace) {
        const CString name = ReadString(ar);
        const BYTE pitchAndFamily = ReadByte(ar);
        const BYTE charSet = ReadByte(ar);
        read.SetFaceIndex(GetFontFaceTable().LookupFace(name, pitchAndFamily, charSet));
    }
    font = read;
}

void CGXStyleSerializeImp::LoadFontVersion1(CArchive& ar, CGXFont& font) {
    LOGFONTW logFont{};
    logFont.lfHeight = static_cast<LONG>(ReadDWord(ar));
    logFont.lfWeight = static_cast<LONG>(ReadDWord(ar));
    logFont.lfItalic = ReadByte(ar);
    logFont.lfUnderline = ReadByte(ar);
    logFont.lfPitchAndFamily = ReadByte(ar);
    const CString face = ReadString(ar).Left(LF_FACESIZE - 1);
    std::copy_n(static_cast<LPCTSTR>(face), face.GetLength(), logFont.lfFaceName);
    CGXFont read;
    read.SetLogFont(logFont);
    const DWORD flags = ReadDWord(ar);
    if (!(flags & 1)) {
        read.SetIncludeWeight(FALSE);
    }
    if (!(flags & 2)) {
        read.SetIncludeItalic(FALSE);
    }
    if (!(flags & 4)) {
        read.SetIncludeUnderline(FALSE);
    }
    if (!(flags & 8)) {
        read.SetIncludeStrikeOut(FALSE);
    }
    if (!(flags & 16)) {
        read.SetIncludeSize(FALSE);
    }
    if (flags & 32) {
        read.SetFaceName(face);
    } else {
        read.SetIncludeFaceName(FALSE);
    }
    read.SetOrientation(flags & 64 ? static_cast<LONG>(ReadDWord(ar)) : 0);
    font = read;
}

// ---- Brushes and pens

void CGXStyleSerializeImp::SerializeBrush(CArchive& ar, CGXBrushValue& brush) {
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(brush.GetStyle()) << static_cast<DWORD>(brush.GetColor())
           << static_cast<DWORD>(brush.GetHatch()) << static_cast<DWORD>(brush.GetPattern())
           << static_cast<DWORD>(brush.GetBkColor());
        return;
    }
    const DWORD style = ReadDWord(ar) & 3;
    const DWORD color = ReadDWord(ar);
    const DWORD hatch = ReadDWord(ar) & 7;
    const DWORD pattern = ReadDWord(ar) & 0x3F;
    const DWORD background = ReadDWord(ar);
    CGXBrushValue read;
    read.SetStyle(style).SetColor(color).SetHatch(hatch).SetPattern(pattern).SetBkColor(background);
    if (style == CGXBrushValue::kPattern) {
        if (pattern >= static_cast<DWORD>(CGXDrawingAndFormatting::kPatternCount)) {
            read.SetStyle(CGXBrushValue::kNull);
        } else {
            GetDrawingAndFormatting()->GetPatternBitmap(static_cast<int>(pattern));
        }
    }
    brush = read;
}

void CGXStyleSerializeImp::SerializePen(CArchive& ar, CGXPenValue& pen) {
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(pen.GetStyle()) << static_cast<WORD>(pen.GetWidth())
           << static_cast<WORD>(pen.IsIncluded() ? 1 : 0) << static_cast<DWORD>(pen.GetColor());
        return;
    }
    CGXPenValue read;
    read.SetStyle(ReadDWord(ar) & 7);
    read.SetWidth(ReadWord(ar));
    const WORD set = ReadWord(ar);
    read.SetColor(ReadDWord(ar));
    if (!set) {
        read.SetIncluded(FALSE);
    }
    pen = read;
}

// ---- Styles

void CGXStyleSerializeImp::SerializeStyle(CGXStyle& style, CArchive& ar, const CGXStylesMap* stylesMap) {
    if (ar.IsStoring()) {
        StoreStyle(style, ar, stylesMap);
    } else {
        LoadStyle(style, ar, stylesMap);
    }
}

void CGXStyleSerializeImp::StoreStyle(const CGXStyle& style, CArchive& ar, const CGXStylesMap* stylesMap) {
    const DWORD mask = style.GetIncludeMask();
    ar << kStyleVersion << mask;
    if (mask & Bit(kStyleHorizontalAlignment)) {
        ar << static_cast<DWORD>(style.GetHorizontalAlignment());
    }
    if (mask & Bit(kStyleVerticalAlignment)) {
        ar << static_cast<DWORD>(style.GetVerticalAlignment());
    }
    if (mask & Bit(kStyleReadOnly)) {
        ar << static_cast<BYTE>(style.GetReadOnly() ? 1 : 0);
    }
    if (mask & Bit(kStyleControlId)) {
        ar << static_cast<DWORD>(style.GetControlId());
    }
    if (mask & Bit(kStyleInterior)) {
        CGXBrushValue interior = style.GetInterior();
        SerializeBrush(ar, interior);
    }
    if (mask & Bit(kStyleTextColor)) {
        ar << static_cast<DWORD>(style.GetTextColor());
    }
    if (mask & Bit(kStyleWrapText)) {
        ar << static_cast<BYTE>(style.GetWrapText() ? 1 : 0);
    }
    if (mask & Bit(kStyleAllowEnter)) {
        ar << static_cast<BYTE>(style.GetAllowEnter() ? 1 : 0);
    }
    if (mask & Bit(kStyleFont)) {
        // A style that includes a font without holding one writes a null object.
        ar.WriteObject(style.GetFontPtr());
    }
    if (mask & Bit(kStyleValue)) {
        ar << style.GetValue();
    }
    if (mask & Bit(kStyleChoicesList)) {
        ar << style.GetChoicesList();
    }
    if (mask & Bit(kStyleVerticalScrollbar)) {
        ar << static_cast<BYTE>(style.GetVerticalScrollbar() ? 1 : 0);
    }
    if (mask & Bit(kStyleMaxLength)) {
        ar << style.GetMaxLength();
    }
    if (mask & Bit(kStyleEnabled)) {
        ar << static_cast<BYTE>(style.GetEnabled() ? 1 : 0);
    }
    if (mask & Bit(kStyleTriState)) {
        ar << static_cast<BYTE>(style.GetTriState() ? 1 : 0);
    }
    if (mask & Bit(kStyleDraw3dFrame)) {
        ar << static_cast<BYTE>(style.GetDraw3dFrame());
    }
    if (mask & Bit(kStyleAutoSize)) {
        ar << static_cast<BYTE>(style.GetAutoSize() ? 1 : 0);
    }
    if (mask & Bit(kStyleBorders)) {
        ar << static_cast<WORD>(1);
        for (int side = 0; side < 4; ++side) {
            const CGXPenValue& pen = style.GetBorders(side);
            if (pen.IsIncluded()) {
                ar << static_cast<WORD>(1) << pen.GetDescription();
            } else {
                ar << static_cast<WORD>(0);
            }
        }
    } else {
        ar << static_cast<WORD>(0);
    }
    if (mask & Bit(kStyleBaseStyle)) {
        const CGXStylesMap* map = StylesMapFor(ar, stylesMap);
        UINT resourceId = 0;
        LPCTSTR name = map ? map->GetBaseStyleName(style.GetBaseStyle(), resourceId) : nullptr;
        ar << static_cast<DWORD>(resourceId);
        if (resourceId == 0) {
            ar << CString(name ? name : u"");
        }
    }
    const CGXUserAttributeMap* attributes = style.GetUserAttributes();
    ar.WriteObject((mask & Bit(kStyleUserAttributes)) && attributes && !attributes->IsEmpty() ? attributes
                                                                                              : nullptr);
    if (mask & Bit(kStyleFloatCell)) {
        ar << static_cast<BYTE>(style.GetFloatCell() ? 1 : 0);
    }
    if (mask & Bit(kStyleFloodCell)) {
        ar << static_cast<BYTE>(style.GetFloodCell() ? 1 : 0);
    }
    if (mask & Bit(kStyleMergeCell)) {
        ar << static_cast<BYTE>(style.GetMergeCell());
    }
    if (mask & Bit(kStyleExtraWord)) {
        ar << style.GetExtraWord();
    }
    if (mask & Bit(kStyleFormat)) {
        ar << static_cast<BYTE>(style.GetFormat());
    }
    if (mask & Bit(kStylePlaces)) {
        ar << static_cast<BYTE>(style.GetPlaces());
    }
    if (mask & Bit(kStyleValue)) {
        ar << static_cast<BYTE>(style.GetValueType());
    }
}

void CGXStyleSerializeImp::LoadStyle(CGXStyle& style, CArchive& ar, const CGXStylesMap* stylesMap) {
    const WORD version = ReadWord(ar);
    if (version > kStyleVersion) {
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
    DWORD mask = ReadDWord(ar) & kMaskBits;
    style.ClearAll();
    if (mask & Bit(kStyleHorizontalAlignment)) {
        style.SetHorizontalAlignment(static_cast<int>(ReadDWord(ar)));
    }
    if (mask & Bit(kStyleVerticalAlignment)) {
        style.SetVerticalAlignment(static_cast<int>(ReadDWord(ar)));
    }
    if (mask & Bit(kStyleReadOnly)) {
        style.SetReadOnly(ReadByte(ar) != 0);
    }
    if (mask & Bit(kStyleControlId)) {
        style.SetControlId(static_cast<WORD>(ReadDWord(ar)));
    }
    if (mask & Bit(kStyleInterior)) {
        CGXBrushValue interior;
        SerializeBrush(ar, interior);
        style.SetInterior(interior);
    }
    if (mask & Bit(kStyleTextColor)) {
        style.SetTextColor(ReadDWord(ar));
    }
    if (mask & Bit(kStyleWrapText)) {
        style.SetWrapText(ReadByte(ar) != 0);
    }
    if (mask & Bit(kStyleAllowEnter)) {
        style.SetAllowEnter(ReadByte(ar) != 0);
    }
    if (mask & Bit(kStyleFont)) {
        if (std::unique_ptr<CGXFont> font{ReadFontFromArchive(ar)}) {
            style.SetFont(*font, kMergeCopy);
        }
    }
    if (mask & Bit(kStyleValue)) {
        style.SetValue(ReadString(ar));
    }
    if (mask & Bit(kStyleChoicesList)) {
        style.SetChoicesList(ReadString(ar));
    }
    if (mask & Bit(kStyleVerticalScrollbar)) {
        style.SetVerticalScrollbar(ReadByte(ar) != 0);
    }
    if (mask & Bit(kStyleMaxLength)) {
        style.SetMaxLength(ReadWord(ar));
    }
    if (mask & Bit(kStyleEnabled)) {
        style.SetEnabled(ReadByte(ar) != 0);
    }
    if (mask & Bit(kStyleTriState)) {
        style.SetTriState(ReadByte(ar) != 0);
    }
    if (mask & Bit(kStyleDraw3dFrame)) {
        style.SetDraw3dFrame(ReadByte(ar));
    }
    if (mask & Bit(kStyleAutoSize)) {
        style.SetAutoSize(ReadByte(ar) != 0);
    }
    if (ReadWord(ar)) {
        for (int side = 0; side < 4; ++side) {
            if (ReadWord(ar)) {
                CGXPenValue pen;
                pen.SetDescription(ReadString(ar));
                style.SetBorders(side, pen);
            }
        }
    }
    if (mask & Bit(kStyleBaseStyle)) {
        const UINT resourceId = ReadDWord(ar);
        const CString name = resourceId == 0 ? ReadString(ar) : CString();
        if (const CGXStylesMap* map = StylesMapFor(ar, stylesMap)) {
            WORD id = 0;
            if (resourceId) {
                id = map->GetBaseStyleIdByResource(resourceId);
            } else if (!name.IsEmpty()) {
                id = map->GetBaseStyleIdByName(name);
            }
            style.SetBaseStyle(id);
        }
    }
    if (version >= 5) {
        std::unique_ptr<CGXUserAttributeMap> attributes{
            static_cast<CGXUserAttributeMap*>(ar.ReadObject(RUNTIME_CLASS(CGXUserAttributeMap)))};
        style.SetUserAttributes(attributes.get());
    } else {
        CGXAbstractSerializeV5CompatibleImp* compatible =
            GridLibraryState::Instance().serializeV5CompatibleImp;
        if (!compatible) {
            AfxThrowArchiveException(CArchiveException::badSchema);
        }
        compatible->ReadOldUserAttributes(style, ar);
    }
    if (version >= 2) {
        if (mask & Bit(kStyleFloatCell)) {
            style.SetFloatCell(ReadByte(ar) != 0);
        }
        if (mask & Bit(kStyleFloodCell)) {
            style.SetFloodCell(ReadByte(ar) != 0);
        }
        if (mask & Bit(kStyleMergeCell)) {
            style.SetMergeCell(ReadByte(ar));
        }
    }
    if (version >= 3 && (mask & Bit(kStyleExtraWord))) {
        style.SetExtraWord(ReadDWord(ar));
    }
    if (version >= 4) {
        if (version < 6) {
            // Format and places came together; places counts as present with the format.
            if (mask & Bit(kStyleFormat)) {
                style.SetFormat(ReadByte(ar));
                style.SetPlaces(ReadByte(ar));
                mask |= Bit(kStylePlaces);
            }
        } else {
            if (mask & Bit(kStyleFormat)) {
                style.SetFormat(ReadByte(ar));
            }
            if (mask & Bit(kStylePlaces)) {
                style.SetPlaces(ReadByte(ar));
            }
        }
        if (mask & Bit(kStyleValue)) {
            style.SetValueType(ReadByte(ar));
        }
    }
    style.SetIncludeMask(mask);
}

// ---- Older user attributes

void CGXSerializeV5CompatibleImp::ReadOldUserAttributes(CGXStyle& style, CArchive& ar) {
    std::unique_ptr<CGXCollMapDWordToString> old{
        static_cast<CGXCollMapDWordToString*>(ar.ReadObject(RUNTIME_CLASS(CGXCollMapDWordToString)))};
    if (!old) {
        return;
    }
    CGXUserAttributeMap attributes;
    for (POSITION pos = old->GetStartPosition(); pos;) {
        DWORD id = 0;
        CString text;
        old->GetNextAssoc(pos, id, text);
        attributes.SetAttribute(static_cast<WORD>(id), new CGXUserAttribute(text));
    }
    attributes.SortById();
    style.SetUserAttributes(&attributes);
}

void InstallStyleSerialize() {
    InstallAppFeature<CGXStyleSerializeImp>(GridLibraryState::Instance().styleSerializeImp);
}

void InstallSerializeV5Compatible() {
    InstallAppFeature<CGXSerializeV5CompatibleImp>(GridLibraryState::Instance().serializeV5CompatibleImp);
}
