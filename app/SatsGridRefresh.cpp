#include "app/SatsGridRefresh.h"

#include "dialogs/CSatsDataGrid.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "grid/GridResourceIds.h"
#include "receiver/ReceiverState.h"

#include <cstdlib>

namespace {

int g_sortColumn = 0;

constexpr unsigned kPenDash = 1;
constexpr unsigned kPenNull = 5;
constexpr ROWCOL kBarCol = 6;
constexpr int kMaxBarSignal = 40;
// The trend arrows in the column's symbol font.
constexpr TCHAR kUpArrow = 0xAD;
constexpr TCHAR kDownArrow = 0xAF;

CGXStyle NumberCell(std::int32_t value) {
    CString text;
    text.Format(u"%ld", static_cast<long>(value));
    CGXStyle style;
    style.SetValue(text).SetValueType(kValueNumber);
    return style;
}

CGXStyle& WithBarRule(CGXStyle& style, unsigned penStyle) {
    return style.SetBorders(kBorderRight, CGXPenValue(penStyle, 1, RGB(0, 0, 0)));
}

struct Constellation {
    int first;
    int last;
    const TCHAR* name;
};

// By id; the QZSS range starts at 183 in the Oncore and NMEA modes and at 193 in the u-blox ones.
const TCHAR* ConstellationOf(int prn, bool ublox) {
    static const Constellation kRanges[] = {
        {1, 32, u"GPS, "},      {120, 158, u"SBAS, "},    {211, 246, u"Galileo, "}, {159, 163, u"BeiDou, "},
        {33, 64, u"BeiDou, "},  {173, 182, u"IMES, "},    {193, 197, u"QZSS, "},    {65, 96, u"GLONASS, "},
        {255, 255, u"GLONASS, "},
    };
    if (!ublox && prn >= 183 && prn <= 192) {
        return u"QZSS, ";
    }
    for (const Constellation& range : kRanges) {
        if (prn >= range.first && prn <= range.last) {
            return range.name;
        }
    }
    return u"";
}

} // namespace

int CompareSatelliteRows(const void* a, const void* b) {
    const std::int32_t left = static_cast<const std::int32_t*>(a)[g_sortColumn];
    const std::int32_t right = static_cast<const std::int32_t*>(b)[g_sortColumn];
    const int order = left < right ? -1 : (left > right ? 1 : 0);
    return g_satelliteSortMode == 1 || g_satelliteSortMode == 3 ? -order : order;
}

void SortSatelliteRows(void* rows, std::size_t count, std::size_t rowSize, int column) {
    g_sortColumn = column;
    std::qsort(rows, count, rowSize, CompareSatelliteRows);
}

CString SatsGridRefresh::SatelliteText(const SatelliteChannelRow& row, int interfaceMode) {
    if (interfaceMode == 5 || interfaceMode == 7 || interfaceMode == 8) {
        return CString();
    }
    const bool ublox = interfaceMode == kModeUbloxUbx || interfaceMode == kModeUbloxNmea;
    const int flags = row.Flags();
    CString text = ConstellationOf(row.prn, ublox);
    if (ublox) {
        if (!(flags & 0x01)) {
            text += u"Not Used, ";
        }
        if (flags & kSatFlagUnhealthy) {
            text += u"Unhealthy, ";
        }
    } else if (row.prn >= 1 && row.prn <= 32) {
        if (flags & kSatFlagMomentumAlert) {
            text += u"Momentum Alert, ";
        }
        if (flags & kSatFlagUnhealthy) {
            text += u"Unhealthy, ";
        }
        if (flags & kSatFlagInaccurate) {
            text += u"SA, ";
        }
        if (flags & kSatFlagParityError) {
            text += u"Parity Error, ";
        }
    }
    if (text.GetLength() > 2) {
        text = text.Left(text.GetLength() - 2);
    }
    return text;
}

