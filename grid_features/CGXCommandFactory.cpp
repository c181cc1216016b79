#include "grid_features/CGXCommandFactory.h"

#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXLongOperation.h"
#include "grid/GridLibraryState.h"
#include "grid_features/CGXCommand.h"
#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CMenu.h"

#include <algorithm>

namespace {

// Beyond these a removal's cells are too many for the undo buffer.
constexpr ROWCOL kMaxUndoSpan = 0x7FFF;
constexpr ULONGLONG kMaxUndoCells = 0x7FFFFFFE;

void FreeStyles(CObArray*& array) {
    DeleteStyleArray(array);
    array = nullptr;
}

CGXBlockCmd* HeadBlock(CObList& list) {
    return list.IsEmpty() ? nullptr : dynamic_cast<CGXBlockCmd*>(list.GetHead());
}

} // namespace

void InstallUndoRedo(CGXGridCore* grid) {
    grid->InstallFeature<CGXCommandFactory>(kFeatureUndoRedo);
}

// ---- Making commands

CObject* CGXCommandFactory::CreateBlockCmd(LPCTSTR name) {
    return new CGXBlockCmd(name);
}

CObject* CGXCommandFactory::CreateSetRowHeightCmd(ROWCOL first, ROWCOL last, std::vector<int> heights) {
    return new CGXSetRowHeightCmd(first, last, std::move(heights));
}

namespace {

// The hide records keep the old states as their own copy.
std::vector<BOOL> TakeStates(BOOL* states, ROWCOL first, ROWCOL last) {
    std::vector<BOOL> copy(states, states + (last - first + 1));
    delete[] states;
    return copy;
}

} // namespace

CObject* CGXCommandFactory::CreateHideRowsCommand(ROWCOL first, ROWCOL last, BOOL* oldStates, int) {
    return new CGXHideRowsCmd(first, last, TakeStates(oldStates, first, last));
}

CObject* CGXCommandFactory::CreateSetDefaultRowHeightCmd(int height) {
    return new CGXSetDefaultRowHeightCmd(height);
}

CObject* CGXCommandFactory::CreateSetColWidthCmd(ROWCOL first, ROWCOL last, std::vector<int> widths) {
    return new CGXSetColWidthCmd(first, last, std::move(widths));
}

CObject* CGXCommandFactory::CreateHideColsCommand(ROWCOL first, ROWCOL last, BOOL* oldStates, int) {
    return new CGXHideColsCmd(first, last, TakeStates(oldStates, first, last));
}

CObject* CGXCommandFactory::CreateSetDefaultColWidthCmd(int width) {
    return new CGXSetDefaultColWidthCmd(width);
}

CObject* CGXCommandFactory::CreateMoveRowsCmd(ROWCOL first, ROWCOL last, ROWCOL dest) {
    return new CGXMoveRowsCmd(first, last, dest);
}

CObject* CGXCommandFactory::CreateMoveColsCmd(ROWCOL first, ROWCOL last, ROWCOL dest) {
    return new CGXMoveColsCmd(first, last, dest);
}

CObject* CGXCommandFactory::CreateRemoveRowsCmd(ROWCOL first, ROWCOL last) {
    return new CGXRemoveRowsCmd(first, last);
}

CObject* CGXCommandFactory::CreateRemoveColsCmd(ROWCOL first, ROWCOL last) {
    return new CGXRemoveColsCmd(first, last);
}

CObject* CGXCommandFactory::CreateInsertRowsCmd(ROWCOL first, ROWCOL count, std::vector<int> heights,
                                                CObArray* cells, CObArray* rowStyles, ROWCOL colCount) {
    return new CGXInsertRowsCmd(first, count, std::move(heights), cells, rowStyles, colCount);
}

CObject* CGXCommandFactory::CreateInsertColsCmd(ROWCOL first, ROWCOL count, std::vector<int> widths,
                                                CObArray* cells, CObArray* colStyles, ROWCOL rowCount) {
    return new CGXInsertColsCmd(first, count, std::move(widths), cells, colStyles, rowCount);
}

