// Where the clock panel puts its parts: the big clock across the top, then three rows of captioned blocks
// (UTC, PC time, sidereal; the position columns beside their Cur/Avg/Ref legend; latency and grid square),
// separated by rules, and the satellites grid at the bottom. Every block is as tall as the most lines its text can have, whatever it holds now, and
// as wide as the widest text it can show, so that no two parts overlap; the clock takes what height is left.
#pragma once

#include "platform/base/CRect.h"

#include <array>

// What the layout needs of the fonts: line heights, and the widths of the widest texts of each kind.
struct ClockPanelMetrics {
    int captionLine = 0;    // a caption line
    int textLine = 0;       // a line of a block's text
    int timeColumn = 0;     // the widest line of the UTC, PC time and sidereal blocks
    int legendColumn = 0;   // the widest of "Cur:", "Avg:" and "Ref:"
    int positionColumn = 0; // the widest coordinate or altitude, or caption
    int bottomColumn = 0;   // the widest latency or grid square, or caption
    CSize satsGrid;         // the satellites grid's size at its column widths; empty without it
};

struct ClockPanelLayout {
    static constexpr int kMargin = 12;
    static constexpr int kMinimumClockHeight = 32;
    static constexpr int kMaximumClockHeight = 120;
    static constexpr int kCaptionGap = 2; // between a caption and its text
    // The most lines each block's text has.
    static constexpr int kTimeLines = 5;
    static constexpr int kPositionLines = 3;
    static constexpr int kBottomLines = 1;

    CRect clock;
    std::array<CRect, 3> timeBlocks;     // UTC, PC time, sidereal
    CRect legend;                        // Cur/Avg/Ref, level with the position texts
    std::array<CRect, 4> positionBlocks; // latitude, longitude, altitude (GPS), altitude (MSL)
    std::array<CRect, 2> bottomBlocks;   // latency, grid square
    std::array<int, 3> rules{};          // the rows of the rules above the three rows of blocks
    CRect satsGrid;                      // below the blocks, as wide as the panel

    // The panel laid out in `client`; a client smaller than MinimumSize keeps the minimum's layout (and is
    // clipped), so the parts never overlap.
    static ClockPanelLayout LayOut(const CRect& client, const ClockPanelMetrics& metrics);
    static CSize MinimumSize(const ClockPanelMetrics& metrics);
    // The height of a block: its caption, a gap and its lines.
    static int BlockHeight(const ClockPanelMetrics& metrics, int lines);
};