CString SatsGridRefresh::ChannelStateText(const SatelliteChannelRow& row, int interfaceMode) {
    const int mode = row.Mode();
    if (interfaceMode == kModeUbloxUbx) {
        static const TCHAR* const kUbxStates[] = {u"Idle", u"Searching", u"Aquired", u"Detected", u"Code Lock",
                                                  u"",     u"",          u""};
        if (row.Flags() & kSatFlagUnhealthy) {
            return u"Unhealthy";
        }
        return mode <= 7 ? kUbxStates[mode] : u"Unknown Mode";
    }
    static const TCHAR* const kStates[] = {u"Code Search",         u"Code Acquire",   u"AGC Set",
                                           u"Freq Acquire",        u"Bit Sync Detect", u"Message Sync Detect",
                                           u"Time Available",      u"Ephemeris Acquire", u"Available"};
    return mode <= 8 ? kStates[mode] : u"Not Locked";
}

BOOL SatsGridRefresh::IsUbx() const {
    return m_interfaceMode == kModeUbloxUbx;
}

void SatsGridRefresh::WorkOutTrends() {
    for (SatelliteChannelRow& row : m_tables.m_satTable) {
        if (row.trend == 0) {
            for (const SatelliteChannelRow& before : m_tables.m_satTableSorted) {
                if (before.prn != row.prn) {
                    continue;
                }
                if (before.elevation == 0) {
                    row.trend = 0;
                } else if (before.elevation == row.elevation) {
                    row.trend = before.trend;
                } else {
                    row.trend = row.elevation > before.elevation ? 1 : -1;
                }
                break;
            }
        }
        const int usedFlag = IsUbx() ? kSatFlagUbxUsed : kSatFlagUsed;
        if (!(row.Flags() & usedFlag)) {
            row.signal = 0;
        }
    }
}

BOOL SatsGridRefresh::IsShown(const SatelliteChannelRow& row) const {
    return row.prn != 0 && row.signal != 0 && (IsUbx() || row.prn < 256);
}

void SatsGridRefresh::Store(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    if (m_grid) {
        m_grid->SetStyleRange(CGXRange(row, col, row, col), &style, kMergeOverride);
    }
}

void SatsGridRefresh::RedrawFrom(ROWCOL row, ROWCOL firstCol) {
    if (!m_grid || !m_grid->GetSafeHwnd()) {
        return;
    }
    CGXGridParam* param = m_grid->GetParam();
    param->m_bLockUpdate = FALSE;
    m_grid->RedrawRowCol(row, firstCol, row, kBarCol);
    param->m_bLockUpdate = TRUE;
}

ROWCOL SatsGridRefresh::WriteRow(ROWCOL h, const SatelliteChannelRow& row, SatelliteChannelRow& shown,
                                 SatsGridRefreshResult& result) {
    ROWCOL first = 0;
    const auto changed = [&first](ROWCOL col) {
        if (!first || col < first) {
            first = col;
        }
    };
    const bool newSatellite = row.prn != shown.prn;
    if (row.prn < 255 && newSatellite) {
        Store(h, 1, NumberCell(row.prn));
        changed(1);
    }
    if (row.elevation <= 90 && row.elevation != shown.elevation) {
        Store(h, 2, NumberCell(row.elevation));
        changed(2);
    }
    if (row.trend != shown.trend) {
        CGXStyle trend;
        trend.SetValue(row.trend == 1 ? CString(kUpArrow) : row.trend == -1 ? CString(kDownArrow) : CString());
        Store(h, 3, trend);
        changed(3);
    }
    if (row.azimuth < 360 && row.azimuth != shown.azimuth) {
        Store(h, 4, NumberCell(row.azimuth));
        changed(4);
    }
    if (row.prn >= 1 && row.prn <= 32) {
        result.shownMask |= 1u << (row.prn - 1);
    }
    const bool used = (row.Flags() & kSatFlagUsed) || IsUbx();
    const bool signalChanged = row.signal != shown.signal || newSatellite;
    const bool stateChanged = row.Mode() != shown.Mode() || row.Flags() != shown.Flags() || newSatellite;
    if (used) {
        if (row.signal <= kMaxBarSignal && signalChanged) {
            Store(h, 5, NumberCell(row.signal));
            CGXStyle bar = NumberCell(row.signal);
            Store(h, kBarCol, WithBarRule(bar, kPenDash));
            changed(5);
        }
        if (stateChanged) {
            CGXStyle caption;
            caption.SetUserAttribute(IDS_GRID_UA_PROGRESS_CAPTION, SatelliteText(row, m_interfaceMode));
            Store(h, kBarCol, WithBarRule(caption, kPenDash));
            changed(kBarCol);
        }
    } else {
        if (signalChanged) {
            Store(h, 5, NumberCell(row.signal));
            changed(5);
        }
        if (stateChanged) {
            CGXStyle caption;
            caption.SetValue(u"").SetUserAttribute(IDS_GRID_UA_PROGRESS_CAPTION,
                                                   ChannelStateText(row, m_interfaceMode));
            Store(h, kBarCol, WithBarRule(caption, kPenDash));
            changed(kBarCol);
        }
    }
    shown = row;
    return first;
}

