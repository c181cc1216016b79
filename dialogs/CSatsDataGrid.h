// The satellites grid of the main view: for up to 16 receiver channels the PRN, elevation, a trend symbol,
// azimuth and signal level as a number and a bar, with four summary lines below. Four header cells are sort
// buttons: pressing one chooses the order of the channel rows and pressing it again switches sorting off.
// The grid lays itself out and reports the choice; the view's refresh writes and sorts the channel rows.
#pragma once

#include "dialogs/CButtonCellsGridWnd.h"
#include "resources/Resource.h"

// The channel rows' sort order: 0 by PRN, 1 by elevation, 2 by azimuth, 3 by signal, 4 not sorted.
extern int g_satelliteSortMode;
constexpr int kSatSortNone = 4;

class CSatSortPushbutton;

class CSatsDataGrid : public CButtonCellsGridWnd {
public:
    static constexpr ROWCOL kRows = 21;
    static constexpr ROWCOL kCols = 9;
    static constexpr ROWCOL kFirstChannelRow = 2;
    static constexpr ROWCOL kLastChannelRow = 17;
    // The sort buttons' control ids, for the header cells of columns 1, 2, 4 and 5.
    static constexpr WORD kSortButtonIds[4] = {IDS_SAT_SORT_BUTTON_1, IDS_SAT_SORT_BUTTON_2, IDS_SAT_SORT_BUTTON_3,
                                              IDS_SAT_SORT_BUTTON_4};
    // Sent (not posted) to the owner when the sort mode changed, so the rows are sorted before the press ends.
    static constexpr UINT kMsgSortModeChanged = 0x8000 + 0x0D;

    // The owner gets the sort notices; it may be null.
    explicit CSatsDataGrid(CWnd* owner = nullptr) : m_owner(owner) {}

    void Initialize() override;
    // Writes the text into the cell when it differs from the cell's value; TRUE when it did.
    BOOL SetCellTextIfChanged(ROWCOL row, ROWCOL col, const CString& text);
    void OnClickedButtonRowCol(ROWCOL row, ROWCOL col) override;
    // The arrows cycle through the sort buttons.
    BOOL ProcessMoveKey(int direction, int count) override;

    // The sort button of a header column (1, 2, 4 or 5), or null.
    CSatSortPushbutton* SortButton(ROWCOL col);
    // The column widths for a drawing rectangle `width` pixels wide, columns 1 to 9.
    static void ColumnWidths(int width, int (&widths)[kCols]);

protected:
    // The sort buttons of the header row.
    BOOL IsButtonCell(ROWCOL row, ROWCOL col) const override { return row == 1 && col >= 1 && col <= 5; }

private:
    void RegisterSortButtons();
    void ApplyLayout();

    CWnd* m_owner;
};
