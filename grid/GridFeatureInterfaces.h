// The interfaces of the grid library's application-wide feature objects: archive code, formatting, the
// pools of covered, spanned and delayed cells, the print device and the rest. The library state holds one
// object per interface (GridLibraryState); the classes that use a feature forward to it and, when it is not
// installed, do nothing or answer 0.
//
// Objects of the feature libraries above the grid (pools, print device) cross this boundary as CObject:
// the grid owns, archives and hands them on, and only the features know their classes.
#pragma once

#include "grid/GridDefs.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/gdi/GdiTypes.h"

#include <ctime>

class CArchive;
class CDC;
class CDWordArray;
class CGXBrushValue;
class CGXData;
class CGXFont;
class CGXGridParam;
class CGXPenValue;
class CGXProperties;
class CGXRange;
class CGXRangeList;
class CGXStyle;
class CGXStylePtrArray;
class CGXStylePtrArrayPtrArray;
class CGXStylesMap;
class CPrintDialog;
class CTime;
class CWnd;

// Every feature object: the library state deletes the ones it owns through this.
class CGXFeatureObject {
public:
    virtual ~CGXFeatureObject() = default;

protected:
    CGXFeatureObject() = default;
};

class CGXAbstractCoveredCellPoolImp : public CGXFeatureObject {
public:
    virtual CObject* CreatePool() = 0;
    // Refills the pool from the covered ranges.
    virtual void CopyPool(CObject* pool, const CGXRangeList& coveredRanges) = 0;
};

class CGXAbstractSpanCellPoolImp : public CGXFeatureObject {
public:
    virtual CObject* ClonePool(const CObject* source) = 0;
    virtual CObject* CreatePool() = 0;
    virtual void CopyPool(CObject* dest, const CObject* source) = 0;
    // Each does nothing for a null pool.
    virtual void InsertRows(CObject* pool, ROWCOL row, ROWCOL count) = 0;
    virtual void RemoveRows(CObject* pool, ROWCOL first, ROWCOL last) = 0;
    virtual void MoveRows(CObject* pool, ROWCOL first, ROWCOL last, ROWCOL dest) = 0;
    virtual void InsertCols(CObject* pool, ROWCOL col, ROWCOL count) = 0;
    virtual void RemoveCols(CObject* pool, ROWCOL first, ROWCOL last) = 0;
    virtual void MoveCols(CObject* pool, ROWCOL first, ROWCOL last, ROWCOL dest) = 0;
    // Empties a pool (the parameter archive's reader of older forms has its spans evaluated afresh).
    virtual void DeleteAll(CObject* pool) = 0;
};

class CGXAbstractDelayedRangePoolImp : public CGXFeatureObject {
public:
    virtual CObject* ClonePool(const CObject* source) = 0;
    virtual CObject* CreatePool() = 0;
    virtual void CopyPool(CObject* dest, const CObject* source) = 0;
    // Empties a pool and delays the whole table (cells 0,0 to the largest row and column).
    virtual void DelayWholeTable(CObject* pool) = 0;
};

// The print device's work; `device` is the parameter's CGXPrintDevice.
class CGXAbstractPrintDeviceImp : public CGXFeatureObject {
public:
    virtual void MakeAppPrinter(CObject* device) = 0;
    virtual INT_PTR DoPrintDialog(CObject* device, CPrintDialog* dialog) = 0;
    virtual void CopyHandles(CObject* device, HGLOBAL devNames, HGLOBAL devMode) = 0;
    virtual void SetDeviceData(CObject* device, const BYTE* names, DWORD namesSize, const BYTE* mode,
                               DWORD modeSize) = 0;
    virtual void FreeDevice(CObject* device) = 0;
    // Copies of the two handles' contents into new buffers the caller frees with delete[].
    virtual void GetDeviceData(CObject* device, HGLOBAL devNames, HGLOBAL devMode, BYTE*& names,
                               DWORD& namesSize, BYTE*& mode, DWORD& modeSize) = 0;
    virtual void CreateDefaultDevice(CObject* device) = 0;
    virtual CDC* GetPrinterDC(CObject* device) = 0;
    virtual void ReleasePrinterDC(CObject* device) = 0;
    virtual void GetDeviceHandles(CObject* device, HGLOBAL& devNames, HGLOBAL& devMode) = 0;
    virtual BOOL IsSameDevice(CObject* device, HGLOBAL devNames, HGLOBAL devMode) = 0;
    virtual BOOL CompareDeviceData(CObject* device, const BYTE* names, DWORD namesSize, const BYTE* mode,
                                   DWORD modeSize) = 0;
};

class CGXAbstractStyleCompareSubsetImp : public CGXFeatureObject {
public:
    // Whether every attribute that `other` includes is included in `style` with the same value.
    virtual BOOL IsSubSet(const CGXStyle& style, const CGXStyle& other) = 0;
};

// Archive forms of styles, fonts, brushes and pens.
class CGXAbstractStyleSerializeImp : public CGXFeatureObject {
public:
    virtual void SerializeFont(CArchive& ar, CGXFont& font) = 0;
    virtual void SerializeBrush(CArchive& ar, CGXBrushValue& brush) = 0;
    virtual void SerializePen(CArchive& ar, CGXPenValue& pen) = 0;
    // The styles map (or null) turns base-style ids into names and back.
    virtual void SerializeStyle(CGXStyle& style, CArchive& ar, const CGXStylesMap* stylesMap) = 0;
};

