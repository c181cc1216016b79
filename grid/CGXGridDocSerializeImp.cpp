#include "grid/CGXGridDocSerializeImp.h"

#include "grid/CGXData.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyleSerializeImp.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"
#include "platform/base/CArchive.h"

#include <memory>

namespace {

constexpr DWORD kEndOfEntries = 0xFFFFFFFF;

template <class T>
T Read(CArchive& ar) {
    T value{};
    ar >> value;
    return value;
}

BOOL ReadFlag(CArchive& ar) {
    return Read<BYTE>(ar) != 0 ? TRUE : FALSE;
}

void WriteFlag(CArchive& ar, BOOL flag) {
    ar << static_cast<BYTE>(flag ? 1 : 0);
}

CString ReadString(CArchive& ar) {
    CString text;
    ar >> text;
    return text;
}

void CheckVersion(WORD version, WORD known, bool exactly) {
    if (version > known || (exactly && version != known)) {
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
}

// The archive's document pointer set to an object for a while.
class DocumentScope {
public:
    DocumentScope(CArchive& ar, CObject* document) : m_ar(ar), m_saved(ar.m_pDocument) {
        ar.m_pDocument = document;
    }
    ~DocumentScope() { m_ar.m_pDocument = m_saved; }
    DocumentScope(const DocumentScope&) = delete;
    DocumentScope& operator=(const DocumentScope&) = delete;

private:
    CArchive& m_ar;
    CObject* m_saved;
};

// An object of a class that a feature above the grid registers (a pool, the print device); the grid knows
// it by name only. Objects of any other class are refused.
std::unique_ptr<CObject> ReadFeatureObject(CArchive& ar, LPCSTR className) {
    const CRuntimeClass* wanted = CRuntimeClass::FromName(className);
    if (!wanted) {
        // Without the feature only a null object (tag 0) can be taken; nothing else is even made.
        if (Read<WORD>(ar) != 0) {
            AfxThrowArchiveException(CArchiveException::badClass);
        }
        return nullptr;
    }
    std::unique_ptr<CObject> object{ar.ReadObject(wanted)};
    if (object && !object->IsKindOf(wanted)) {
        AfxThrowArchiveException(CArchiveException::badClass);
    }
    return object;
}

void ReplaceObject(CObject*& slot, std::unique_ptr<CObject> object) {
    delete slot;
    slot = object.release();
}

// One past the last element that holds something: the size an array is written with.
INT_PTR UsedSize(const CPtrArray& array) {
    INT_PTR size = array.GetSize();
    while (size > 0 && !array.GetAt(size - 1)) {
        --size;
    }
    return size;
}

// Makes room for an element at `index`, charging the archive for what the array grows by.
void GrowTo(CArchive& ar, CPtrArray& array, DWORD index) {
    const INT_PTR needed = static_cast<INT_PTR>(index) + 1;
    if (needed > array.GetSize()) {
        ar.ChargeLoadMemory(static_cast<ULONGLONG>(needed - array.GetSize()) * sizeof(void*));
        array.SetSize(needed);
    }
}

// Entries of a sparse form: indexes below the stated size, in increasing order, up to the end marker.
class SparseIndexReader {
public:
    SparseIndexReader(CArchive& ar, DWORD size) : m_ar(ar), m_size(size) {}
    // False at the end marker.
    bool Next(DWORD& index) {
        index = Read<DWORD>(m_ar);
        if (index == kEndOfEntries) {
            return false;
        }
        if (index >= m_size || (m_started && index <= m_last)) {
            AfxThrowArchiveException(CArchiveException::badIndex);
        }
        m_started = true;
        m_last = index;
        return true;
    }

private:
    CArchive& m_ar;
    DWORD m_size;
    DWORD m_last = 0;
    bool m_started = false;
};

void StoreStyleForm(CGXStyle& style, CArchive& ar, const CGXStylesMap* map) {
    style.SerializeEx(ar, map);
}

} // namespace

// ---- Styles map

void CGXGridDocSerializeImp::SerializeStylesMap(CGXStylesMap& map, CArchive& ar) {
    if (ar.IsStoring()) {
        if (map.controlNames.size() > 0xFFFF || map.idByName.size() > 0xFFFF ||
            map.baseStyles.size() > 0xFFFF || map.userAttributes.size() > 0xFFFF) {
            AfxThrowArchiveException(CArchiveException::genericException);
        }
        ar << kStylesMapVersion << map.profileSection;
        ar << static_cast<WORD>(map.controlNames.size());
        for (const auto& [id, name] : map.controlNames) {
            ar << static_cast<DWORD>(id) << name;
        }
        ar << static_cast<WORD>(map.idByName.size());
        for (const auto& [name, id] : map.idByName) {
            ar << id << CString(name);
        }
        ar << static_cast<WORD>(map.baseStyles.size());
        for (auto& [id, record] : map.baseStyles) {
            ar << id << static_cast<DWORD>(record.resourceId) << record.name;
            WriteFlag(ar, record.system);
            CGXStyle empty;
            StoreStyleForm(record.style ? *record.style : empty, ar, &map);
        }
        ar << map.nextStyleId;
        ar << static_cast<WORD>(map.userAttributes.size());
        for (auto& [id, record] : map.userAttributes) {
            ar << static_cast<DWORD>(id);
            CGXStyle empty;
            StoreStyleForm(record.style ? *record.style : empty, ar, &map);
        }
        return;
    }

    const WORD version = Read<WORD>(ar);
    CheckVersion(version, kStylesMapVersion, false);
    map.profileSection = ReadString(ar);
    map.DeleteBaseStyles();
    map.DeleteControlNames();

    const WORD controls = Read<WORD>(ar);
    ar.EnsureAvailable(static_cast<ULONGLONG>(controls) * 5);
    for (WORD i = 0; i < controls; ++i) {
        const DWORD id = Read<DWORD>(ar);
        map.controlNames[static_cast<WORD>(id)] = ReadString(ar);
    }
    const WORD names = Read<WORD>(ar);
    ar.EnsureAvailable(static_cast<ULONGLONG>(names) * 3);
    for (WORD i = 0; i < names; ++i) {
        Read<WORD>(ar);
        ReadString(ar);
    }
    const WORD styles = Read<WORD>(ar);
    ar.EnsureAvailable(static_cast<ULONGLONG>(styles) * 14);
    for (WORD i = 0; i < styles; ++i) {
        const WORD id = Read<WORD>(ar);
        const UINT resourceId = Read<DWORD>(ar);
        CString name = ReadString(ar);
        const BOOL system = ReadFlag(ar);
        std::unique_ptr<CGXStyle> style = map.CreateStyle();
        style->SerializeEx(ar, &map);
        if (resourceId != 0) {
            if (!name.LoadString(resourceId)) {
                name.Format(u"STYLE%u", resourceId);
            }
            map.idByResource[resourceId] = id;
        }
        CGXBaseStyleInfo& record = map.baseStyles[id];
        record.id = id;
        record.resourceId = resourceId;
        record.name = name;
        record.style = std::move(style);
        record.system = system;
        map.idByName[name.str()] = id;
    }
    map.nextStyleId = Read<WORD>(ar);
    if (version >= 2) {
        const WORD registrations = Read<WORD>(ar);
        ar.EnsureAvailable(static_cast<ULONGLONG>(registrations) * 10);
        for (WORD i = 0; i < registrations; ++i) {
            const WORD id = static_cast<WORD>(Read<DWORD>(ar));
            std::unique_ptr<CGXStyle> style = map.CreateStyle();
            style->SerializeEx(ar, &map);
            CGXUserAttributeInfo record;
            record.id = id;
            if (!record.name.LoadString(id)) {
                record.name.Format(u"UA%u", static_cast<unsigned>(id));
            }
            record.style = std::move(style);
            map.userAttributes[id] = std::move(record);
        }
    }
    map.standardStyleId = map.GetBaseStyleIdByResource(IDS_GRID_STYLE_STANDARD);
    map.columnHeaderStyleId = map.GetBaseStyleIdByResource(IDS_GRID_STYLE_COLUMN_HEADER);
    map.rowHeaderStyleId = map.GetBaseStyleIdByResource(IDS_GRID_STYLE_ROW_HEADER);
}

// ---- Cell data and its sparse arrays

void CGXGridDocSerializeImp::SerializeData(CGXData& data, CArchive& ar) {
    if (ar.IsStoring()) {
        ar << kDataVersion << data.GetRowCount() << data.GetColCount();
        SerializeStylePtrArrayPtrArray(data.GetCells(), ar);
        SerializeStylePtrArray(data.GetRowBaseStyles(), ar);
        SerializeStylePtrArray(data.GetColBaseStyles(), ar);
        return;
    }
    CheckVersion(Read<WORD>(ar), kDataVersion, true);
    const ROWCOL rows = Read<DWORD>(ar);
    const ROWCOL cols = Read<DWORD>(ar);
    data.DeleteContents();
    data.SetCounts(rows, cols);
    SerializeStylePtrArrayPtrArray(data.GetCells(), ar);
    SerializeStylePtrArray(data.GetRowBaseStyles(), ar);
    SerializeStylePtrArray(data.GetColBaseStyles(), ar);
}

void CGXGridDocSerializeImp::SerializeStylePtrArrayPtrArray(CGXStylePtrArrayPtrArray& cells, CArchive& ar) {
    if (ar.IsStoring()) {
        const INT_PTR size = UsedSize(cells);
        ar << kArrayVersion << static_cast<DWORD>(size);
        for (INT_PTR i = 0; i < size; ++i) {
            if (CGXStylePtrArray* row = cells.GetRowAt(i)) {
                ar << static_cast<DWORD>(i);
                SerializeStylePtrArray(*row, ar);
            }
        }
        ar << kEndOfEntries;
        return;
    }
    CheckVersion(Read<WORD>(ar), kArrayVersion, true);
    SparseIndexReader entries(ar, Read<DWORD>(ar));
    cells.DeleteAll();
    DWORD index = 0;
    while (entries.Next(index)) {
        GrowTo(ar, cells, index);
        auto row = std::make_unique<CGXStylePtrArray>();
        SerializeStylePtrArray(*row, ar);
        cells.SetAt(static_cast<INT_PTR>(index), row.release());
    }
}

void CGXGridDocSerializeImp::SerializeStylePtrArray(CGXStylePtrArray& styles, CArchive& ar) {
    if (ar.IsStoring()) {
        const INT_PTR size = UsedSize(styles);
        ar << kArrayVersion << static_cast<DWORD>(size);
        for (INT_PTR i = 0; i < size; ++i) {
            if (CGXStyle* style = styles.GetStyleAt(i)) {
                ar << static_cast<DWORD>(i);
                ar.WriteObject(style);
            }
        }
        ar << kEndOfEntries;
        return;
    }
    CheckVersion(Read<WORD>(ar), kArrayVersion, true);
    SparseIndexReader entries(ar, Read<DWORD>(ar));
    styles.DeleteAll();
    DWORD index = 0;
    while (entries.Next(index)) {
        GrowTo(ar, styles, index);
        styles.SetAt(static_cast<INT_PTR>(index), ReadStyleFromArchive(ar));
    }
}

// ---- Properties

void CGXGridDocSerializeImp::SerializeProperties(CGXProperties& properties, CArchive& ar) {
    if (ar.IsStoring()) {
        const WORD version = m_propertiesStoreVersion;
        ar << version;
        CDWordArray colors;
        for (INT_PTR i = 0; i < properties.colors.GetSize(); ++i) {
            colors.Add(LoadGridColor(StoreGridColor(properties.colors[i])));
        }
        colors.Serialize(ar);
        CStringArray unused;
        unused.Serialize(ar);
        WriteFlag(ar, properties.verticalLines);
        WriteFlag(ar, properties.horizontalLines);
        WriteFlag(ar, properties.threeDHeader);
        WriteFlag(ar, properties.markRowHeader);
        WriteFlag(ar, properties.markColumnHeader);
        ar << properties.profileSection << properties.percentSetting;
        for (auto& [id, entry] : properties.userProperties) {
            if (id == 0) {
                continue; // 0 ends the list
            }
            ar << static_cast<DWORD>(id) << entry.name;
            ar.WriteObject(entry.style.get());
        }
        ar << static_cast<DWORD>(0);
        for (LONG value :
             {static_cast<LONG>(properties.printVerticalLines),
              static_cast<LONG>(properties.printHorizontalLines), static_cast<LONG>(properties.pageOrder),
              static_cast<LONG>(properties.printBlackAndWhite), static_cast<LONG>(properties.printRowHeaders),
              static_cast<LONG>(properties.centerVertical), static_cast<LONG>(properties.centerHorizontal),
              properties.margins[0], properties.margins[1], properties.margins[3], properties.margins[2],
              static_cast<LONG>(properties.printFrame), properties.headerDistance, properties.footerDistance,
              properties.startPageNumber}) {
            ar << static_cast<DWORD>(value);
        }
        ar << properties.reserved[0] << properties.reserved[1];
        if (version >= 3) {
            properties.rowBreaks.Serialize(ar);
            properties.columnBreaks.Serialize(ar);
        }
        SerializeData(properties.footerCells, ar);
        SerializeData(properties.headerCells, ar);
        if (version == 2) {
            ar << static_cast<DWORD>(properties.printColumnHeaders);
        }
        return;
    }

    const WORD version = Read<WORD>(ar);
    CheckVersion(version, kPropertiesVersion, false);
    properties.colors.Serialize(ar);
    CStringArray unused;
    unused.Serialize(ar);
    properties.colors.SetSize(properties.colorNames.GetSize());
    properties.verticalLines = ReadFlag(ar);
    properties.horizontalLines = ReadFlag(ar);
    properties.threeDHeader = ReadFlag(ar);
    properties.markRowHeader = ReadFlag(ar);
    properties.markColumnHeader = ReadFlag(ar);
    properties.profileSection = ReadString(ar);
    properties.percentSetting = Read<DWORD>(ar);
    for (DWORD id = Read<DWORD>(ar); id != 0; id = Read<DWORD>(ar)) {
        CString name = ReadString(ar);
        std::unique_ptr<CGXStyle> style{ReadStyleFromArchive(ar)};
        if (!style) {
            style = std::make_unique<CGXStyle>();
        }
        GXUserPropertyEntry& entry = properties.userProperties[static_cast<WORD>(id)];
        if (!entry.style) {
            entry.id = static_cast<WORD>(id);
            entry.name = name;
        }
        entry.style = std::move(style);
    }
    properties.printVerticalLines = Read<DWORD>(ar) != 0;
    properties.printHorizontalLines = Read<DWORD>(ar) != 0;
    properties.pageOrder = Read<DWORD>(ar) != 0;
    properties.printBlackAndWhite = Read<DWORD>(ar) != 0;
    properties.printRowHeaders = Read<DWORD>(ar) != 0;
    properties.centerVertical = Read<DWORD>(ar) != 0;
    properties.centerHorizontal = Read<DWORD>(ar) != 0;
    properties.margins[0] = static_cast<LONG>(Read<DWORD>(ar));
    properties.margins[1] = static_cast<LONG>(Read<DWORD>(ar));
    properties.margins[3] = static_cast<LONG>(Read<DWORD>(ar));
    properties.margins[2] = static_cast<LONG>(Read<DWORD>(ar));
    properties.printFrame = Read<DWORD>(ar) != 0;
    properties.headerDistance = static_cast<LONG>(Read<DWORD>(ar));
    properties.footerDistance = static_cast<LONG>(Read<DWORD>(ar));
    properties.startPageNumber = static_cast<LONG>(Read<DWORD>(ar));
    properties.reserved[0] = Read<WORD>(ar);
    properties.reserved[1] = Read<WORD>(ar);
    if (version >= 3) {
        properties.rowBreaks.Serialize(ar);
        properties.columnBreaks.Serialize(ar);
    }
    SerializeData(properties.footerCells, ar);
    SerializeData(properties.headerCells, ar);
    if (version == 2) {
        properties.printColumnHeaders = Read<DWORD>(ar) != 0;
    }
}

// ---- Parameter object
//
// Field order of the archive (the parameter's fields by name):
//   WORD version 9;
//   flag bytes: m_bThumbTrack, m_bTabFlag, m_bReadOnly, m_bUndoEnabled, m_bNumberRowHeaders,
//     m_bLetterColHeaders, m_bReadOnly (again), m_bTabFlag (again), m_bDragCols, m_bDragRows, the own-flags
//     of data, print device, properties and styles map, m_bCheckActiveView, m_bUsePrinterMetrics,
//     m_bReadOnlyProtectsData, m_bSmartResize;
//   WORDs m_wSelectionFlags, m_wRowResizeFlags, m_wColResizeFlags; DWORDs m_nFrozenRows, m_nFrozenCols,
//     m_nDefaultColWidth, m_nDefaultRowHeight; m_strTabName; WORDs m_wActivateCell, m_wCurrentCellDisplay,
//     m_nMinTrackRowHeight, m_nMinTrackColWidth, m_wComposeAllFirst; DWORDs m_nHeaderRows, m_nHeaderCols;
//   the owned styles map, data and properties (with the styles map as the document), print device;
//   m_selectedRanges, m_coveredRanges; m_rowHeights, m_colWidths; m_abHiddenRows, m_abHiddenCols;
//   version 2: m_bMoveScrollsAtTop;
//   version 3: m_bHintCurrentCell, m_bTransparentBackground, DWORDs m_nFrozenColsStart, m_nFrozenColsCount,
//     m_nFrozenColsOrigin;
//   version 4: WORD m_wCurrentCellSelectFlags;
//   version 5: m_bDisableZoom, WORD m_nEnterKeyDirection, DWORD m_nMaxUndoCount;
//   version 6: m_bSelectCurrentCell, m_bSortColsByRowHeader, m_bExcelLikeCurrentCell, m_bExcelLikeFrame,
//     m_bGridLinesAtRightBottom; WORD m_wFloatCellsMode, the float delayed ranges and span pool; WORD
//     m_wMergeCellsMode, the merge delayed ranges, row and column span pools; WORD m_nGridLineStyle;
//   version 8: m_bExcelLikeFill, m_bDirectCopyPaste, m_bDirectCutPaste;
//   version 9: WORD m_wDisplayFlags.

void CGXGridDocSerializeImp::SerializeGridParam(CGXGridParam& param, CArchive& ar) {
    if (ar.IsStoring()) {
        StoreGridParam(param, ar);
    } else {
        LoadGridParam(param, ar);
    }
}

void CGXGridDocSerializeImp::StoreGridParam(CGXGridParam& param, CArchive& ar) {
    ar << kParamVersion;
    for (BOOL flag :
         {param.m_bThumbTrack, param.m_bTabFlag, param.m_bReadOnly, param.m_bUndoEnabled,
          param.m_bNumberRowHeaders, param.m_bLetterColHeaders, param.m_bReadOnly, param.m_bTabFlag,
          param.m_bDragCols, param.m_bDragRows, param.m_bOwnData, param.m_bOwnPrintDevice,
          param.m_bOwnProperties, param.m_bOwnStylesMap, param.m_bCheckActiveView, param.m_bUsePrinterMetrics,
          param.m_bReadOnlyProtectsData, param.m_bSmartResize}) {
        WriteFlag(ar, flag);
    }
    ar << param.m_wSelectionFlags << param.m_wRowResizeFlags << param.m_wColResizeFlags;
    ar << param.m_nFrozenRows << param.m_nFrozenCols << static_cast<DWORD>(param.m_nDefaultColWidth)
       << static_cast<DWORD>(param.m_nDefaultRowHeight);
    ar << param.m_strTabName;
    ar << param.m_wActivateCell << param.m_wCurrentCellDisplay
       << static_cast<WORD>(param.m_nMinTrackRowHeight) << static_cast<WORD>(param.m_nMinTrackColWidth)
       << param.m_wComposeAllFirst;
    ar << param.m_nHeaderRows << param.m_nHeaderCols;

    if (param.m_bOwnStylesMap) {
        ar.WriteObject(param.m_pStylesMap);
    }
    {
        DocumentScope document(ar, param.m_pStylesMap);
        if (param.m_bOwnData) {
            ar.WriteObject(param.m_pData);
        }
        if (param.m_bOwnProperties) {
            ar.WriteObject(param.m_pProperties);
        }
    }
    if (param.m_bOwnPrintDevice) {
        ar.WriteObject(param.m_pPrintDevice);
    }
    param.m_selectedRanges.Serialize(ar);
    param.m_coveredRanges.Serialize(ar);
    param.m_rowHeights.Serialize(ar);
    param.m_colWidths.Serialize(ar);
    param.m_abHiddenRows.Serialize(ar);
    param.m_abHiddenCols.Serialize(ar);

    WriteFlag(ar, param.m_bMoveScrollsAtTop);
    WriteFlag(ar, param.m_bHintCurrentCell);
    WriteFlag(ar, param.m_bTransparentBackground);
    ar << param.m_nFrozenColsStart << param.m_nFrozenColsCount << param.m_nFrozenColsOrigin;
    ar << param.m_wCurrentCellSelectFlags;
    WriteFlag(ar, param.m_bDisableZoom);
    ar << param.m_nEnterKeyDirection << static_cast<DWORD>(param.m_nMaxUndoCount);
    for (BOOL flag : {param.m_bSelectCurrentCell, param.m_bSortColsByRowHeader, param.m_bExcelLikeCurrentCell,
                      param.m_bExcelLikeFrame, param.m_bGridLinesAtRightBottom}) {
        WriteFlag(ar, flag);
    }
    ar << param.m_wFloatCellsMode;
    ar.WriteObject(param.m_pFloatCellsDelayedRanges);
    ar.WriteObject(param.m_pFloatCellsSpanPool);
    ar << param.m_wMergeCellsMode;
    ar.WriteObject(param.m_pMergeCellsDelayedRanges);
    ar.WriteObject(param.m_pMergeRowsSpanPool);
    ar.WriteObject(param.m_pMergeColsSpanPool);
    ar << param.m_nGridLineStyle;
    for (BOOL flag : {param.m_bExcelLikeFill, param.m_bDirectCopyPaste, param.m_bDirectCutPaste}) {
        WriteFlag(ar, flag);
    }
    ar << param.m_wDisplayFlags;
}

void CGXGridDocSerializeImp::LoadGridParam(CGXGridParam& param, CArchive& ar) {
    const WORD version = Read<WORD>(ar);
    CheckVersion(version, kParamVersion, false);
    if (param.m_bOwnStylesMap) {
        param.SetStylesMap(nullptr, FALSE);
    }
    if (param.m_bOwnData) {
        param.SetData(nullptr, FALSE);
    }
    if (param.m_bOwnProperties) {
        param.SetProperties(nullptr, FALSE);
    }
    if (param.m_bOwnPrintDevice) {
        param.SetPrintDevice(nullptr, FALSE);
    }

    BOOL flags[18];
    for (BOOL& flag : flags) {
        flag = ReadFlag(ar);
    }
    param.m_bThumbTrack = flags[0];
    param.m_bUndoEnabled = flags[3];
    param.m_bNumberRowHeaders = flags[4];
    param.m_bLetterColHeaders = flags[5];
    param.m_bReadOnly = flags[6];
    param.m_bTabFlag = flags[7];
    param.m_bDragCols = flags[8];
    param.m_bDragRows = flags[9];
    const BOOL ownData = flags[10];
    const BOOL ownPrintDevice = flags[11];
    const BOOL ownProperties = flags[12];
    const BOOL ownStylesMap = flags[13];
    param.m_bCheckActiveView = flags[14];
    param.m_bUsePrinterMetrics = flags[15];
    param.m_bReadOnlyProtectsData = flags[16];
    param.m_bSmartResize = flags[17];

    param.m_wSelectionFlags = Read<WORD>(ar);
    param.m_wRowResizeFlags = Read<WORD>(ar);
    param.m_wColResizeFlags = Read<WORD>(ar);
    param.m_nFrozenRows = Read<DWORD>(ar);
    param.m_nFrozenCols = Read<DWORD>(ar);
    param.m_nDefaultColWidth = static_cast<LONG>(Read<DWORD>(ar));
    param.m_nDefaultRowHeight = static_cast<LONG>(Read<DWORD>(ar));
    param.m_strTabName = ReadString(ar);
    param.m_wActivateCell = Read<WORD>(ar);
    param.m_wCurrentCellDisplay = Read<WORD>(ar);
    param.m_nMinTrackRowHeight = Read<WORD>(ar);
    param.m_nMinTrackColWidth = Read<WORD>(ar);
    param.m_wComposeAllFirst = Read<WORD>(ar);
    param.m_nHeaderRows = Read<DWORD>(ar);
    param.m_nHeaderCols = Read<DWORD>(ar);

    if (ownStylesMap) {
        param.SetStylesMap(ReadStylesMapFromArchive(ar), TRUE);
    }
    {
        DocumentScope document(ar, param.m_pStylesMap);
        if (ownData) {
            param.SetData(static_cast<CGXData*>(ar.ReadObject(RUNTIME_CLASS(CGXData))), TRUE);
        }
        if (ownProperties) {
            param.SetProperties(static_cast<CGXProperties*>(ar.ReadObject(RUNTIME_CLASS(CGXProperties))),
                                TRUE);
        }
    }
    if (ownPrintDevice) {
        param.SetPrintDevice(ReadFeatureObject(ar, "CGXPrintDevice").release(), TRUE);
    }
    param.m_selectedRanges.DeleteAll();
    param.m_selectedRanges.Serialize(ar);
    param.m_coveredRanges.DeleteAll();
    param.m_coveredRanges.Serialize(ar);
    param.RebuildCoveredCellPool();
    param.m_rowHeights.Serialize(ar);
    param.m_colWidths.Serialize(ar);
    param.m_abHiddenRows.Serialize(ar);
    param.m_abHiddenCols.Serialize(ar);

    if (version >= 2) {
        param.m_bMoveScrollsAtTop = ReadFlag(ar);
    }
    if (version >= 3) {
        param.m_bHintCurrentCell = ReadFlag(ar);
        param.m_bTransparentBackground = ReadFlag(ar);
        param.m_nFrozenColsStart = Read<DWORD>(ar);
        param.m_nFrozenColsCount = Read<DWORD>(ar);
        param.m_nFrozenColsOrigin = Read<DWORD>(ar);
    }
    if (version >= 4) {
        param.m_wCurrentCellSelectFlags = Read<WORD>(ar);
    }
    if (version >= 5) {
        param.m_bDisableZoom = ReadFlag(ar);
        param.m_nEnterKeyDirection = Read<WORD>(ar);
        param.m_nMaxUndoCount = static_cast<LONG>(Read<DWORD>(ar));
    }
    if (version >= 6) {
        param.m_bSelectCurrentCell = ReadFlag(ar);
        param.m_bSortColsByRowHeader = ReadFlag(ar);
        param.m_bExcelLikeCurrentCell = ReadFlag(ar);
        param.m_bExcelLikeFrame = ReadFlag(ar);
        param.m_bGridLinesAtRightBottom = ReadFlag(ar);
        param.m_wFloatCellsMode = Read<WORD>(ar);
        ReplaceObject(param.m_pFloatCellsDelayedRanges, ReadFeatureObject(ar, "CGXDelayedRangePool"));
        ReplaceObject(param.m_pFloatCellsSpanPool, ReadFeatureObject(ar, "CGXSpanCellPool"));
        param.m_wMergeCellsMode = Read<WORD>(ar);
        ReplaceObject(param.m_pMergeCellsDelayedRanges, ReadFeatureObject(ar, "CGXDelayedRangePool"));
        ReplaceObject(param.m_pMergeRowsSpanPool, ReadFeatureObject(ar, "CGXSpanCellPool"));
        ReplaceObject(param.m_pMergeColsSpanPool, ReadFeatureObject(ar, "CGXSpanCellPool"));
        param.m_nGridLineStyle = Read<WORD>(ar);
    }
    if (version == 6 && (param.m_pFloatCellsDelayedRanges || param.m_pMergeCellsDelayedRanges)) {
        // Spans of the older form are evaluated afresh.
        GridLibraryState& state = GridLibraryState::Instance();
        if (!state.delayedRangePoolImp || !state.spanCellPoolImp) {
            AfxThrowArchiveException(CArchiveException::genericException);
        }
        if (param.m_pFloatCellsDelayedRanges) {
            state.delayedRangePoolImp->DelayWholeTable(param.m_pFloatCellsDelayedRanges);
            state.spanCellPoolImp->DeleteAll(param.m_pFloatCellsSpanPool);
        }
        if (param.m_pMergeCellsDelayedRanges) {
            state.delayedRangePoolImp->DelayWholeTable(param.m_pMergeCellsDelayedRanges);
            state.spanCellPoolImp->DeleteAll(param.m_pMergeRowsSpanPool);
            state.spanCellPoolImp->DeleteAll(param.m_pMergeColsSpanPool);
        }
    }
    if (version >= 8) {
        param.m_bExcelLikeFill = ReadFlag(ar);
        param.m_bDirectCopyPaste = ReadFlag(ar);
        param.m_bDirectCutPaste = ReadFlag(ar);
    }
    if (version >= 9) {
        param.m_wDisplayFlags = Read<WORD>(ar);
    }
}

void InstallGridDocSerialize() {
    InstallStyleSerialize();
    InstallAppFeature<CGXGridDocSerializeImp>(GridLibraryState::Instance().docSerializeImp);
}
