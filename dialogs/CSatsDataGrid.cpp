#include "dialogs/CSatsDataGrid.h"

#include "dialogs/CSatSortPushbutton.h"
#include "grid/CGXFont.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridColor.h"
#include "grid/GridResourceIds.h"
#include "platform/gdi/SystemColors.h"

int g_satelliteSortMode = kSatSortNone;

namespace {

constexpr WORD kStaticControl = IDS_GRID_CTRL_STATIC;
constexpr WORD kProgressControl = IDS_GRID_CTRL_PROGRESS;
constexpr unsigned kPenSolid = 0;
constexpr unsigned kPenNull = 5;
constexpr ROWCOL kFirstSummaryRow = 18;

// The header columns of the sort buttons and the sort mode each stands for.
struct SortColumn {
    ROWCOL col;
    WORD controlId;
    int mode;
    const TCHAR* caption;
};
constexpr SortColumn kSortColumns[] = {
    {1, CSatsDataGrid::kSortButtonIds[0], 0, u"PRN"},
    {2, CSatsDataGrid::kSortButtonIds[1], 1, u"El"},
    {4, CSatsDataGrid::kSortButtonIds[2], 2, u"Azm"},
    {5, CSatsDataGrid::kSortButtonIds[3], 3, u"Eb/No"},
};

const SortColumn* FindSortColumn(ROWCOL col) {
    for (const SortColumn& column : kSortColumns) {
        if (column.col == col) {
            return &column;
        }
    }
    return nullptr;
}

CGXPenValue BlackLine() {
    return CGXPenValue(kPenSolid, 1, RGB(0, 0, 0));
}

COLORREF MenuColour() {
    return SystemColorValue(COLOR_MENU);
}

} // namespace

void CSatsDataGrid::ColumnWidths(int width, int (&widths)[kCols]) {
    const int prn = static_cast<int>(width * 0.1153846153846);
    const int elevation = (8 * prn) / 10;
    const int signal = static_cast<int>(width * 0.1461538461538);
    const int bar = (width - 3 * prn - signal) / 4;
    widths[0] = prn;
    widths[1] = elevation;
    widths[2] = prn - elevation;
    widths[3] = prn;
    widths[4] = signal;
    for (int i = 5; i < 9; ++i) {
        widths[i] = bar;
    }
}

void CSatsDataGrid::Initialize() {
    CButtonCellsGridWnd::Initialize();
    GetParam()->EnableUndo(FALSE);
    RegisterSortButtons();

    CString noBorder;
    noBorder.LoadString(IDS_GRID_NO_BORDER);
    CGXStyle currentCell;
    currentCell.SetValue(noBorder);
    GetParam()->GetProperties()->SetUserProperty(IDS_GRID_PROP_CURRENT_CELL, currentCell);

    SetRowCount(kRows);
    SetColCount(kCols);
    SetColWidth(0, 0, 0);
    SetRowHeight(0, 0, 0);
    ApplyLayout();

    SetScrollBarMode(SB_BOTH, 0, TRUE);
    GetParam()->SetColResizeFlags(0);
    GetParam()->SetSelectionFlags(0);

    if (g_satelliteSortMode >= 0 && g_satelliteSortMode < kSatSortNone) {
        if (CSatSortPushbutton* button = SortButton(kSortColumns[g_satelliteSortMode].col)) {
            button->SetChecked();
        }
    }
}

void CSatsDataGrid::RegisterSortButtons() {
    CGXStylesMap* stylesMap = GetParam()->GetStylesMap();
    for (WORD id : kSortButtonIds) {
        RegisterControl(id, new CSatSortPushbutton(this));
        if (stylesMap) {
            stylesMap->RegisterUserAttribute(id);
        }
    }
}

