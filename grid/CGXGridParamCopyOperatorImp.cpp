#include "grid/CGXGridParamCopyOperatorImp.h"

#include "grid/CGXData.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"
#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"

namespace {

// A copy of a serialisable object through the archive form: the print device belongs to a feature above the
// grid, which knows its class. Null when the object cannot be archived.
CObject* CloneThroughArchive(const CObject* source) {
    if (!source || !source->GetRuntimeClass()->m_pfnCreateObject) {
        return nullptr;
    }
    try {
        CMemFile file;
        {
            CArchive store(&file, CArchive::store);
            store.WriteObject(const_cast<CObject*>(source));
            store.Close();
        }
        file.SeekToBegin();
        CArchive load(&file, CArchive::load);
        return load.ReadObject(nullptr);
    } catch (CException* e) {
        e->Delete();
        return nullptr;
    }
}

// The destination's object goes when it owns it, or when it holds it for a borrowed-flag copy.
template <class T>
void DropObject(CGXGridParam& dest, T*& object, BOOL own) {
    void* held = nullptr;
    if (object && !own && dest.m_objectMap.Lookup(object, held)) {
        dest.m_objectMap.RemoveKey(object);
        delete object;
    } else if (own) {
        delete object;
    }
    object = nullptr;
}

// A copy's object whose flag says "borrowed" is held in the object map, which frees it with the parameter.
void HoldUnlessOwned(CGXGridParam& dest, CObject* object, BOOL own) {
    if (object && !own) {
        dest.m_objectMap.SetAt(object, object);
    }
}

void ReplacePool(CObject*& dest, const CObject* source, CGXFeatureObject* poolsFeature,
                 CObject* (*clone)(CGXFeatureObject*, const CObject*)) {
    delete dest;
    dest = source && poolsFeature ? clone(poolsFeature, source) : nullptr;
}

CObject* CloneSpanPool(CGXFeatureObject* pools, const CObject* source) {
    return static_cast<CGXAbstractSpanCellPoolImp*>(pools)->ClonePool(source);
}

CObject* CloneDelayedPool(CGXFeatureObject* pools, const CObject* source) {
    return static_cast<CGXAbstractDelayedRangePoolImp*>(pools)->ClonePool(source);
}

void CopyLeadingScalars(CGXGridParam& d, const CGXGridParam& s) {
    d.m_bThumbTrack = s.m_bThumbTrack;
    d.m_bTabFlag = s.m_bTabFlag;
    d.m_bReadOnly = s.m_bReadOnly;
    d.m_bUndoEnabled = s.m_bUndoEnabled;
    d.m_bNumberRowHeaders = s.m_bNumberRowHeaders;
    d.m_bLetterColHeaders = s.m_bLetterColHeaders;
    d.m_bDragCols = s.m_bDragCols;
    d.m_bDragRows = s.m_bDragRows;
    d.m_bOwnData = s.m_bOwnData;
    d.m_bOwnPrintDevice = s.m_bOwnPrintDevice;
    d.m_bOwnProperties = s.m_bOwnProperties;
    d.m_bOwnStylesMap = s.m_bOwnStylesMap;
    d.m_bCheckActiveView = s.m_bCheckActiveView;
    d.m_bUsePrinterMetrics = s.m_bUsePrinterMetrics;
    d.m_bReadOnlyProtectsData = s.m_bReadOnlyProtectsData;
    d.m_bSmartResize = s.m_bSmartResize;
    d.m_wSelectionFlags = s.m_wSelectionFlags;
    d.m_wRowResizeFlags = s.m_wRowResizeFlags;
    d.m_wColResizeFlags = s.m_wColResizeFlags;
    d.m_nFrozenRows = s.m_nFrozenRows;
    d.m_nFrozenCols = s.m_nFrozenCols;
    d.m_nDefaultColWidth = s.m_nDefaultColWidth;
    d.m_nDefaultRowHeight = s.m_nDefaultRowHeight;
    d.m_strTabName = s.m_strTabName;
    d.m_wActivateCell = s.m_wActivateCell;
    d.m_wCurrentCellDisplay = s.m_wCurrentCellDisplay;
    d.m_nMinTrackRowHeight = s.m_nMinTrackRowHeight;
    d.m_nMinTrackColWidth = s.m_nMinTrackColWidth;
    d.m_wComposeAllFirst = s.m_wComposeAllFirst;
    d.m_nHeaderRows = s.m_nHeaderRows;
    d.m_nHeaderCols = s.m_nHeaderCols;
}

void CopyLaterScalars(CGXGridParam& d, const CGXGridParam& s) {
    d.m_bMoveScrollsAtTop = s.m_bMoveScrollsAtTop;
    d.m_nFrozenColsStart = s.m_nFrozenColsStart;
    d.m_nFrozenColsCount = s.m_nFrozenColsCount;
    d.m_nFrozenColsOrigin = s.m_nFrozenColsOrigin;
    d.m_wCurrentCellSelectFlags = s.m_wCurrentCellSelectFlags;
    d.m_bDisableZoom = s.m_bDisableZoom;
    d.m_nEnterKeyDirection = s.m_nEnterKeyDirection;
    d.m_nMaxUndoCount = s.m_nMaxUndoCount;
    d.m_bSelectCurrentCell = s.m_bSelectCurrentCell;
    d.m_bSortColsByRowHeader = s.m_bSortColsByRowHeader;
    d.m_bExcelLikeCurrentCell = s.m_bExcelLikeCurrentCell;
    d.m_bExcelLikeFrame = s.m_bExcelLikeFrame;
    d.m_bGridLinesAtRightBottom = s.m_bGridLinesAtRightBottom;
    d.m_wFloatCellsMode = s.m_wFloatCellsMode;
}

} // namespace