// Archive forms of the parameter object and everything it owns.
class CGXAbstractGridDocSerializeImp : public CGXFeatureObject {
public:
    virtual void SerializeStylesMap(CGXStylesMap& map, CArchive& ar) = 0;
    virtual void SerializeData(CGXData& data, CArchive& ar) = 0;
    virtual void SerializeStylePtrArrayPtrArray(CGXStylePtrArrayPtrArray& cells, CArchive& ar) = 0;
    virtual void SerializeStylePtrArray(CGXStylePtrArray& styles, CArchive& ar) = 0;
    virtual void SerializeProperties(CGXProperties& properties, CArchive& ar) = 0;
    virtual void SerializeGridParam(CGXGridParam& param, CArchive& ar) = 0;
};

class CGXAbstractGridParamCopyOperatorImp : public CGXFeatureObject {
public:
    virtual void CopyGridParam(CGXGridParam& dest, const CGXGridParam& source) = 0;
    virtual void CopyStylesMap(CGXStylesMap& dest, const CGXStylesMap& source) = 0;
    virtual void CopyProperties(CGXProperties& dest, const CGXProperties& source) = 0;
};

class CGXAbstractGridSortMoveDataImp : public CGXFeatureObject {
public:
    // Entry i of order names the position (from the range's first row or column) of the row or column
    // that is to be at position i.
    virtual BOOL MoveDataRows(CGXData& data, const CGXRange& range, const CDWordArray& order) = 0;
    virtual BOOL MoveDataCols(CGXData& data, const CGXRange& range, const CDWordArray& order) = 0;
};

class CGXAbstractDrawRotatedTextImp : public CGXFeatureObject {
public:
    virtual int DrawRotatedText(CDC* dc, LPCTSTR text, int length, int left, int top, int right, int bottom,
                                UINT format, LONG orientation, const RECT* clip) = 0;
};

// Dates and times in the user's locale. Date order: 0 day, month, year; 1 month, day, year; 2 year, month,
// day; 3 undetermined (the locale's).
struct GXTimestamp {
    short year = 0;
    WORD month = 0; // 0: no date part
    WORD day = 0;
    WORD hour = 0;
    WORD minute = 0;
    WORD second = 0;
    DWORD fraction = 0;
};

class CGXAbstractDateTimeImp : public CGXFeatureObject {
public:
    virtual void ReloadLocaleSettings() = 0;
    virtual int GetDateOrder(BOOL reload, BOOL* fourDigitYear, WCHAR* dateSeparator) = 0;
    virtual WCHAR GetTimeSeparator(BOOL reload) = 0;
    virtual BOOL ParseDateTimeFields(GXTimestamp* out, LPCTSTR text, int order) = 0;
    virtual BOOL ParseDateTimeTm(std::tm* out, LPCTSTR text, int order) = 0;
    virtual void FormatDateTime(CString& out, const GXTimestamp& timestamp) = 0;
    virtual void FormatTime(CString& out, const CTime& time) = 0;
};

class CGXAbstractDataCopyMoveCellsImp : public CGXFeatureObject {
public:
    virtual BOOL CopyCells(CGXData& data, CGXRange range, ROWCOL destRow, ROWCOL destCol) = 0;
    virtual BOOL MoveCells(CGXData& data, const CGXRange* range, ROWCOL destRow, ROWCOL destCol,
                           CObject** undoInfo, BOOL createUndoInfo, int reserved) = 0;
};

// Reads the user attributes of styles archived before style version 5.
class CGXAbstractSerializeV5CompatibleImp : public CGXFeatureObject {
public:
    virtual void ReadOldUserAttributes(CGXStyle& style, CArchive& ar) = 0;
};

class CGXAbstractNumberFormattingImp : public CGXFeatureObject {
public:
    // A null value means the style's own value text and value type; the last two values are not read.
    virtual CString FormatNumber(const CGXStyle& style, LPCTSTR value, int valueType, int reserved1,
                                 int reserved2) = 0;
    // Whether the text is a number; format and places are written only when both are given.
    virtual BOOL ParseNumber(LPCTSTR text, double* value, int* format, int* places) = 0;
};

// Styles maps, styles, fonts and properties in the application profile.
class CGXAbstractGridProfileImp : public CGXFeatureObject {
public:
    virtual void WriteStylesMapProfile(const CGXStylesMap& map) = 0;
    virtual void WriteFontProfile(const CGXFont& font, LPCTSTR section, LPCTSTR key) = 0;
    // The styles map (or null) names base styles.
    virtual void WriteStyleProfile(const CGXStyle& style, LPCTSTR section, const CGXStylesMap* map) = 0;
    virtual void WritePropertiesProfile(const CGXProperties& properties) = 0;
    virtual BOOL ReadStylesMapProfile(CGXStylesMap& map) = 0;
    virtual BOOL ReadFontProfile(CGXFont& font, LPCTSTR section, LPCTSTR key) = 0;
    virtual BOOL ReadStyleProfile(CGXStyle& style, LPCTSTR section, const CGXStylesMap* map) = 0;
    virtual BOOL ReadPropertiesProfile(CGXProperties& properties) = 0;
};

// Interfaces of features built elsewhere; the library state only holds and frees them.
class CGXAbstractLongOperationImp;

// How a grid reads and sets the name of its tab when it is a sheet of a tab window; a tab window installs
// it.
class CGXAbstractTabWndInterface : public CGXFeatureObject {
public:
    // With set, the window's tab is named `name` (no notification); otherwise `name` receives the tab's
    // name, empty when the window is no sheet.
    virtual void TabNameOfWindow(CWnd* window, CString& name, BOOL set) = 0;
    // The name of tab `index` of the window's tab window; empty when the window is no sheet.
    virtual void GetTabNameAt(CString& name, CWnd* window, int index) = 0;
};
