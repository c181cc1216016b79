// The engine's set-up and tear-down, the parameter object, the control registry, read-only and the feature
// forwarders.
#include "grid/CGXGridCore.h"

#include "grid/CGXControl.h"
#include "grid/CGXData.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXPluginComponent.h"
#include "grid/CGXProperties.h"
#include "grid/CGXRangeList.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridLibraryState.h"
#include "platform/base/Exceptions.h"
#include "platform/display/InputApi.h"
#include "platform/display/SystemMetrics.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/FrameworkResources.h"

namespace {

// The feature in the entry as its interface, or null.
template <class Interface>
Interface* FeatureAs(CGXFeatureObject* const* table, int entry) {
    return static_cast<Interface*>(table[entry]);
}

} // namespace

CGXGridCore::CGXGridCore(CWnd* gridWnd, CDocument* document, DWORD reserved)
    : m_pAppState(&GridLibraryState::Instance()), m_pGridWnd(gridWnd), m_pDocument(document),
      m_dwReserved(reserved), m_pDataClass(RUNTIME_CLASS(CGXData)) {
    m_cxFrame = ::GetSystemMetrics(SM_CXFRAME);
    m_cyFrame = ::GetSystemMetrics(SM_CYFRAME);
    m_cxBorder = ::GetSystemMetrics(SM_CXBORDER);
    m_cyBorder = ::GetSystemMetrics(SM_CYBORDER);
    m_hArrowCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    // A factory set later does not reach grids that already exist.
    if (m_pAppState->factory && !m_bInitDone) {
        m_pAppState->factory->InstallGridFeatures(this);
    }
}

CGXGridCore::~CGXGridCore() {
    m_pCellTip.reset(); // its tip windows go before the controls it asked
    for (CGXPluginComponent* plugin : m_pluginList) {
        delete plugin;
    }
    m_pluginList.clear();
    for (auto& [id, control] : m_controlMap) {
        delete control;
    }
    m_controlMap.clear();
    m_nDrawingDepth = 0;
    FreeObjectCache();
    for (CGXStyle* style : m_styleFreeList) {
        delete style;
    }
    m_styleFreeList.clear();
    if (m_bOwnParam) {
        delete m_pParam;
    }
    m_pParam = nullptr;
    m_pLastControl = nullptr;
    m_pDefaultControl = nullptr;
    m_pCurrentCellControl = nullptr;
    // Feature objects have virtual destructors: whatever they own goes with them.
    m_autoDeleteList.clear();
    m_pAppState->UnregisterGrid(this);
}

