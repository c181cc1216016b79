#include "app/ClockPanelLayout.h"

#include <algorithm>

namespace {

// The blocks' rows and the grid below them, with the margin above the grid.
int RowsHeight(const ClockPanelMetrics& m) {
    const int grid = m.satsGrid.cy > 0 ? m.satsGrid.cy + ClockPanelLayout::kMargin : 0;
    return ClockPanelLayout::BlockHeight(m, ClockPanelLayout::kTimeLines) +
           ClockPanelLayout::BlockHeight(m, ClockPanelLayout::kPositionLines) +
           ClockPanelLayout::BlockHeight(m, ClockPanelLayout::kBottomLines) + grid;
}

} // namespace

int ClockPanelLayout::BlockHeight(const ClockPanelMetrics& m, int lines) {
    return m.captionLine + kCaptionGap + lines * m.textLine;
}

CSize ClockPanelLayout::MinimumSize(const ClockPanelMetrics& m) {
    const int width = std::max({3 * m.timeColumn, m.legendColumn + 4 * m.positionColumn, 2 * m.bottomColumn,
                                static_cast<int>(m.satsGrid.cx)});
    return CSize(width + 2 * kMargin, kMinimumClockHeight + RowsHeight(m) + 5 * kMargin);
}

ClockPanelLayout ClockPanelLayout::LayOut(const CRect& client, const ClockPanelMetrics& m) {
    const CSize minimum = MinimumSize(m);
    const int left = client.left + kMargin;
    const int width = std::max(static_cast<int>(client.Width()), static_cast<int>(minimum.cx)) - 2 * kMargin;
    const int spare = std::max(static_cast<int>(client.Height()), static_cast<int>(minimum.cy)) -
                      RowsHeight(m) - 5 * kMargin;
    const int clockHeight = std::clamp(spare, kMinimumClockHeight, kMaximumClockHeight);

    ClockPanelLayout l;
    int top = client.top + kMargin;
    l.clock = CRect(left, top, left + width, top + clockHeight);
    top = l.clock.bottom + kMargin;

    // Each row: a rule half a margin above it, then its blocks side by side.
    const auto row = [&](int index, int lines) {
        l.rules[index] = top - kMargin / 2;
        const int bottom = top + BlockHeight(m, lines);
        const int rowTop = top;
        top = bottom + kMargin;
        return std::pair{rowTop, bottom};
    };

    const auto [timeTop, timeBottom] = row(0, kTimeLines);
    const int third = width / 3;
    for (int i = 0; i < 3; ++i) {
        const int right = i == 2 ? left + width : left + (i + 1) * third;
        l.timeBlocks[i] = CRect(left + i * third, timeTop, right, timeBottom);
    }

    const auto [positionTop, positionBottom] = row(1, kPositionLines);
    l.legend = CRect(left, positionTop + m.captionLine + kCaptionGap, left + m.legendColumn, positionBottom);
    const int columns = left + m.legendColumn;
    const int column = (width - m.legendColumn) / 4;
    for (int i = 0; i < 4; ++i) {
        const int right = i == 3 ? left + width : columns + (i + 1) * column;
        l.positionBlocks[i] = CRect(columns + i * column, positionTop, right, positionBottom);
    }

    const auto [bottomTop, bottomBottom] = row(2, kBottomLines);
    l.bottomBlocks[0] = CRect(left, bottomTop, left + third, bottomBottom);
    l.bottomBlocks[1] = CRect(left + third, bottomTop, left + 2 * third, bottomBottom);
    if (m.satsGrid.cy > 0) {
        // Centred under the blocks at its own width: its columns were sized once, for that width.
        const int gridLeft = left + std::max(0, (width - static_cast<int>(m.satsGrid.cx)) / 2);
        l.satsGrid = CRect(gridLeft, top, gridLeft + m.satsGrid.cx, top + m.satsGrid.cy);
    }
    return l;
}
