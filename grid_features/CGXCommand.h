// Undo records. A command remembers what brings the grid back to the state before one change and which grid
// operation does it; running it calls that operation with the command type it is given (the operation then
// records the opposite command itself). A command is run once and then deleted by the undo feature.
#pragma once

#include "grid/CGXProperties.h"
#include "grid/CGXRange.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridDefs.h"
#include "platform/base/CArrays.h"
#include "platform/base/CLists.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

#include <variant>
#include <vector>

class CGXGridCore;

class CGXCommand : public CObject {
    DECLARE_DYNAMIC(CGXCommand)
public:
    CGXCommand() = default;
    ~CGXCommand() override;
    CGXCommand(const CGXCommand&) = delete;
    CGXCommand& operator=(const CGXCommand&) = delete;

    virtual BOOL Execute(CGXGridCore* grid, int ctCmd) = 0;
    // The text of the Edit menu's "Undo %1" and of the status line; never null.
    virtual LPCTSTR GetName() = 0;

    // The current cell when the command was recorded (meaningful only with hasCurrentCell).
    ROWCOL row = 0;
    ROWCOL col = 0;
    BOOL hasCurrentCell = FALSE;
    // The data object's own undo information, owned.
    CObject* dataUndoInfo = nullptr;
};

// Commands run as one: the newest first.
class CGXBlockCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXBlockCmd)
public:
    explicit CGXBlockCmd(LPCTSTR name = nullptr);
    ~CGXBlockCmd() override;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override { return m_name; }

    CObList commands; // owned, newest at the head
private:
    CString m_name;
};

// A change to the lines first..last (rows or columns) and what its reversing operation needs of them.
template <class Values = std::monostate>
class CGXLinesCmd : public CGXCommand {
public:
    CGXLinesCmd(ROWCOL first, ROWCOL last, Values values = {})
        : m_first(first), m_last(last), m_values(std::move(values)) {}

protected:
    ROWCOL m_first;
    ROWCOL m_last;
    Values m_values;
};

class CGXSetRowHeightCmd : public CGXLinesCmd<std::vector<int>> {
    DECLARE_DYNAMIC(CGXSetRowHeightCmd)
public:
    using CGXLinesCmd::CGXLinesCmd;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;
};

class CGXSetColWidthCmd : public CGXLinesCmd<std::vector<int>> {
    DECLARE_DYNAMIC(CGXSetColWidthCmd)
public:
    using CGXLinesCmd::CGXLinesCmd;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;
};

class CGXHideRowsCmd : public CGXLinesCmd<std::vector<BOOL>> {
    DECLARE_DYNAMIC(CGXHideRowsCmd)
public:
    using CGXLinesCmd::CGXLinesCmd;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;
};

class CGXHideColsCmd : public CGXLinesCmd<std::vector<BOOL>> {
    DECLARE_DYNAMIC(CGXHideColsCmd)
public:
    using CGXLinesCmd::CGXLinesCmd;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;
};

class CGXSetDefaultRowHeightCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXSetDefaultRowHeightCmd)
public:
    explicit CGXSetDefaultRowHeightCmd(int height) : m_height(height) {}
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;

private:
    int m_height;
};

class CGXSetDefaultColWidthCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXSetDefaultColWidthCmd)
public:
    explicit CGXSetDefaultColWidthCmd(int width) : m_width(width) {}
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;

private:
    int m_width;
};

// The move that reverses a recorded one; its value is the destination.
class CGXMoveRowsCmd : public CGXLinesCmd<ROWCOL> {
    DECLARE_DYNAMIC(CGXMoveRowsCmd)
public:
    using CGXLinesCmd::CGXLinesCmd;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;
};

class CGXMoveColsCmd : public CGXLinesCmd<ROWCOL> {
    DECLARE_DYNAMIC(CGXMoveColsCmd)
public:
    using CGXLinesCmd::CGXLinesCmd;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;
};

// Removes the rows an insertion made.
class CGXRemoveRowsCmd : public CGXLinesCmd<std::monostate> {
    DECLARE_DYNAMIC(CGXRemoveRowsCmd)
public:
    using CGXLinesCmd::CGXLinesCmd;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;
};