void CGXGridParamCopyOperatorImp::CopyGridParam(CGXGridParam& dest, const CGXGridParam& source) {
    if (&dest == &source) {
        return;
    }
    DropObject(dest, dest.m_pStylesMap, dest.m_bOwnStylesMap);
    DropObject(dest, dest.m_pData, dest.m_bOwnData);
    DropObject(dest, dest.m_pProperties, dest.m_bOwnProperties);
    DropObject(dest, dest.m_pPrintDevice, dest.m_bOwnPrintDevice);

    CopyLeadingScalars(dest, source);

    if (source.m_pStylesMap) {
        dest.m_pStylesMap = new CGXStylesMap(source.m_pStylesMap->styleClass);
        CopyStylesMap(*dest.m_pStylesMap, *source.m_pStylesMap);
        HoldUnlessOwned(dest, dest.m_pStylesMap, dest.m_bOwnStylesMap);
    }
    if (source.m_pData) {
        dest.m_pData = new CGXData;
        *dest.m_pData = *source.m_pData;
        dest.m_pData->InitParam(&dest);
        HoldUnlessOwned(dest, dest.m_pData, dest.m_bOwnData);
    }
    if (source.m_pProperties) {
        dest.m_pProperties = new CGXProperties;
        CopyProperties(*dest.m_pProperties, *source.m_pProperties);
        HoldUnlessOwned(dest, dest.m_pProperties, dest.m_bOwnProperties);
    }
    if (source.m_pPrintDevice) {
        dest.m_pPrintDevice = CloneThroughArchive(source.m_pPrintDevice);
        HoldUnlessOwned(dest, dest.m_pPrintDevice, dest.m_bOwnPrintDevice);
    }

    dest.m_selectedRanges.Assign(source.m_selectedRanges);
    dest.m_coveredRanges.Assign(source.m_coveredRanges);
    dest.CreateCoveredCellPool();
    dest.RebuildCoveredCellPool();
    dest.m_rowHeights.Assign(source.m_rowHeights);
    dest.m_colWidths.Assign(source.m_colWidths);
    dest.m_abHiddenRows.Copy(source.m_abHiddenRows);
    dest.m_abHiddenCols.Copy(source.m_abHiddenCols);

    CopyLaterScalars(dest, source);

    GridLibraryState& state = GridLibraryState::Instance();
    ReplacePool(dest.m_pFloatCellsDelayedRanges, source.m_pFloatCellsDelayedRanges, state.delayedRangePoolImp,
                CloneDelayedPool);
    ReplacePool(dest.m_pPrintFloatCellsDelayedRanges, source.m_pPrintFloatCellsDelayedRanges,
                state.delayedRangePoolImp, CloneDelayedPool);
    ReplacePool(dest.m_pMergeCellsDelayedRanges, source.m_pMergeCellsDelayedRanges, state.delayedRangePoolImp,
                CloneDelayedPool);
    ReplacePool(dest.m_pFloatCellsSpanPool, source.m_pFloatCellsSpanPool, state.spanCellPoolImp, CloneSpanPool);
    ReplacePool(dest.m_pPrintFloatCellsSpanPool, source.m_pPrintFloatCellsSpanPool, state.spanCellPoolImp,
                CloneSpanPool);
    ReplacePool(dest.m_pMergeRowsSpanPool, source.m_pMergeRowsSpanPool, state.spanCellPoolImp, CloneSpanPool);
    ReplacePool(dest.m_pMergeColsSpanPool, source.m_pMergeColsSpanPool, state.spanCellPoolImp, CloneSpanPool);
    dest.m_wMergeCellsMode = source.m_wMergeCellsMode;

    dest.m_nGridLineStyle = source.m_nGridLineStyle;
    dest.m_bExcelLikeFill = source.m_bExcelLikeFill;
    dest.m_bDirectCopyPaste = source.m_bDirectCopyPaste;
    dest.m_bDirectCutPaste = source.m_bDirectCutPaste;
}