void CGXGridCore::InitializeGrid() {
    WNDCLASSW wc{};
    if (!::GetClassInfoW(AfxGetInstanceHandle(), u"GXWND", &wc)) {
        AfxThrowNotSupportedException(); // the library was not initialised
    }
    m_pAppState->ignoreFocusChange = FALSE;
    for (CGXPluginComponent* plugin : m_pluginList) {
        plugin->PlugIn(m_pGridWnd);
    }
    if (!m_pStyleClass) {
        m_pStyleClass = RUNTIME_CLASS(CGXStyle);
    }
    if (!m_pParam) {
        SetParam(new CGXGridParam, TRUE);
    }
    m_pAppState->RegisterGridUser(m_pParam, this);
    FreeObjectCache();

    if (!m_pParam->GetProperties()) {
        auto* properties = new CGXProperties;
        properties->AddDefaultUserProperties();
        if (m_pAppState->readProfile) {
            properties->ReadProfile();
        }
        m_pParam->SetProperties(properties, TRUE);
    }
    m_pAppState->RegisterGridUser(m_pParam->GetProperties(), this);

    if (!m_pParam->GetStylesMap()) {
        auto* stylesMap = new CGXStylesMap(m_pStyleClass);
        stylesMap->CreateStandardStyles();
        if (m_pAppState->readProfile) {
            stylesMap->ReadProfile();
        }
        m_pParam->SetStylesMap(stylesMap, TRUE);
    }
    m_pAppState->RegisterGridUser(m_pParam->GetStylesMap(), this);

    const CGXStylesMap& stylesMap = *m_pParam->GetStylesMap();
    stylesMap.LookupBaseStyle(stylesMap.standardStyleId, m_pStandardStyle);
    stylesMap.LookupBaseStyle(stylesMap.columnHeaderStyleId, m_pColHeaderStyle);
    stylesMap.LookupBaseStyle(stylesMap.rowHeaderStyleId, m_pRowHeaderStyle);

    if (m_pAppState->factory && m_pStandardStyle) {
        if (CGXControl* control = m_pAppState->factory->CreateControl(m_pStandardStyle->GetControlId(), this)) {
            RegisterControl(m_pStandardStyle->GetControlId(), control, TRUE, FALSE);
        }
    }

    if (!m_pParam->GetData()) {
        auto* data = static_cast<CGXData*>(m_pDataClass->CreateObject());
        m_pParam->SetData(data, TRUE);
        data->InitParam(m_pParam);
    }
    m_pAppState->RegisterGridUser(m_pParam->GetData(), this);

    m_pParam->m_bInUse = TRUE;
    m_nZoom = static_cast<int>(m_pParam->GetProperties()->percentSetting);
    UpdateFontMetrics();
    m_bInitDone = TRUE;

    m_nTopRow = std::max(m_nTopRow, GetFrozenRows() + 1);
    m_nLeftCol = std::max(m_nLeftCol, GetFrozenCols() + 1);

    const ROWCOL savedRow = m_pParam->m_nSavedCurrentRow;
    const ROWCOL savedCol = m_pParam->m_nSavedCurrentCol;
    if (savedRow <= GetRowCount() && savedCol <= GetColCount() && savedRow > 0 && savedCol > 0) {
        m_nCurrentRow = savedRow;
        m_nCurrentCol = savedCol;
        m_bCurrentCellValid = TRUE;
    }
    m_nScrollWord = 0;
    m_pCurrentCellControl = nullptr;
    UpdateFontMetrics();
    UpdateScrollbars(TRUE, FALSE);
}

void CGXGridCore::SetParam(CGXGridParam* param, BOOL own) {
    if (!param) {
        param = new (std::nothrow) CGXGridParam;
        if (!param) {
            AfxThrowMemoryException();
        }
    }
    if (m_bOwnParam && m_pParam && m_pParam != param) {
        delete m_pParam;
    }
    m_pParam = param;
    m_bOwnParam = own;
}

void CGXGridCore::GetGridRect(RECT& rect) const {
    if (m_bPrinting) {
        rect = m_rectPrint;
    } else if (m_bRectGridSet) {
        rect = m_rectGrid;
    } else if (m_pGridWnd && m_pGridWnd->GetSafeHwnd()) {
        m_pGridWnd->GetClientRect(&rect);
    } else {
        rect = RECT{};
    }
    if (rect.right < rect.left || rect.bottom < rect.top) {
        rect = RECT{};
    }
}

void CGXGridCore::SetGridRect(BOOL set, const RECT* rect) {
    m_bRectGridSet = set;
    if (set && rect) {
        m_rectGrid = *rect;
    }
}

void CGXGridCore::SetPrintingMode(BOOL printing, BOOL takeMetrics) {
    if (printing && m_bCurrentCellValid && m_pCurrentCellControl && m_pCurrentCellControl->IsActive()) {
        TransferCurrentCell(TRUE, 2, TRUE);
        m_pCurrentCellControl->SetActive(FALSE);
    }
    m_bPrinting = printing;
    if (printing && takeMetrics) {
        if (m_pGridWnd && m_pGridWnd->GetSafeHwnd()) {
            m_pGridWnd->GetClientRect(&m_rectPrint);
        }
        CalcFontMetrics(m_nPrintCharWidth, m_nPrintLineHeight);
        m_nPrintTopRow = GetFrozenRows() + 1;
        m_nPrintLeftCol = GetFrozenCols() + 1;
    }
    if (m_pParam && m_pParam->GetProperties()) {
        m_pParam->GetProperties()->printing = m_bPrinting;
    }
}