ROWCOL SatsGridRefresh::EmptyRow(ROWCOL h, SatelliteChannelRow& shown) {
    if (shown == kEmptiedRow) {
        return 0;
    }
    ROWCOL first = 0;
    const auto empty = [&](ROWCOL col) {
        CGXStyle style;
        style.SetValue(u"");
        Store(h, col, style);
        if (!first) {
            first = col;
        }
    };
    if (shown.prn != 0) {
        empty(1);
    }
    if (shown.elevation != -1) {
        empty(2);
    }
    if (shown.trend != 0) {
        empty(3);
    }
    if (shown.azimuth != -1) {
        empty(4);
    }
    if (shown.signal != -1) {
        empty(5);
    }
    CGXStyle bar;
    bar.SetUserAttribute(IDS_GRID_UA_PROGRESS_CAPTION, u"");
    if (shown.signal != -1) {
        bar.SetValue(u"");
    }
    Store(h, kBarCol, WithBarRule(bar, kPenNull));
    if (!first) {
        first = kBarCol;
    }
    shown = kEmptiedRow;
    return first;
}

SatsGridRefreshResult SatsGridRefresh::Run() {
    SatsGridRefreshResult result;
    WorkOutTrends();
    m_tables.m_satTableSorted = m_tables.m_satTable;
    m_tables.m_satTablePrevious = m_tables.m_satTable;
    if (g_satelliteSortMode >= 0 && g_satelliteSortMode < kSatSortNone) {
        SortSatelliteRows(m_tables.m_satTableSorted.data(), m_tables.m_satTableSorted.size(),
                          sizeof(SatelliteChannelRow), g_satelliteSortMode);
    }

    CGXGridParam* param = m_grid ? m_grid->GetParam() : nullptr;
    const BOOL locked = param ? param->m_bLockUpdate : FALSE;
    if (param) {
        param->m_bLockUpdate = TRUE;
    }
    std::size_t next = 0;
    for (int g = 0; g < kSatelliteChannelRows; ++g) {
        const ROWCOL h = static_cast<ROWCOL>(g) + CSatsDataGrid::kFirstChannelRow;
        while (next < m_tables.m_satTableSorted.size() && !IsShown(m_tables.m_satTableSorted[next])) {
            ++next;
        }
        SatelliteChannelRow& shown = m_tables.m_satTableShown[g];
        const ROWCOL first = next < m_tables.m_satTableSorted.size()
                                 ? WriteRow(h, m_tables.m_satTableSorted[next++], shown, result)
                                 : EmptyRow(h, shown);
        if (first) {
            RedrawFrom(h, first);
            result.skyPlotChanged = TRUE;
        }
    }
    if (param) {
        param->m_bLockUpdate = locked;
    }
    return result;
}