CObject* CGXCommandFactory::CreateCoveredCellsCommand(ROWCOL top, ROWCOL left, ROWCOL oldBottom, ROWCOL oldRight,
                                                      int) {
    return new CGXSetCoveredCellsCmd(top, left, oldBottom, oldRight);
}

CObject* CGXCommandFactory::CreateSetStyleRangeCmd(const CGXRange& range, int kind, CObArray* styles) {
    return new CGXSetStyleRangeCmd(range, kind, styles);
}

CObject* CGXCommandFactory::CreateSetFrozenRowsCmd(ROWCOL frozen, ROWCOL header) {
    return new CGXSetFrozenRowsCmd(frozen, header);
}

CObject* CGXCommandFactory::CreateSetFrozenColsCmd(ROWCOL frozen, ROWCOL header) {
    return new CGXSetFrozenColsCmd(frozen, header);
}

CObject* CGXCommandFactory::CreateChangeStylesMapCmd(const CGXStylesMap& stylesMap) {
    return new CGXChangeStylesMapCmd(stylesMap);
}

CObject* CGXCommandFactory::CreateChangePropertiesCmd(const CGXProperties& properties) {
    return new CGXChangePropertiesCmd(properties);
}

CObject* CGXCommandFactory::CreateChangeBaseStyleCmd(WORD id, const CGXStyle& style, LPCTSTR name) {
    return new CGXChangeBaseStyleCmd(style, name, id);
}

// ---- The data object's undo information

BOOL CGXCommandFactory::SetDataUndoMode(CGXGridCore*, BOOL) {
    return FALSE;
}

CObject* CGXCommandFactory::GetDataUndoInfo(CGXGridCore*) {
    return nullptr;
}

BOOL CGXCommandFactory::ApplyDataUndoInfo(CGXGridCore*, CObject*, BOOL, int) {
    return FALSE;
}

void CGXCommandFactory::DiscardDataUndoInfo(CGXGridCore* grid) {
    delete grid->GetDataUndoInfo();
}

// ---- The lists

CObList* CGXCommandFactory::SelectList(CGXGridCore* grid, int ctCmd, BOOL* intoBlock) {
    CGXGridParam* param = grid->GetParam();
    if (!param) {
        return nullptr;
    }
    CObList& list = ctCmd == kCmdNormal || ctCmd == kCmdRedo ? param->GetUndoList() : param->GetRedoList();
    if (param->m_nTransactionLevel > 0 || grid->m_bBlockCmdExecuting) {
        if (CGXBlockCmd* block = HeadBlock(list)) {
            if (intoBlock) {
                *intoBlock = TRUE;
            }
            return &block->commands;
        }
    }
    if (intoBlock) {
        *intoBlock = FALSE;
    }
    return &list;
}

void CGXCommandFactory::StoreCurrentCell(CGXGridCore* grid, CGXCommand& command) {
    command.hasCurrentCell = grid->GetCurrentCell(command.row, command.col);
}

BOOL CGXCommandFactory::ExecuteCommand(CObject* object, CGXGridCore* grid, int ctCmd) {
    auto* command = dynamic_cast<CGXCommand*>(object);
    CGXGridParam* param = grid->GetParam();
    if (!command || !param) {
        return FALSE;
    }
    const BOOL protects = param->m_bReadOnlyProtectsData;
    param->m_bReadOnlyProtectsData = FALSE;
    if (command->dataUndoInfo && param->GetData()) {
        const BOOL mode = grid->SetDataUndoMode(ctCmd != kCmdRollback);
        grid->ApplyDataUndoInfo(command->dataUndoInfo, TRUE, 0);
        grid->SetDataUndoMode(mode);
    }
    BOOL result = FALSE;
    try {
        result = command->Execute(grid, ctCmd);
    } catch (...) {
        param->m_bReadOnlyProtectsData = protects;
        throw;
    }
    param->m_bReadOnlyProtectsData = protects;
    return result;
}

