#include "grid_features/CGXCommand.h"

#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXLongOperation.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CGXCommand, CObject)
IMPLEMENT_DYNAMIC(CGXBlockCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXSetRowHeightCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXSetColWidthCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXHideRowsCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXHideColsCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXSetDefaultRowHeightCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXSetDefaultColWidthCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXMoveRowsCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXMoveColsCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXRemoveRowsCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXRemoveColsCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXInsertRowsCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXInsertColsCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXSetCoveredCellsCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXSetStyleRangeCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXSetFrozenRowsCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXSetFrozenColsCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXChangeStylesMapCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXChangePropertiesCmd, CGXCommand)
IMPLEMENT_DYNAMIC(CGXChangeBaseStyleCmd, CGXCommand)

namespace {

// Redraw flags of every replayed change: invalidate and repaint at once.
constexpr UINT kReplayFlags = 2;

// A command's name from the string table, loaded once per class; a missing string gives one space.
// A command kind's name, loaded once.
template <UINT id>
LPCTSTR CommandName() {
    static CString name;
    if (name.IsEmpty() && !name.LoadString(id)) {
        name = u" ";
    }
    return name;
}

// A saved array of styles may carry, one past its cells, a list of the data object's own undo objects.
void DeleteSavedStyles(CObArray* array, ULONGLONG cellCount) {
    if (!array) {
        return;
    }
    if (static_cast<ULONGLONG>(array->GetSize()) > cellCount) {
        if (auto* list = dynamic_cast<CObList*>(array->GetAt(static_cast<INT_PTR>(cellCount)))) {
            while (!list->IsEmpty()) {
                delete list->RemoveHead();
            }
        }
    }
    for (INT_PTR i = 0; i < array->GetSize(); ++i) {
        delete array->GetAt(i);
    }
    delete array;
}

template <class T>
T* DataOrNull(std::vector<T>& values) {
    return values.empty() ? nullptr : values.data();
}

} // namespace

CGXCommand::~CGXCommand() {
    delete dataUndoInfo;
}

// ---- Blocks

CGXBlockCmd::CGXBlockCmd(LPCTSTR name) : m_name(name ? name : u"Block") {}

CGXBlockCmd::~CGXBlockCmd() {
    while (!commands.IsEmpty()) {
        delete commands.RemoveHead();
    }
}

BOOL CGXBlockCmd::Execute(CGXGridCore* grid, int ctCmd) {
    CGXLongOperation operation;
    GridLibraryState& library = GridLibraryState::Instance();
    if (ctCmd == kCmdRedo || ctCmd == kCmdUndo) {
        CString text;
        const CString format = library.GetText(ctCmd == kCmdRedo ? kTextRedoing : kTextUndoing);
        LPCTSTR inserts[] = {m_name};
        AfxFormatStrings(text, format, inserts, 1);
        operation.SetStatusText(text);
    } else {
        operation.SetStatusText(m_name);
    }
    CGXGridParam* param = grid->GetParam();
    // Undoing a block records its opposite as a block of its own, at the head of the other list.
    CGXBlockCmd* opposite = nullptr;
    CObList* oppositeList = nullptr;
    if (param && (ctCmd == kCmdRedo || ctCmd == kCmdUndo)) {
        opposite = new CGXBlockCmd(m_name);
        oppositeList = ctCmd == kCmdRedo ? &param->GetUndoList() : &param->GetRedoList();
        oppositeList->AddHead(opposite);
    }
    grid->m_deferredUndoCell = {};
    grid->m_bBlockCmdExecuting = TRUE;
    const INT_PTR count = commands.GetCount();
    const BOOL lockUpdate = param && count > 1;
    const BOOL oldLock = param ? param->m_bLockUpdate : FALSE;
    if (lockUpdate) {
        param->m_bLockUpdate = TRUE;
    }
    BOOL result = TRUE;
    int total = 0;
    for (POSITION position = commands.GetHeadPosition(); position && result;) {
        CObject* command = commands.GetNext(position);
        result = grid->ExecuteCommand(command, ctCmd) && result;
        total += 100;
        operation.SetPercentDone(std::min(100, static_cast<int>(total / count)));
        operation.ShowProgress();
    }
    if (lockUpdate) {
        param->m_bLockUpdate = oldLock;
        grid->Redraw(kReplayFlags, TRUE);
    }
    if (opposite && !result) {
        oppositeList->RemoveHead();
        delete opposite;
    }
    grid->m_bBlockCmdExecuting = FALSE;
    const CGXGridCore::DeferredUndoCell deferred = grid->m_deferredUndoCell;
    grid->m_deferredUndoCell = {};
    if (deferred.pending) {
        grid->SetAdvancedUndoCell(deferred.row, deferred.col, deferred.setCurrent);
    }
    return result;
}

// ---- Sizes and hidden rows and columns

BOOL CGXSetRowHeightCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->SetRowHeight(m_first, m_last, 0, DataOrNull(m_values), kReplayFlags, ctCmd);
}

LPCTSTR CGXSetRowHeightCmd::GetName() {
    return CommandName<IDS_GRID_CMD_ROW_HEIGHTS>();
}

BOOL CGXSetColWidthCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->SetColWidth(m_first, m_last, 0, DataOrNull(m_values), kReplayFlags, ctCmd);
}

LPCTSTR CGXSetColWidthCmd::GetName() {
    return CommandName<IDS_GRID_CMD_COL_WIDTHS>();
}

BOOL CGXHideRowsCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->HideRows(m_first, m_last, FALSE, DataOrNull(m_values), kReplayFlags, ctCmd);
}