class CGXRemoveColsCmd : public CGXLinesCmd<std::monostate> {
    DECLARE_DYNAMIC(CGXRemoveColsCmd)
public:
    using CGXLinesCmd::CGXLinesCmd;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;
};

// Puts removed rows back: their heights, cells (count x colCount, row by row, null where a cell stored
// nothing) and base styles. Either array may be null.
class CGXInsertRowsCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXInsertRowsCmd)
public:
    CGXInsertRowsCmd(ROWCOL first, ROWCOL count, std::vector<int> heights, CObArray* cells, CObArray* rowStyles,
                     ROWCOL colCount)
        : m_first(first), m_count(count), m_heights(std::move(heights)), m_cells(cells), m_rowStyles(rowStyles),
          m_colCount(colCount) {}
    ~CGXInsertRowsCmd() override;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;

private:
    ROWCOL m_first;
    ROWCOL m_count;
    std::vector<int> m_heights;
    CObArray* m_cells;
    CObArray* m_rowStyles;
    ROWCOL m_colCount;
};

// The cells array holds rowCount x count styles, row by row.
class CGXInsertColsCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXInsertColsCmd)
public:
    CGXInsertColsCmd(ROWCOL first, ROWCOL count, std::vector<int> widths, CObArray* cells, CObArray* colStyles,
                     ROWCOL rowCount)
        : m_first(first), m_count(count), m_widths(std::move(widths)), m_cells(cells), m_colStyles(colStyles),
          m_rowCount(rowCount) {}
    ~CGXInsertColsCmd() override;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;

private:
    ROWCOL m_first;
    ROWCOL m_count;
    std::vector<int> m_widths;
    CObArray* m_cells;
    CObArray* m_colStyles;
    ROWCOL m_rowCount;
};

class CGXSetCoveredCellsCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXSetCoveredCellsCmd)
public:
    CGXSetCoveredCellsCmd(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right)
        : m_top(top), m_left(left), m_bottom(bottom), m_right(right) {}
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;

private:
    ROWCOL m_top;
    ROWCOL m_left;
    ROWCOL m_bottom;
    ROWCOL m_right;
};

// The stored styles of a range's cells before a change, row by row (may be null).
class CGXSetStyleRangeCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXSetStyleRangeCmd)
public:
    CGXSetStyleRangeCmd(const CGXRange& range, int kind, CObArray* styles)
        : m_range(range), m_kind(kind), m_styles(styles) {}
    ~CGXSetStyleRangeCmd() override;
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;

private:
    CGXRange m_range;
    int m_kind;
    CObArray* m_styles;
};

class CGXSetFrozenRowsCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXSetFrozenRowsCmd)
public:
    CGXSetFrozenRowsCmd(ROWCOL frozen, ROWCOL header) : m_frozen(frozen), m_header(header) {}
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;

private:
    ROWCOL m_frozen;
    ROWCOL m_header;
};

class CGXSetFrozenColsCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXSetFrozenColsCmd)
public:
    CGXSetFrozenColsCmd(ROWCOL frozen, ROWCOL header) : m_frozen(frozen), m_header(header) {}
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;

private:
    ROWCOL m_frozen;
    ROWCOL m_header;
};

class CGXChangeStylesMapCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXChangeStylesMapCmd)
public:
    explicit CGXChangeStylesMapCmd(const CGXStylesMap& stylesMap) : m_stylesMap(stylesMap) {}
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;

private:
    CGXStylesMap m_stylesMap;
};

class CGXChangePropertiesCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXChangePropertiesCmd)
public:
    explicit CGXChangePropertiesCmd(const CGXProperties& properties) : m_properties(properties) {}
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override;

private:
    CGXProperties m_properties;
};

// Named by the base style itself.
class CGXChangeBaseStyleCmd : public CGXCommand {
    DECLARE_DYNAMIC(CGXChangeBaseStyleCmd)
public:
    CGXChangeBaseStyleCmd(const CGXStyle& style, LPCTSTR name, WORD id) : m_style(style), m_name(name), m_id(id) {}
    BOOL Execute(CGXGridCore* grid, int ctCmd) override;
    LPCTSTR GetName() override { return m_name; }

private:
    CGXStyle m_style;
    CString m_name;
    WORD m_id;
};