void CGXGridCore::SetDocumentModified(BOOL modified) {
    if (m_bUpdateViews && m_pDocument) {
        m_pDocument->SetModifiedFlag(modified);
    }
}

void CGXGridCore::AddToAutoDeleteList(CGXFeatureObject* object) {
    m_autoDeleteList.emplace_front(object);
}

// ---- Controls

void CGXGridCore::RegisterControl(WORD id, CGXControl* control, BOOL isDefault, BOOL registerName) {
    auto found = m_controlMap.find(id);
    if (found != m_controlMap.end()) {
        CGXControl* old = found->second;
        if (old == m_pLastControl) {
            m_pLastControl = nullptr;
            m_nLastControlId = 0;
        }
        if (old == m_pDefaultControl) {
            m_pDefaultControl = control; // replaced as default under its id
        }
        if (old == m_pCurrentCellControl) {
            m_pCurrentCellControl = nullptr;
        }
        if (old != control) {
            delete old;
        }
    }
    m_controlMap[id] = control;
    if (registerName && m_pParam && m_pParam->GetStylesMap()) {
        m_pParam->GetStylesMap()->RegisterControl(id);
    }
    if (isDefault || !m_pDefaultControl) {
        m_pDefaultControl = control;
    }
}

CGXControl* CGXGridCore::GetRegisteredControl(WORD id) {
    if (id == 0) {
        return m_pDefaultControl;
    }
    if (m_pLastControl && id == m_nLastControlId) {
        return m_pLastControl;
    }
    CGXControl* control = nullptr;
    auto found = m_controlMap.find(id);
    if (found != m_controlMap.end()) {
        control = found->second;
    } else if (m_pAppState->factory) {
        control = m_pAppState->factory->CreateControl(id, this);
        if (control) {
            RegisterControl(id, control, FALSE, FALSE);
        }
    }
    if (!control) {
        return m_pDefaultControl;
    }
    m_pLastControl = control;
    m_nLastControlId = id;
    return control;
}

const CGXStyle& CGXGridCore::GetStandardStyle() {
    if (!m_pStandardStyle) {
        if (!m_pParam || !m_pParam->GetStylesMap()) {
            AfxThrowNotSupportedException();
        }
        const CGXStylesMap& map = *m_pParam->GetStylesMap();
        if (!map.LookupBaseStyle(map.standardStyleId, m_pStandardStyle) || !m_pStandardStyle) {
            AfxThrowNotSupportedException();
        }
    }
    return *m_pStandardStyle;
}

const CGXStyle& CGXGridCore::GetBaseStyle(WORD id) const {
    const CGXStyle* style = nullptr;
    if (!m_pParam || !m_pParam->GetStylesMap() || !m_pParam->GetStylesMap()->LookupBaseStyle(id, style) ||
        !style) {
        AfxThrowNotSupportedException();
    }
    return *style;
}

// ---- Read-only

BOOL CGXGridCore::SetReadOnly(BOOL readOnly) {
    const BOOL old = IsReadOnly();
    if (StoreReadOnly(readOnly)) {
        UpdateReadOnly(old, TRUE);
        return TRUE;
    }
    return FALSE;
}

BOOL CGXGridCore::IsReadOnly() {
    return m_pParam && m_pParam->m_bReadOnly;
}

BOOL CGXGridCore::StoreReadOnly(BOOL readOnly) {
    if (!m_pParam) {
        return FALSE;
    }
    m_pParam->m_bReadOnly = readOnly;
    return TRUE;
}

void CGXGridCore::UpdateReadOnly(BOOL oldReadOnly, BOOL hint) {
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (GetCurrentCell(row, col) && m_pCurrentCellControl && m_pCurrentCellControl->IsActive()) {
        m_pCurrentCellControl->ResetCell();
        m_pCurrentCellControl->InitCell(row, col);
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintUpdateReadOnly(this, oldReadOnly);
    }
}