void CGXCommandFactory::AddCommand(CGXGridCore* grid, CObject* object, int ctCmd) {
    auto* command = dynamic_cast<CGXCommand*>(object);
    CGXGridParam* param = grid->GetParam();
    if (!command || !param) {
        delete object;
        return;
    }
    if (ctCmd == kCmdNormal) {
        param->EmptyRedoList();
    }
    if (!command->dataUndoInfo) {
        command->dataUndoInfo = grid->GetDataUndoInfo();
    }
    BOOL intoBlock = FALSE;
    CObList* list = SelectList(grid, ctCmd, &intoBlock);
    if (!intoBlock && list->GetCount() > std::max<LONG>(param->m_nMaxUndoCount, 0)) {
        delete list->RemoveTail();
    }
    StoreCurrentCell(grid, *command);
    try {
        list->AddHead(command);
    } catch (...) {
        delete command; // recording never fails visibly
    }
}

void CGXCommandFactory::RemoveCommand(CGXGridCore* grid, int ctCmd) {
    CObList* list = SelectList(grid, ctCmd);
    if (list && !list->IsEmpty()) {
        delete list->RemoveHead();
    }
}

// ---- Undo and redo

BOOL CGXCommandFactory::Undo(CGXGridCore* grid) {
    CGXGridParam* param = grid->GetParam();
    if (!param) {
        return FALSE;
    }
    ROWCOL row = 0;
    ROWCOL col = 0;
    CGXControl* control = grid->GetCurrentCell(row, col) ? grid->GetCurrentCellControl() : nullptr;
    if (control && control->IsActive()) {
        // A pending edit is the first thing to undo.
        if (!control->AskCancelEdit()) {
            return FALSE;
        }
        const BOOL modified = control->IsModified();
        control->InitCell(row, col);
        control->RedrawCell();
        control->ReportEditCancelled();
        if (modified) {
            return TRUE;
        }
    }
    CObList& list = param->GetUndoList();
    if (list.IsEmpty()) {
        return FALSE;
    }
    CObject* command = list.RemoveHead();
    const BOOL result = grid->ExecuteCommand(command, kCmdUndo);
    if (result) {
        delete command;
    } else {
        list.AddHead(command);
    }
    grid->Recalc(TRUE, nullptr, TRUE);
    grid->UpdateScrollbars(FALSE, FALSE);
    return result;
}

BOOL CGXCommandFactory::Redo(CGXGridCore* grid) {
    CGXGridParam* param = grid->GetParam();
    if (!param) {
        return FALSE;
    }
    if (grid->IsActiveCurrentCell() && !grid->TransferCurrentCell(FALSE, 1, FALSE)) {
        return FALSE;
    }
    CObList& list = param->GetRedoList();
    if (list.IsEmpty()) {
        return FALSE;
    }
    auto* command = static_cast<CGXCommand*>(list.RemoveHead());
    const BOOL result = grid->ExecuteCommand(command, kCmdRedo);
    if (result) {
        if (command->hasCurrentCell) {
            grid->SetCurrentCell(command->row, command->col, 10);
        }
        delete command;
    } else {
        list.AddHead(command);
    }
    grid->Recalc(TRUE, nullptr, TRUE);
    grid->UpdateScrollbars(FALSE, FALSE);
    return result;
}

// ---- Transactions

void CGXCommandFactory::BeginTrans(CGXGridCore* grid, LPCTSTR name) {
    CGXGridParam* param = grid->GetParam();
    if (!param || !param->m_bUndoEnabled) {
        return;
    }
    if (param->m_nTransactionLevel > 0) {
        ++param->m_nTransactionLevel;
        return;
    }
    auto* block = new CGXBlockCmd(name);
    StoreCurrentCell(grid, *block);
    param->GetUndoList().AddHead(block);
    param->m_nTransactionLevel = 1;
}

void CGXCommandFactory::CommitTrans(CGXGridCore* grid) {
    CGXGridParam* param = grid->GetParam();
    if (!param || param->m_nTransactionLevel == 0 || !param->m_bUndoEnabled) {
        return;
    }
    if (--param->m_nTransactionLevel == 0) {
        // A transaction that recorded nothing leaves no trace.
        CGXBlockCmd* block = HeadBlock(param->GetUndoList());
        if (block && block->commands.IsEmpty()) {
            delete param->GetUndoList().RemoveHead();
        }
    }
}