void CGXGridParamCopyOperatorImp::CopyStylesMap(CGXStylesMap& dest, const CGXStylesMap& source) {
    if (&dest == &source) {
        return;
    }
    dest.DeleteAll();
    dest.styleClass = source.styleClass;
    // Copies of the records clone their styles.
    dest.baseStyles = std::map<WORD, CGXBaseStyleInfo>(source.baseStyles);
    dest.idByName = source.idByName;
    dest.idByResource = source.idByResource;
    dest.nextStyleId = source.nextStyleId;
    dest.controlNames = source.controlNames;
    dest.userAttributes = std::map<WORD, CGXUserAttributeInfo>(source.userAttributes);
    dest.profileSection = source.profileSection;
    dest.standardStyleId = dest.GetBaseStyleIdByResource(IDS_GRID_STYLE_STANDARD);
    dest.columnHeaderStyleId = dest.GetBaseStyleIdByResource(IDS_GRID_STYLE_COLUMN_HEADER);
    dest.rowHeaderStyleId = dest.GetBaseStyleIdByResource(IDS_GRID_STYLE_ROW_HEADER);
}

void CGXGridParamCopyOperatorImp::CopyProperties(CGXProperties& dest, const CGXProperties& source) {
    if (&dest == &source) {
        return;
    }
    dest.FreeColorsAndUserProperties();
    dest.verticalLines = source.verticalLines;
    dest.horizontalLines = source.horizontalLines;
    dest.threeDHeader = source.threeDHeader;
    dest.markRowHeader = source.markRowHeader;
    dest.markColumnHeader = source.markColumnHeader;
    dest.printing = source.printing;
    dest.profileSection = source.profileSection;
    dest.percentSetting = source.percentSetting;
    dest.colorNames.Copy(source.colorNames);
    dest.colors.Copy(source.colors);
    for (const auto& [id, entry] : source.GetUserProperties()) {
        GXUserPropertyEntry& copy = dest.GetUserProperties()[id];
        copy.id = entry.id;
        copy.name = entry.name;
        copy.style.reset(entry.style ? entry.style->Clone() : nullptr);
    }
    dest.pageOrder = source.pageOrder;
    dest.printVerticalLines = source.printVerticalLines;
    dest.printHorizontalLines = source.printHorizontalLines;
    dest.printBlackAndWhite = source.printBlackAndWhite;
    dest.printRowHeaders = source.printRowHeaders;
    dest.printColumnHeaders = source.printColumnHeaders;
    dest.centerVertical = source.centerVertical;
    dest.centerHorizontal = source.centerHorizontal;
    dest.printFrame = source.printFrame;
    for (int i = 0; i < 4; ++i) {
        dest.margins[i] = source.margins[i];
    }
    dest.headerDistance = source.headerDistance;
    dest.footerDistance = source.footerDistance;
    dest.startPageNumber = source.startPageNumber;
    dest.footerCells = source.footerCells;
    dest.headerCells = source.headerCells;
}

void InstallGridParamCopyOperator() {
    InstallAppFeature<CGXGridParamCopyOperatorImp>(GridLibraryState::Instance().paramCopyOperatorImp);
}