CGXAbstractGridUpdateHintImp* CGXGridCore::HintSender(BOOL hint) {
    return hint && m_bUpdateViews ? FeatureAs<CGXAbstractGridUpdateHintImp>(m_features, kFeatureUpdateHint)
                                  : nullptr;
}

void CGXGridCore::UpdateAllViews(CView* sender, LPARAM hintCode, CObject* hint) {
    if (m_bUpdateViews && m_pDocument) {
        m_pDocument->UpdateAllViews(sender, hintCode, hint);
    }
}

void CGXGridCore::ProcessUpdateHint(CObject* hint) {
    if (auto* hints = FeatureAs<CGXAbstractGridUpdateHintImp>(m_features, kFeatureUpdateHint)) {
        hints->OnHint(this, hint);
    }
}

BOOL CGXGridCore::ScrollCellsWithHint(int direction, ROWCOL count) {
    if (!ScrollCells(direction, count, 1)) {
        return FALSE;
    }
    if (auto* hints = HintSender(TRUE)) {
        hints->HintScroll(this, direction, count);
    }
    return TRUE;
}

BOOL CGXGridCore::IsStoreRefused() {
    return m_pParam && m_pParam->m_bReadOnlyProtectsData && IsReadOnly();
}

// ---- Feature forwarders: an empty entry answers 0.

BOOL CGXGridCore::SetCoveredCellsRowCol(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, UINT flags,
                                        int ctCmd) {
    auto* f = FeatureAs<CGXAbstractGridCoveredCellsImp>(m_features, kFeatureCoveredCells);
    return f ? f->SetCoveredCellsRowCol(this, top, left, bottom, right, flags, ctCmd) : FALSE;
}

CGXRange* CGXGridCore::GetCoveredCellsRowCol(ROWCOL row, ROWCOL col, CGXRange& range) {
    auto* f = FeatureAs<CGXAbstractGridCoveredCellsImp>(m_features, kFeatureCoveredCells);
    return f ? f->GetCoveredCellsRowCol(this, row, col, range) : nullptr;
}

BOOL CGXGridCore::StoreCoveredCellsRowCol(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, BOOL set) {
    auto* f = FeatureAs<CGXAbstractGridCoveredCellsImp>(m_features, kFeatureCoveredCells);
    return f ? f->StoreCoveredCellsRowCol(this, top, left, bottom, right, set) : FALSE;
}

void CGXGridCore::UpdateCoveredCellsRowCol(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, UINT flags,
                                           BOOL hint) {
    if (auto* f = FeatureAs<CGXAbstractGridCoveredCellsImp>(m_features, kFeatureCoveredCells)) {
        f->UpdateCoveredCellsRowCol(this, top, left, bottom, right, flags, hint);
    }
}

BOOL CGXGridCore::ExpandRangeByCoveredCells(CGXRange& range) {
    auto* f = FeatureAs<CGXAbstractGridCoveredCellsImp>(m_features, kFeatureCoveredCells);
    return f ? f->ExpandRangeByCoveredCells(this, range) : FALSE;
}

CGXRange* CGXGridCore::GetSpannedRangeRowCol(ROWCOL row, ROWCOL col, CGXRange& range) {
    if (GetCoveredCellsRowCol(row, col, range) || GetMergedCellsRowCol(row, col, range, 0) ||
        GetMergedCellsRowCol(row, col, range, 1) || GetFloatedCellsRowCol(row, col, range)) {
        return &range;
    }
    return nullptr;
}

BOOL CGXGridCore::GetMergedCellsRowCol(ROWCOL row, ROWCOL col, CGXRange& range, int kind) {
    auto* f = FeatureAs<CGXAbstractGridMergeCellsImp>(m_features, kFeatureMergeCells);
    return f ? f->GetMergedCellsRowCol(this, row, col, range, kind) : FALSE;
}