void CGXCommandFactory::Rollback(CGXGridCore* grid) {
    CGXGridParam* param = grid->GetParam();
    if (!param || param->m_nTransactionLevel == 0 || !param->m_bUndoEnabled) {
        return;
    }
    if (--param->m_nTransactionLevel > 0) {
        return;
    }
    CObList& list = param->GetUndoList();
    if (list.IsEmpty()) {
        return;
    }
    // Each command of the block is undone without being recorded anywhere.
    auto* block = static_cast<CGXCommand*>(list.RemoveHead());
    block->Execute(grid, kCmdRollback);
    delete block;
    grid->Recalc(TRUE, nullptr, TRUE);
}

void CGXCommandFactory::SetAdvancedUndoCell(CGXGridCore* grid, ROWCOL row, ROWCOL col, BOOL setCurrent) {
    if (grid->m_bBlockCmdExecuting) {
        grid->m_deferredUndoCell = {TRUE, setCurrent, row, col};
        return;
    }
    if (setCurrent && !grid->IsCurrentCell(row, col)) {
        grid->SetCurrentCell(row, col, 10);
    } else {
        grid->ScrollCellInView(row, col, 2, FALSE);
    }
    grid->UpdateGridWindow();
}

// ---- The Edit menu

void CGXCommandFactory::UpdateEditItem(CGXGridCore*, CCmdUI* cmdUI, CString& format, LPCTSTR defaultFormat,
                                       LPCTSTR argument) {
    if (!cmdUI->m_pMenu) {
        return;
    }
    if (format.IsEmpty()) {
        // The command's own string may carry the format after its second line feed; else the item's text.
        CString resource;
        resource.LoadString(cmdUI->m_nID);
        const int first = resource.Find(u'\n');
        const int second = first >= 0 ? resource.Find(u'\n', first + 1) : -1;
        if (second >= 0) {
            format = resource.Mid(second + 1);
        } else {
            cmdUI->m_pMenu->GetMenuString(cmdUI->m_nID, format, MF_BYCOMMAND);
            format = format.Left(255);
            if (format.IsEmpty()) {
                format = defaultFormat;
            }
        }
    }
    CString text;
    LPCTSTR inserts[] = {argument};
    AfxFormatStrings(text, format, inserts, 1);
    cmdUI->SetText(text);
}

BOOL CGXCommandFactory::OnUpdateEditUndo(CGXGridCore* grid, CCmdUI* cmdUI) {
    CGXGridParam* param = grid->GetParam();
    if (!param) {
        if (cmdUI) {
            cmdUI->Enable(FALSE);
        }
        return FALSE;
    }
    const BOOL modified = grid->IsActiveCurrentCell() && grid->GetCurrentCellControl() &&
                          grid->GetCurrentCellControl()->IsModified();
    CObList& list = param->GetUndoList();
    const BOOL enable = modified || !list.IsEmpty();
    if (!cmdUI) {
        return enable;
    }
    CString argument;
    if (modified) {
        argument = GridLibraryState::Instance().GetText(kTextCurrentCell);
    } else if (!list.IsEmpty()) {
        argument = static_cast<CGXCommand*>(list.GetHead())->GetName();
    }
    UpdateEditItem(grid, cmdUI, grid->m_strUndoFormat, u"Undo %1", argument);
    cmdUI->Enable(enable);
    return enable;
}

BOOL CGXCommandFactory::OnUpdateEditRedo(CGXGridCore* grid, CCmdUI* cmdUI) {
    CGXGridParam* param = grid->GetParam();
    if (!param) {
        if (cmdUI) {
            cmdUI->Enable(FALSE);
        }
        return FALSE;
    }
    CObList& list = param->GetRedoList();
    const BOOL enable = !list.IsEmpty();
    if (!cmdUI) {
        return enable;
    }
    const CString argument = enable ? CString(static_cast<CGXCommand*>(list.GetHead())->GetName()) : CString();
    UpdateEditItem(grid, cmdUI, grid->m_strRedoFormat, u"Redo %1", argument);
    cmdUI->Enable(enable);
    return enable;
}

