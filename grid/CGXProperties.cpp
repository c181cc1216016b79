#include "grid/CGXProperties.h"

#include "grid/CGXFontFaceTable.h"
#include "grid/GridArchive.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"
#include "platform/gdi/SystemColors.h"

IMPLEMENT_SERIAL(CGXProperties, CObject, 0)

namespace {

CString LoadName(UINT id, LPCTSTR fallbackFormat) {
    CString name;
    if (!name.LoadString(id)) {
        name.Format(fallbackFormat, id);
    }
    return name;
}

} // namespace

CGXProperties::CGXProperties() : state(&GridLibraryState::Instance()) {
    SetDefaults();
}

CGXProperties::CGXProperties(const CGXProperties& other) : CObject(), state(other.state) {
    if (CGXAbstractGridParamCopyOperatorImp* copy = GridLibraryState::Instance().paramCopyOperatorImp) {
        copy->CopyProperties(*this, other);
    }
}

CGXProperties& CGXProperties::operator=(const CGXProperties& other) {
    if (&other != this) {
        if (CGXAbstractGridParamCopyOperatorImp* copy = GridLibraryState::Instance().paramCopyOperatorImp) {
            copy->CopyProperties(*this, other);
        }
    }
    return *this;
}

CGXProperties::~CGXProperties() {
    FreeColorsAndUserProperties();
}

void CGXProperties::SetDefaults() {
    const UINT frameIds[5] = {IDS_GRID_FRAME_INVERT_THIN, IDS_GRID_FRAME_INVERT_THICK,
                              IDS_GRID_FRAME_THIN_BORDER, IDS_GRID_FRAME_THICK_BORDER, IDS_GRID_NO_BORDER};
    for (int i = 0; i < 5; ++i) {
        frameNames[i].LoadString(frameIds[i]);
    }
    threeDHeader = verticalLines = horizontalLines = markRowHeader = markColumnHeader = TRUE;
    printing = FALSE;
    profileSection = u"Grid";
    percentSetting = 100;

    AddColorById(IDS_GRID_COLOR_GRID_LINES, SystemColorValue(COLOR_GRAYTEXT));
    AddColorById(IDS_GRID_COLOR_FIXED_LINES, SystemColorValue(COLOR_ACTIVECAPTION));
    AddColorById(IDS_GRID_COLOR_TRACKING_LINE, RGB(255, 0, 0));
    AddColorById(IDS_GRID_COLOR_DRAGGING_LINE, RGB(255, 0, 0));
    AddColorById(IDS_GRID_COLOR_BACKGROUND, SystemColorValue(COLOR_BTNFACE));

    centerHorizontal = TRUE;
    centerVertical = FALSE;
    printColumnHeaders = printHorizontalLines = printRowHeaders = printVerticalLines = TRUE;
    pageOrder = FALSE;
    printBlackAndWhite = TRUE;
    printFrame = TRUE;

    // Inches of the screen, truncated to pixels.
    const int perInch = GetFontFaceTable().GetLogPixelsY();
    margins[0] = perInch * 3 / 2;
    margins[1] = perInch;
    margins[2] = perInch * 3 / 2;
    margins[3] = perInch;
    headerDistance = footerDistance = perInch * 4 / 10;
    startPageNumber = -1;

    for (LPCTSTR token : {u"$F", u"$A", u"$P", u"$N", u"$D", u"$R"}) {
        AddToken(token);
    }

    footerCells.SetRowCount(10);
    footerCells.SetColCount(3);
    CGXStyle cell;
    footerCells.StoreStyle(1, 1, &cell.SetValue(u"$D"), kMergeOverride, 0);
    footerCells.StoreStyle(1, 3, &cell.SetValue(u"$P/$N"), kMergeOverride, 0);

    headerCells.SetRowCount(10);
    headerCells.SetColCount(3);
    CGXStyle title;
    title.SetValue(u"$R").SetFont(CGXFont().SetSize(16).SetWeight(700), kMergeOverride);
    headerCells.StoreStyle(1, 2, &title, kMergeOverride, 0);
}

void CGXProperties::Serialize(CArchive& ar) {
    RequireFeature(GridLibraryState::Instance().docSerializeImp)->SerializeProperties(*this, ar);
}

void CGXProperties::AddDefaultUserProperties() {
    CString choices;
    for (int i = 0; i < 5; ++i) {
        if (i) {
            choices += u"\n";
        }
        choices += frameNames[i];
    }
    CGXStyle style;
    style.SetControlId(IDS_GRID_CTRL_DROPDOWN_WND).SetChoicesList(choices).SetValue(frameNames[0]);
    AddUserProperty(IDS_GRID_PROP_CURRENT_CELL, style);
}

void CGXProperties::FreeColorsAndUserProperties() {
    colorNames.RemoveAll();
    colors.RemoveAll();
    userProperties.clear();
}

int CGXProperties::AddColor(LPCTSTR name, COLORREF color) {
    for (INT_PTR i = 0; i < colorNames.GetSize(); ++i) {
        if (colorNames[i].Compare(name) == 0) {
            return static_cast<int>(i);
        }
    }
    colorNames.Add(name);
    return static_cast<int>(colors.Add(color));
}

int CGXProperties::AddColorById(UINT nameId, COLORREF color) {
    return AddColor(LoadName(nameId, u"COLOR%u"), color);
}

COLORREF CGXProperties::GetColor(int index) const {
    return index >= 0 && index < colors.GetSize() ? colors[index] : 0;
}

void CGXProperties::AddUserProperty(WORD id, const CGXStyle& style) {
    auto found = userProperties.find(id);
    if (found != userProperties.end()) {
        found->second.style.reset(style.Clone());
        return;
    }
    GXUserPropertyEntry& entry = userProperties[id];
    entry.id = id;
    entry.name = LoadName(id, u"USERPROP%u");
    entry.style.reset(style.Clone());
}

void CGXProperties::SetUserProperty(WORD id, const CGXStyle& style) {
    auto found = userProperties.find(id);
    if (found == userProperties.end()) {
        AfxThrowResourceException();
    }
    found->second.style->MergeStyle(style, kMergeOverride);
}

const CGXStyle& CGXProperties::GetUserProperty(WORD id) const {
    const auto found = userProperties.find(id);
    return found == userProperties.end() ? defaultUserProperty : *found->second.style;
}

int CGXProperties::AddToken(LPCTSTR name) {
    tokenValues.Add(CString());
    return static_cast<int>(tokenNames.Add(name));
}

void CGXProperties::WriteProfile() const {
    if (CGXAbstractGridProfileImp* profile = GridLibraryState::Instance().profileImp) {
        profile->WritePropertiesProfile(*this);
    }
}

BOOL CGXProperties::ReadProfile() {
    CGXAbstractGridProfileImp* profile = GridLibraryState::Instance().profileImp;
    return profile ? profile->ReadPropertiesProfile(*this) : FALSE;
}
