#include "grid/CGXStyleCompareSubsetImp.h"

#include "grid/CGXStyle.h"
#include "grid/CGXUserAttribute.h"
#include "grid/GridLibraryState.h"

namespace {

// Whether other does not include the attribute, or style includes it with the same value.
template <class Get>
bool Contains(const CGXStyle& style, const CGXStyle& other, int attribute, Get get) {
    if (!other.GetInclude(attribute)) {
        return true;
    }
    return style.GetInclude(attribute) && get(style) == get(other);
}

bool ContainsBorders(const CGXStyle& style, const CGXStyle& other) {
    if (!other.GetIncludeBorders()) {
        return true;
    }
    if (!style.GetIncludeBorders()) {
        return false;
    }
    for (int side = 0; side < 4; ++side) {
        const CGXPenValue& pen = other.GetBorders(side);
        if (pen.IsIncluded() && !(style.GetBorders(side) == pen)) {
            return false;
        }
    }
    return true;
}

// Each of other's attributes is found in style by its id and equal to it.
bool ContainsUserAttributes(const CGXStyle& style, const CGXStyle& other) {
    const CGXUserAttributeMap* wanted = other.GetUserAttributes();
    if (!other.GetIncludeUserAttributes() || !wanted || wanted->IsEmpty()) {
        return true;
    }
    const CGXUserAttributeMap* present = style.GetUserAttributes();
    if (!style.GetIncludeUserAttributes() || !present || present->GetSize() < wanted->GetSize()) {
        return false;
    }
    for (INT_PTR i = 0; i < wanted->GetSize(); ++i) {
        const CGXAbstractUserAttribute* attribute = wanted->GetAttributeAt(i);
        const CGXAbstractUserAttribute* mine = present->FindAttribute(attribute->GetId());
        if (!mine || !mine->IsEqual(*attribute)) {
            return false;
        }
    }
    return true;
}

} // namespace

BOOL CGXStyleCompareSubsetImp::IsSubSet(const CGXStyle& style, const CGXStyle& other) {
    using S = const CGXStyle&;
    const bool contains =
        Contains(style, other, kStyleHorizontalAlignment, [](S s) { return s.GetHorizontalAlignment(); }) &&
        Contains(style, other, kStyleVerticalAlignment, [](S s) { return s.GetVerticalAlignment(); }) &&
        Contains(style, other, kStyleReadOnly, [](S s) { return !!s.GetReadOnly(); }) &&
        Contains(style, other, kStyleFloatCell, [](S s) { return !!s.GetFloatCell(); }) &&
        Contains(style, other, kStyleFloodCell, [](S s) { return !!s.GetFloodCell(); }) &&
        Contains(style, other, kStyleMergeCell, [](S s) { return s.GetMergeCell(); }) &&
        Contains(style, other, kStyleDraw3dFrame, [](S s) { return s.GetDraw3dFrame(); }) &&
        Contains(style, other, kStyleMaxLength, [](S s) { return s.GetMaxLength(); }) &&
        Contains(style, other, kStyleVerticalScrollbar, [](S s) { return !!s.GetVerticalScrollbar(); }) &&
        Contains(style, other, kStyleTextColor, [](S s) { return s.GetTextColorValue(); }) &&
        Contains(style, other, kStyleWrapText, [](S s) { return !!s.GetWrapText(); }) &&
        Contains(style, other, kStyleAutoSize, [](S s) { return !!s.GetAutoSize(); }) &&
        Contains(style, other, kStyleAllowEnter, [](S s) { return !!s.GetAllowEnter(); }) &&
        Contains(style, other, kStyleEnabled, [](S s) { return !!s.GetEnabled(); }) &&
        Contains(style, other, kStyleTriState, [](S s) { return !!s.GetTriState(); }) &&
        Contains(style, other, kStyleControlId, [](S s) { return s.GetControlId(); }) &&
        Contains(style, other, kStyleInterior, [](S s) { return s.GetInterior(); }) &&
        ContainsBorders(style, other) &&
        (!other.GetIncludeFont() || (style.GetIncludeFont() && style.GetFont().CompareSubset(other.GetFont()))) &&
        Contains(style, other, kStyleValue, [](S s) { return s.GetValue(); }) &&
        Contains(style, other, kStyleChoicesList, [](S s) { return s.GetChoicesList(); }) &&
        Contains(style, other, kStyleFormat, [](S s) { return s.GetFormat(); }) &&
        Contains(style, other, kStylePlaces, [](S s) { return s.GetPlaces(); }) &&
        Contains(style, other, kStyleBaseStyle, [](S s) { return s.GetBaseStyle(); }) &&
        Contains(style, other, kStyleExtraWord, [](S s) { return s.GetExtraWord(); }) &&
        ContainsUserAttributes(style, other);
    return contains ? TRUE : FALSE;
}

void InstallStyleCompareSubset() {
    InstallAppFeature<CGXStyleCompareSubsetImp>(GridLibraryState::Instance().styleCompareSubsetImp);
}