LPCTSTR CGXHideRowsCmd::GetName() {
    return CommandName<IDS_GRID_CMD_HIDE_ROWS>();
}

BOOL CGXHideColsCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->HideCols(m_first, m_last, FALSE, DataOrNull(m_values), kReplayFlags, ctCmd);
}

LPCTSTR CGXHideColsCmd::GetName() {
    return CommandName<IDS_GRID_CMD_HIDE_COLUMNS>();
}

BOOL CGXSetDefaultRowHeightCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->SetDefaultRowHeight(m_height, kReplayFlags, ctCmd);
}

LPCTSTR CGXSetDefaultRowHeightCmd::GetName() {
    return CommandName<IDS_GRID_CMD_DEFAULT_ROW_HEIGHT>();
}

BOOL CGXSetDefaultColWidthCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->SetDefaultColWidth(m_width, kReplayFlags, ctCmd);
}

LPCTSTR CGXSetDefaultColWidthCmd::GetName() {
    return CommandName<IDS_GRID_CMD_DEFAULT_COL_WIDTH>();
}

// ---- Structure

BOOL CGXMoveRowsCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->MoveRows(m_first, m_last, m_values, kReplayFlags, ctCmd);
}

LPCTSTR CGXMoveRowsCmd::GetName() {
    return CommandName<IDS_GRID_MOVE_ROWS>();
}

BOOL CGXMoveColsCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->MoveCols(m_first, m_last, m_values, kReplayFlags, ctCmd);
}

LPCTSTR CGXMoveColsCmd::GetName() {
    return CommandName<IDS_GRID_MOVE_COLUMNS>();
}

BOOL CGXRemoveRowsCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->RemoveRows(m_first, m_last, kReplayFlags, ctCmd);
}

LPCTSTR CGXRemoveRowsCmd::GetName() {
    return CommandName<IDS_GRID_INSERT_ROWS>();
}

BOOL CGXRemoveColsCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->RemoveCols(m_first, m_last, kReplayFlags, ctCmd);
}

LPCTSTR CGXRemoveColsCmd::GetName() {
    return CommandName<IDS_GRID_INSERT_COLUMNS>();
}

CGXInsertRowsCmd::~CGXInsertRowsCmd() {
    DeleteSavedStyles(m_cells, static_cast<ULONGLONG>(m_count) * m_colCount);
    DeleteSavedStyles(m_rowStyles, m_count);
}

BOOL CGXInsertRowsCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->InsertRows(m_first, m_count, DataOrNull(m_heights), m_cells, m_rowStyles, m_colCount,
                            kReplayFlags, ctCmd);
}

LPCTSTR CGXInsertRowsCmd::GetName() {
    return CommandName<IDS_GRID_REMOVING_ROWS>();
}

CGXInsertColsCmd::~CGXInsertColsCmd() {
    DeleteSavedStyles(m_cells, static_cast<ULONGLONG>(m_count) * m_rowCount);
    DeleteSavedStyles(m_colStyles, m_count);
}

BOOL CGXInsertColsCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->InsertCols(m_first, m_count, DataOrNull(m_widths), m_cells, m_colStyles, m_rowCount,
                            kReplayFlags, ctCmd);
}

LPCTSTR CGXInsertColsCmd::GetName() {
    return CommandName<IDS_GRID_REMOVING_COLUMNS>();
}

BOOL CGXSetCoveredCellsCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->SetCoveredCellsRowCol(m_top, m_left, m_bottom, m_right, kReplayFlags, ctCmd);
}

LPCTSTR CGXSetCoveredCellsCmd::GetName() {
    return CommandName<IDS_GRID_CMD_COVER_CELLS>();
}

BOOL CGXSetFrozenRowsCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->SetFrozenRows(m_frozen, m_header, kReplayFlags, ctCmd);
}

LPCTSTR CGXSetFrozenRowsCmd::GetName() {
    return CommandName<IDS_GRID_FREEZE_ROWS>();
}

BOOL CGXSetFrozenColsCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->SetFrozenCols(m_frozen, m_header, kReplayFlags, ctCmd);
}

LPCTSTR CGXSetFrozenColsCmd::GetName() {
    return CommandName<IDS_GRID_FREEZE_COLUMNS>();
}

// ---- Styles

CGXSetStyleRangeCmd::~CGXSetStyleRangeCmd() {
    const ULONGLONG rows = static_cast<ULONGLONG>(m_range.bottom - m_range.top) + 1;
    DeleteSavedStyles(m_styles, rows * (static_cast<ULONGLONG>(m_range.right - m_range.left) + 1));
}

BOOL CGXSetStyleRangeCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->SetStyleRange(m_range, nullptr, kMergeCopy, m_kind, m_styles, kReplayFlags, ctCmd);
}

LPCTSTR CGXSetStyleRangeCmd::GetName() {
    return CommandName<IDS_GRID_CMD_CELLS>();
}

BOOL CGXChangeStylesMapCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->ChangeStylesMap(m_stylesMap, kReplayFlags, ctCmd);
}

LPCTSTR CGXChangeStylesMapCmd::GetName() {
    return CommandName<IDS_GRID_CMD_STYLES_MAP>();
}

BOOL CGXChangePropertiesCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->ChangeProperties(m_properties, kReplayFlags, ctCmd);
}

LPCTSTR CGXChangePropertiesCmd::GetName() {
    return CommandName<IDS_GRID_CMD_PROPERTIES>();
}

BOOL CGXChangeBaseStyleCmd::Execute(CGXGridCore* grid, int ctCmd) {
    return grid->ChangeBaseStyle(m_id, m_style, kMergeCopy, kReplayFlags, ctCmd);
}
