// A grid's display and print settings: the named colours of its lines, whether lines and 3-D headers are
// drawn, the user properties (each a style, such as the frame of the current cell), the print options,
// margins and distances, and the page header and footer cells with their tokens.
#pragma once

#include "grid/CGXData.h"
#include "grid/CGXStyle.h"
#include "platform/base/CArrays.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

#include <map>
#include <memory>

class CArchive;
class GridLibraryState;

struct GXUserPropertyEntry {
    WORD id = 0;
    CString name;
    std::unique_ptr<CGXStyle> style;
};

class CGXProperties : public CObject {
    DECLARE_SERIAL(CGXProperties)
public:
    // The standard colours' indexes.
    enum StandardColor : int {
        kColorGridLines = 0,
        kColorFixedLines = 1,
        kColorTrackingLine = 2,
        kColorDraggingLine = 3,
        kColorBackground = 4,
    };

    CGXProperties();
    // Through the application-wide parameter copy object; without it an object with empty members.
    CGXProperties(const CGXProperties& other);
    CGXProperties& operator=(const CGXProperties& other);
    ~CGXProperties() override;

    // Through the application-wide document archive object.
    void Serialize(CArchive& ar) override;
    // User property 51005 "Current Cell.": a drop-down list of the frame kinds, "Invert Thin." chosen.
    virtual void AddDefaultUserProperties();

    void FreeColorsAndUserProperties();

    // The settings in the profile section, through the application-wide profile object (nothing, or FALSE,
    // without it).
    void WriteProfile() const;
    BOOL ReadProfile();

    // The index of the name; a new name is added with the colour, a known one keeps its colour.
    int AddColor(LPCTSTR name, COLORREF color);
    // Named by the string resource ("COLOR<id>" when it is missing).
    int AddColorById(UINT nameId, COLORREF color);
    // The colour value at the index (see GridColor.h); 0 beyond the end.
    COLORREF GetColor(int index) const;
    int GetColorCount() const { return static_cast<int>(colors.GetSize()); }

    // A known id's style becomes a clone; a new id is named from the string table ("USERPROP<id>").
    void AddUserProperty(WORD id, const CGXStyle& style);
    // Merges (mode 0) into the property's style; an unknown id raises the resource exception.
    void SetUserProperty(WORD id, const CGXStyle& style);
    // The property's style, or the embedded default for an unknown id; never null.
    const CGXStyle& GetUserProperty(WORD id) const;
    const std::map<WORD, GXUserPropertyEntry>& GetUserProperties() const { return userProperties; }
    std::map<WORD, GXUserPropertyEntry>& GetUserProperties() { return userProperties; }

    int AddToken(LPCTSTR name);

    CGXData& GetHeaderCells() { return headerCells; }
    CGXData& GetFooterCells() { return footerCells; }

    GridLibraryState* state;
    CString frameNames[5];
    CGXStyle defaultUserProperty;
    CStringArray tokenNames;
    CStringArray tokenValues;
    std::map<WORD, GXUserPropertyEntry> userProperties;
    BOOL threeDHeader = TRUE;
    BOOL verticalLines = TRUE;
    BOOL horizontalLines = TRUE;
    BOOL markRowHeader = TRUE;
    BOOL markColumnHeader = TRUE;
    BOOL printing = FALSE;
    CString profileSection;
    CStringArray colorNames;
    CDWordArray colors;
    DWORD percentSetting = 100;
    LONG margins[4] = {};
    BOOL centerHorizontal = TRUE;
    BOOL centerVertical = FALSE;
    BOOL printColumnHeaders = TRUE;
    BOOL printHorizontalLines = TRUE;
    BOOL printRowHeaders = TRUE;
    BOOL printVerticalLines = TRUE;
    BOOL pageOrder = FALSE;
    BOOL printBlackAndWhite = TRUE;
    BOOL printFrame = TRUE;
    LONG headerDistance = 0;
    LONG footerDistance = 0;
    LONG startPageNumber = -1;
    CGXData footerCells;
    CGXData headerCells;
    WORD reserved[2] = {};
    CDWordArray rowBreaks;
    CDWordArray columnBreaks;

private:
    void SetDefaults();
};