BOOL CGXGridCore::GetFloatedCellsRowCol(ROWCOL row, ROWCOL col, CGXRange& range) {
    auto* f = FeatureAs<CGXAbstractGridFloatCellsImp>(m_features, kFeatureFloatCells);
    return f ? f->GetFloatedCellsRowCol(this, row, col, range) : FALSE;
}

void CGXGridCore::DelayMergeCells(const CGXRange& range) {
    if (auto* f = FeatureAs<CGXAbstractGridMergeCellsImp>(m_features, kFeatureMergeCells)) {
        f->DelayMergeCells(this, range);
    }
}

void CGXGridCore::DelayFloatCells(const CGXRange& range) {
    if (auto* f = FeatureAs<CGXAbstractGridFloatCellsImp>(m_features, kFeatureFloatCells)) {
        f->DelayFloatCells(this, range);
    }
}

BOOL CGXGridCore::EvalMergeCells(const CGXRange& range, BOOL update, CGXRange* grown, UINT flags) {
    auto* f = FeatureAs<CGXAbstractGridMergeCellsImp>(m_features, kFeatureMergeCells);
    return f ? f->EvalMergeCells(this, range, update, grown, flags) : FALSE;
}

BOOL CGXGridCore::EvalFloatCells(const CGXRange& range, BOOL update, CGXRange* grown, UINT flags) {
    auto* f = FeatureAs<CGXAbstractGridFloatCellsImp>(m_features, kFeatureFloatCells);
    return f ? f->EvalFloatCells(this, range, update, grown, flags) : FALSE;
}

BOOL CGXGridCore::HideRows(ROWCOL from, ROWCOL to, BOOL hide, BOOL* hideArray, UINT flags, int ctCmd) {
    auto* f = FeatureAs<CGXAbstractGridHideCellsImp>(m_features, kFeatureHideCells);
    return f ? f->HideRows(this, from, to, hide, hideArray, flags, ctCmd) : FALSE;
}

BOOL CGXGridCore::HideCols(ROWCOL from, ROWCOL to, BOOL hide, BOOL* hideArray, UINT flags, int ctCmd) {
    auto* f = FeatureAs<CGXAbstractGridHideCellsImp>(m_features, kFeatureHideCells);
    return f ? f->HideCols(this, from, to, hide, hideArray, flags, ctCmd) : FALSE;
}

BOOL CGXGridCore::IsRowHidden(ROWCOL row) {
    auto* f = FeatureAs<CGXAbstractGridHideCellsImp>(m_features, kFeatureHideCells);
    return f ? f->IsRowHidden(this, row) : FALSE;
}

BOOL CGXGridCore::IsColHidden(ROWCOL col) {
    auto* f = FeatureAs<CGXAbstractGridHideCellsImp>(m_features, kFeatureHideCells);
    return f ? f->IsColHidden(this, col) : FALSE;
}

BOOL CGXGridCore::StoreHideRow(ROWCOL row, BOOL hide) {
    auto* f = FeatureAs<CGXAbstractGridHideCellsImp>(m_features, kFeatureHideCells);
    return f ? f->StoreHideRow(this, row, hide) : FALSE;
}

BOOL CGXGridCore::StoreHideCol(ROWCOL col, BOOL hide) {
    auto* f = FeatureAs<CGXAbstractGridHideCellsImp>(m_features, kFeatureHideCells);
    return f ? f->StoreHideCol(this, col, hide) : FALSE;
}

BOOL CGXGridCore::Undo() {
    auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo);
    return f ? f->Undo(this) : FALSE;
}

BOOL CGXGridCore::Redo() {
    auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo);
    return f ? f->Redo(this) : FALSE;
}

void CGXGridCore::BeginTrans(LPCTSTR name) {
    if (auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo)) {
        f->BeginTrans(this, name);
    }
}

void CGXGridCore::CommitTrans() {
    if (auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo)) {
        f->CommitTrans(this);
    }
}

