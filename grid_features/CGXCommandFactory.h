// The grid's undo feature: makes the undo commands, keeps them in the parameter object's undo and redo lists
// (grids sharing a parameter share one history), runs undo and redo, groups commands into transactions,
// keeps the Edit menu's undo and redo items and saves the cells of rows and columns about to be removed.
// It has no data of its own: every operation takes the grid.
#pragma once

#include "grid/GridCoreFeatures.h"

class CGXCommand;
class CObList;

class CGXCommandFactory : public CGXAbstractCommandFactory {
public:
    CObject* CreateBlockCmd(LPCTSTR name) override;
    CObject* CreateSetRowHeightCmd(ROWCOL first, ROWCOL last, std::vector<int> heights) override;
    CObject* CreateSetDefaultRowHeightCmd(int height) override;
    CObject* CreateSetColWidthCmd(ROWCOL first, ROWCOL last, std::vector<int> widths) override;
    CObject* CreateHideRowsCommand(ROWCOL first, ROWCOL last, BOOL* oldStates, int ctCmd) override;
    CObject* CreateHideColsCommand(ROWCOL first, ROWCOL last, BOOL* oldStates, int ctCmd) override;
    CObject* CreateSetDefaultColWidthCmd(int width) override;
    CObject* CreateMoveRowsCmd(ROWCOL first, ROWCOL last, ROWCOL dest) override;
    CObject* CreateMoveColsCmd(ROWCOL first, ROWCOL last, ROWCOL dest) override;
    CObject* CreateRemoveRowsCmd(ROWCOL first, ROWCOL last) override;
    CObject* CreateRemoveColsCmd(ROWCOL first, ROWCOL last) override;
    CObject* CreateInsertRowsCmd(ROWCOL first, ROWCOL count, std::vector<int> heights, CObArray* cells,
                                 CObArray* rowStyles, ROWCOL colCount) override;
    CObject* CreateInsertColsCmd(ROWCOL first, ROWCOL count, std::vector<int> widths, CObArray* cells,
                                 CObArray* colStyles, ROWCOL rowCount) override;
    CObject* CreateCoveredCellsCommand(ROWCOL top, ROWCOL left, ROWCOL oldBottom, ROWCOL oldRight,
                                       int ctCmd) override;
    CObject* CreateSetStyleRangeCmd(const CGXRange& range, int kind, CObArray* styles) override;
    CObject* CreateSetFrozenRowsCmd(ROWCOL frozen, ROWCOL header) override;
    CObject* CreateSetFrozenColsCmd(ROWCOL frozen, ROWCOL header) override;
    CObject* CreateChangeStylesMapCmd(const CGXStylesMap& stylesMap) override;
    CObject* CreateChangePropertiesCmd(const CGXProperties& properties) override;
    CObject* CreateChangeBaseStyleCmd(WORD id, const CGXStyle& style, LPCTSTR name) override;

    // The grid's data object keeps no undo information of its own: these answer 0.
    BOOL SetDataUndoMode(CGXGridCore* grid, BOOL on) override;
    CObject* GetDataUndoInfo(CGXGridCore* grid) override;
    BOOL ApplyDataUndoInfo(CGXGridCore* grid, CObject* info, BOOL flag, int extra) override;
    void DiscardDataUndoInfo(CGXGridCore* grid) override;

    // Runs one command; a read-only grid still takes it.
    BOOL ExecuteCommand(CObject* command, CGXGridCore* grid, int ctCmd) override;
    // Normal and redo commands go to the undo list, undo and rollback ones to the redo list; inside a
    // transaction or a running block, into that block. A normal command empties the redo list. The list keeps
    // at most the maximum undo count + 1 commands.
    void AddCommand(CGXGridCore* grid, CObject* command, int ctCmd) override;
    void RemoveCommand(CGXGridCore* grid, int ctCmd) override;
    // Undoing first throws away a pending edit of the current cell.
    BOOL Undo(CGXGridCore* grid) override;
    BOOL Redo(CGXGridCore* grid) override;
    // Transactions nest; only the outermost commit or rollback acts.
    void BeginTrans(CGXGridCore* grid, LPCTSTR name) override;
    void CommitTrans(CGXGridCore* grid) override;
    void Rollback(CGXGridCore* grid) override;
    void SetAdvancedUndoCell(CGXGridCore* grid, ROWCOL row, ROWCOL col, BOOL setCurrent) override;
    BOOL OnUpdateEditUndo(CGXGridCore* grid, CCmdUI* cmdUI) override;
    BOOL OnUpdateEditRedo(CGXGridCore* grid, CCmdUI* cmdUI) override;
    BOOL StoreRemoveRowsUndoInfo(CGXGridCore* grid, ROWCOL first, ROWCOL count, ROWCOL colCount, CObArray*& cells,
                                 CObArray*& rowStyles, CGXLongOperation& operation) override;
    BOOL StoreRemoveColsUndoInfo(CGXGridCore* grid, ROWCOL first, ROWCOL count, ROWCOL rowCount, CObArray*& cells,
                                 CObArray*& colStyles, CGXLongOperation& operation) override;

private:
    // The list a command of this type goes to (the head block's own list while one is open); null without
    // a parameter.
    CObList* SelectList(CGXGridCore* grid, int ctCmd, BOOL* intoBlock = nullptr);
    void StoreCurrentCell(CGXGridCore* grid, CGXCommand& command);
    // Saves the stored styles of removed rows (or columns): cells first, then their base styles.
    BOOL StoreRemovedUndoInfo(CGXGridCore* grid, BOOL rows, ROWCOL first, ROWCOL count, ROWCOL across,
                              CObArray*& cells, CObArray*& baseStyles, CGXLongOperation& operation);
    void UpdateEditItem(CGXGridCore* grid, CCmdUI* cmdUI, CString& format, LPCTSTR defaultFormat,
                        LPCTSTR argument);
};

// Gives the grid the undo feature unless it has one.
void InstallUndoRedo(CGXGridCore* grid);