// ---- Saving what a removal takes

BOOL CGXCommandFactory::StoreRemovedUndoInfo(CGXGridCore* grid, BOOL rows, ROWCOL first, ROWCOL count,
                                             ROWCOL across, CObArray*& cells, CObArray*& baseStyles,
                                             CGXLongOperation& operation) {
    CGXGridParam* param = grid->GetParam();
    if (!param) {
        return FALSE;
    }
    const WORD flags = rows ? param->m_wRowUndoFlags : param->m_wColUndoFlags;
    const ULONGLONG baseTotal = (flags & 1) ? count : 0;
    const ULONGLONG cellTotal = (flags & 2) ? static_cast<ULONGLONG>(count) * across : 0;
    const ULONGLONG total = std::max<ULONGLONG>(cellTotal + baseTotal, 1);
    // Loads one stored style, or nothing; answers FALSE when the user aborted.
    auto save = [&](CObArray& array, INT_PTR index, ROWCOL row, ROWCOL col, int kind, ULONGLONG done) {
        CGXStyle* style = grid->CreateStyle();
        if (grid->LoadStoredStyleRowCol(row, col, *style, kMergeCopy, kind)) {
            array.SetAt(index, style);
        } else {
            grid->RecycleStyle(style);
        }
        operation.SetPercentDone(static_cast<int>(std::min<ULONGLONG>(100, done * 100 / total)));
        BOOL aborted = FALSE;
        return !(operation.CheckAbort(aborted) && aborted);
    };
    auto abort = [&] {
        FreeStyles(cells);
        FreeStyles(baseStyles);
        return FALSE;
    };
    if (flags & 2) {
        if (cellTotal > kMaxUndoCells || across > kMaxUndoSpan || count > kMaxUndoSpan) {
            return grid->ConfirmTooLargeForUndo();
        }
        cells = new CObArray;
        cells->SetSize(static_cast<INT_PTR>(cellTotal));
        // Rows: each removed row across every column; columns: each row across the removed columns.
        const ROWCOL outer = rows ? count : across;
        const ROWCOL inner = rows ? across : count;
        for (ROWCOL i = 0; i < outer; ++i) {
            for (ROWCOL j = 0; j < inner; ++j) {
                const ULONGLONG index = static_cast<ULONGLONG>(i) * inner + j;
                const ROWCOL row = rows ? first + i : i;
                const ROWCOL col = rows ? j : first + j;
                if (!save(*cells, static_cast<INT_PTR>(index), row, col, 0, index)) {
                    return abort();
                }
            }
        }
    }
    if (flags & 1) {
        if (count > kMaxUndoSpan) {
            if (!grid->ConfirmTooLargeForUndo()) {
                FreeStyles(cells);
                return FALSE;
            }
            return TRUE;
        }
        baseStyles = new CObArray;
        baseStyles->SetSize(count);
        for (ROWCOL i = 0; i < count; ++i) {
            if (!save(*baseStyles, i, rows ? first + i : 0, rows ? 0 : first + i, -1, cellTotal + i)) {
                return abort();
            }
        }
    }
    return TRUE;
}

BOOL CGXCommandFactory::StoreRemoveRowsUndoInfo(CGXGridCore* grid, ROWCOL first, ROWCOL count, ROWCOL colCount,
                                                CObArray*& cells, CObArray*& rowStyles,
                                                CGXLongOperation& operation) {
    return StoreRemovedUndoInfo(grid, TRUE, first, count, colCount, cells, rowStyles, operation);
}

BOOL CGXCommandFactory::StoreRemoveColsUndoInfo(CGXGridCore* grid, ROWCOL first, ROWCOL count, ROWCOL rowCount,
                                                CObArray*& cells, CObArray*& colStyles,
                                                CGXLongOperation& operation) {
    return StoreRemovedUndoInfo(grid, FALSE, first, count, rowCount, cells, colStyles, operation);
}