void CGXGridCore::Rollback() {
    if (auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo)) {
        f->Rollback(this);
    }
}

void CGXGridCore::AddCommand(CObject* command, int ctCmd) {
    if (auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo)) {
        f->AddCommand(this, command, ctCmd);
    }
}

void CGXGridCore::RemoveCommand(int ctCmd) {
    if (auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo)) {
        f->RemoveCommand(this, ctCmd);
    }
}

BOOL CGXGridCore::ExecuteCommand(CObject* command, int ctCmd) {
    auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo);
    return f ? f->ExecuteCommand(command, this, ctCmd) : FALSE;
}

void CGXGridCore::SetAdvancedUndoCell(ROWCOL row, ROWCOL col, BOOL setCurrent) {
    if (auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo)) {
        f->SetAdvancedUndoCell(this, row, col, setCurrent);
    }
}

BOOL CGXGridCore::SetDataUndoMode(BOOL on) {
    auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo);
    return f ? f->SetDataUndoMode(this, on) : FALSE;
}

CObject* CGXGridCore::GetDataUndoInfo() {
    auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo);
    return f ? f->GetDataUndoInfo(this) : nullptr;
}

BOOL CGXGridCore::ApplyDataUndoInfo(CObject* info, BOOL flag, int extra) {
    auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo);
    return f ? f->ApplyDataUndoInfo(this, info, flag, extra) : FALSE;
}

void CGXGridCore::DiscardDataUndoInfo() {
    if (auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo)) {
        f->DiscardDataUndoInfo(this);
    }
}

CGXAbstractCommandFactory* CGXGridCore::RecordingFactory(int ctCmd) {
    if (ctCmd == kCmdRollback || !m_pParam || !m_pParam->m_bUndoEnabled) {
        return nullptr;
    }
    return FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo);
}

void CGXGridCore::RecordCommand(CObject* command, int ctCmd) {
    if (command) {
        AddCommand(command, ctCmd);
    }
}

void CGXGridCore::OnUpdateEditUndo(CCmdUI* cmdUI) {
    if (auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo)) {
        f->OnUpdateEditUndo(this, cmdUI);
    } else if (cmdUI) {
        cmdUI->Enable(FALSE);
    }
}

void CGXGridCore::OnUpdateEditRedo(CCmdUI* cmdUI) {
    if (auto* f = FeatureAs<CGXAbstractCommandFactory>(m_features, kFeatureUndoRedo)) {
        f->OnUpdateEditRedo(this, cmdUI);
    } else if (cmdUI) {
        cmdUI->Enable(FALSE);
    }
}

BOOL CGXGridCore::CanCopy() {
    auto* f = FeatureAs<CGXAbstractGridCutPasteImp>(m_features, kFeatureCutPaste);
    return f ? f->CanCopy(this) : FALSE;
}

BOOL CGXGridCore::Copy() {
    auto* f = FeatureAs<CGXAbstractGridCutPasteImp>(m_features, kFeatureCutPaste);
    return f ? f->Copy(this) : FALSE;
}

BOOL CGXGridCore::CopyCells(const CGXRangeList& ranges, BOOL styleOnly) {
    auto* f = FeatureAs<CGXAbstractGridCutPasteImp>(m_features, kFeatureCutPaste);
    return f ? f->CopyCells(this, ranges, styleOnly) : FALSE;
}

BOOL CGXGridCore::CanCut() {
    auto* f = FeatureAs<CGXAbstractGridCutPasteImp>(m_features, kFeatureCutPaste);
    return f ? f->CanCut(this) : FALSE;
}

BOOL CGXGridCore::Cut() {
    auto* f = FeatureAs<CGXAbstractGridCutPasteImp>(m_features, kFeatureCutPaste);
    return f ? f->Cut(this) : FALSE;
}

BOOL CGXGridCore::CutCells(const CGXRangeList& ranges, BOOL styleOnly) {
    auto* f = FeatureAs<CGXAbstractGridCutPasteImp>(m_features, kFeatureCutPaste);
    return f ? f->CutCells(this, ranges, styleOnly) : FALSE;
}