void CSatsDataGrid::ApplyLayout() {
    RECT rect{};
    GetGridRect(rect);
    int widths[kCols];
    ColumnWidths(rect.right - rect.left, widths);
    const auto apply = [this](ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, const CGXStyle& style) {
        SetStyleRange(CGXRange(top, left, bottom, right), &style, kMergeOverride);
    };
    const auto header = [&](ROWCOL col) {
        const SortColumn* column = FindSortColumn(col);
        CGXStyle style;
        style.SetControlId(column->controlId).SetChoicesList(column->caption).SetHorizontalAlignment(1);
        apply(1, col, 1, col, style);
    };

    CGXStyle noLines;
    noLines.SetBorders(kBorderAll, CGXPenValue(kPenNull, 1, RGB(0, 0, 0)));
    apply(0, 0, kRows, kCols, noLines);
    CGXStyle rightRule;
    rightRule.SetBorders(kBorderRight, BlackLine());
    apply(1, 6, 1, 9, rightRule);

    SetColWidth(1, 1, widths[0]);
    header(1);
    SetColWidth(2, 2, widths[1]);
    SetColWidth(3, 3, widths[2]);
    SetCoveredCellsRowCol(1, 2, 1, 3);
    header(2);
    CGXStyle symbols;
    CGXFont symbolFont;
    symbolFont.SetFaceName(u"Symbol");
    symbols.SetFont(symbolFont).SetHorizontalAlignment(1);
    apply(kFirstChannelRow, 3, kLastChannelRow, 3, symbols);
    SetColWidth(4, 4, widths[3]);
    header(4);
    SetColWidth(5, 5, widths[4]);
    header(5);
    for (ROWCOL col = 6; col <= kCols; ++col) {
        SetColWidth(col, col, widths[col - 1]);
    }

    const TCHAR* const labels[] = {u"5", u"15", u"25", u"35"};
    for (ROWCOL col = 6; col <= kCols; ++col) {
        CGXStyle label;
        label.SetControlId(kStaticControl)
            .SetValue(labels[col - 6])
            .SetHorizontalAlignment(1)
            .SetInteriorColor(MenuColour())
            .SetBorders(kBorderBottom, BlackLine());
        apply(1, col, 1, col, label);
    }

    CGXStyle body;
    body.SetControlId(kStaticControl).SetHorizontalAlignment(2).SetInteriorColor(MenuColour());
    apply(kFirstChannelRow, 1, kLastChannelRow, 5, body);

    CGXStyle bars;
    bars.SetControlId(kProgressControl)
        .SetValueLong(0)
        .SetUserAttribute(IDS_GRID_UA_PROGRESS_LOW, u"00")
        .SetUserAttribute(IDS_GRID_UA_PROGRESS_HIGH, u"40")
        .SetUserAttribute(IDS_GRID_UA_PROGRESS_CAPTION, u"")
        .SetTextColor(SystemColorValue(COLOR_ACTIVECAPTION))
        .SetInteriorColor(MenuColour());
    apply(kFirstChannelRow, 6, kLastChannelRow, 6, bars);
    for (ROWCOL row = kFirstChannelRow; row <= kLastChannelRow; ++row) {
        SetCoveredCellsRowCol(row, 6, row, kCols);
    }

    CGXStyle summary;
    summary.SetControlId(kStaticControl).SetHorizontalAlignment(0).SetInteriorColor(MenuColour()).SetValue(u"");
    apply(kFirstSummaryRow, 1, kRows, kCols, summary);
    SetCoveredCellsRowCol(kFirstSummaryRow, 6, kFirstSummaryRow, 7);
    SetCoveredCellsRowCol(kFirstSummaryRow, 8, kFirstSummaryRow, 9);
    for (ROWCOL row = kFirstSummaryRow + 1; row <= kRows; ++row) {
        SetCoveredCellsRowCol(row, 1, row, kCols);
    }
}

CSatSortPushbutton* CSatsDataGrid::SortButton(ROWCOL col) {
    const SortColumn* column = FindSortColumn(col);
    return column ? dynamic_cast<CSatSortPushbutton*>(GetRegisteredControl(column->controlId)) : nullptr;
}

BOOL CSatsDataGrid::SetCellTextIfChanged(ROWCOL row, ROWCOL col, const CString& text) {
    if (GetValueRowCol(row, col) == text) {
        return FALSE;
    }
    CGXGridParam* param = GetParam();
    const BOOL locked = param->m_bLockUpdate;
    param->m_bLockUpdate = TRUE;
    CGXStyle value;
    value.SetValue(text);
    SetStyleRange(CGXRange(row, col, row, col), &value, kMergeOverride);
    param->m_bLockUpdate = locked;
    if (GetSafeHwnd()) {
        RedrawRowCol(row, col, row, col);
    }
    return TRUE;
}

void CSatsDataGrid::OnClickedButtonRowCol(ROWCOL row, ROWCOL col) {
    if (row != 1 || col < 1 || col > 5) {
        return;
    }
    for (ROWCOL i = 1; i <= 5; ++i) {
        if (i == 3) {
            continue;
        }
        CSatSortPushbutton* button = SortButton(i);
        if (i == col) {
            g_satelliteSortMode = button && button->IsChecked() ? FindSortColumn(i)->mode : kSatSortNone;
            if (m_owner && m_owner->GetSafeHwnd()) {
                m_owner->SendMessageW(kMsgSortModeChanged, 0, 0);
            }
        } else if (button) {
            button->ClearChecked();
        }
    }
}

BOOL CSatsDataGrid::ProcessMoveKey(int direction, int) {
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (!GetCurrentCell(row, col)) {
        return SetCurrentCell(1, 1, 10);
    }
    long next = static_cast<long>(col);
    switch (direction) {
    case 1: // up
    case 2: // left
        --next;
        if (next == 3) {
            next = 2;
        } else if (next <= 0) {
            next = 5;
        } else if (next > 5) {
            next = 1;
        }
        break;
    case 3: // down
    case 4: // right
        ++next;
        if (next == 3) {
            next = 4;
        } else if (next > 5 || next < 1) {
            next = 1;
        }
        break;
    default:
        return TRUE;
    }
    return SetCurrentCell(1, static_cast<ROWCOL>(next), 10);
}