BOOL CGXGridCore::CanPaste() {
    auto* f = FeatureAs<CGXAbstractGridCutPasteImp>(m_features, kFeatureCutPaste);
    return f ? f->CanPaste(this) : FALSE;
}

BOOL CGXGridCore::Paste() {
    auto* f = FeatureAs<CGXAbstractGridCutPasteImp>(m_features, kFeatureCutPaste);
    return f ? f->Paste(this) : FALSE;
}

BOOL CGXGridCore::CanClear() {
    auto* f = FeatureAs<CGXAbstractGridClearCellsImp>(m_features, kFeatureClearCells);
    return f ? f->CanClear(this) : FALSE;
}

BOOL CGXGridCore::Clear(BOOL styleOnly) {
    auto* f = FeatureAs<CGXAbstractGridClearCellsImp>(m_features, kFeatureClearCells);
    return f ? f->Clear(this, styleOnly) : FALSE;
}

BOOL CGXGridCore::ClearCells(const CGXRangeList& ranges, BOOL styleOnly) {
    auto* f = FeatureAs<CGXAbstractGridClearCellsImp>(m_features, kFeatureClearCells);
    return f ? f->ClearCells(this, ranges, styleOnly) : FALSE;
}

CString CGXGridCore::GetCopyTextRowCol(ROWCOL row, ROWCOL col) {
    auto* f = FeatureAs<CGXAbstractGridTextDataExchangeImp>(m_features, kFeatureTextDataExchange);
    return f ? f->GetCopyTextRowCol(this, row, col) : CString();
}

BOOL CGXGridCore::MoveRows(ROWCOL, ROWCOL, ROWCOL, UINT, int) {
    return FALSE; // the move feature is not part of this engine: nothing moves
}

BOOL CGXGridCore::MoveCols(ROWCOL, ROWCOL, ROWCOL, UINT, int) {
    return FALSE;
}

void CGXGridCore::BeginTrackSize(POINT point, int hitCode) {
    if (auto* f = FeatureAs<CGXAbstractGridUserResizeCellsImp>(m_features, kFeatureUserResizeCells)) {
        f->BeginTrackSize(this, point, hitCode);
    }
}

void CGXGridCore::TrackSize(POINT point) {
    if (auto* f = FeatureAs<CGXAbstractGridUserResizeCellsImp>(m_features, kFeatureUserResizeCells)) {
        f->TrackSize(this, point);
    }
}

void CGXGridCore::EndTrackSize(POINT point) {
    if (auto* f = FeatureAs<CGXAbstractGridUserResizeCellsImp>(m_features, kFeatureUserResizeCells)) {
        f->EndTrackSize(this, point);
    }
}

void CGXGridCore::CancelTrackSize() {
    if (auto* f = FeatureAs<CGXAbstractGridUserResizeCellsImp>(m_features, kFeatureUserResizeCells)) {
        f->CancelTrackSize(this);
    }
}


// ---- The undo feature's defaults: what it is handed and does not keep is freed.

CObject* CGXAbstractCommandFactory::CreateInsertRowsCmd(ROWCOL, ROWCOL, std::vector<int>, CObArray* cells,
                                                        CObArray* rowStyles, ROWCOL) {
    DeleteStyleArray(cells);
    DeleteStyleArray(rowStyles);
    return nullptr;
}

CObject* CGXAbstractCommandFactory::CreateInsertColsCmd(ROWCOL, ROWCOL, std::vector<int>, CObArray* cells,
                                                        CObArray* colStyles, ROWCOL) {
    DeleteStyleArray(cells);
    DeleteStyleArray(colStyles);
    return nullptr;
}

CObject* CGXAbstractCommandFactory::CreateSetStyleRangeCmd(const CGXRange&, int, CObArray* styles) {
    DeleteStyleArray(styles);
    return nullptr;
}
