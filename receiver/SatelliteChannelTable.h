// The receiver's channels as the decoders report them: 16 rows of seven 32-bit fields.
#pragma once

#include <array>
#include <cstdint>

struct SatelliteChannelRow {
    std::int32_t prn;       // 0 empty, 256 free (the template value)
    std::int32_t elevation; // degrees 0..90
    std::int32_t azimuth;   // degrees 0..359
    std::int32_t signal;    // 0 = not shown
    std::int32_t used;      // 1 when the decoder marks the channel used
    std::int32_t state;     // low byte the tracking mode, next byte the status flags
    std::int32_t trend;     // +1 rising, -1 setting, 0 unknown

    int Mode() const { return state & 0xFF; }
    int Flags() const { return (state >> 8) & 0xFF; }
    void SetModeAndFlags(int mode, int flags) { state = (mode & 0xFF) | ((flags & 0xFF) << 8); }

    friend bool operator==(const SatelliteChannelRow&, const SatelliteChannelRow&) = default;
};

constexpr int kSatelliteChannelRows = 16;
using SatelliteChannelTable = std::array<SatelliteChannelRow, kSatelliteChannelRows>;

// Status flags in the Oncore layout, and the two the u-blox decoder stores.
constexpr int kSatFlagUsed = 0x80;
constexpr int kSatFlagMomentumAlert = 0x40;
constexpr int kSatFlagUnhealthy = 0x10;
constexpr int kSatFlagInaccurate = 0x08;
constexpr int kSatFlagParityError = 0x01;
constexpr int kSatFlagUbxUsed = 0x01;

// The view's channel tables: the live one the decoders write and the refresh's three copies.
struct SatelliteChannelTables {
    // The template row: prn 256, everything else 0.
    static constexpr SatelliteChannelRow m_emptySatRow{256, 0, 0, 0, 0, 0, 0};

    SatelliteChannelTable m_satTable;
    SatelliteChannelTable m_satTableSorted;   // sorted by the last refresh; the previous state for trends
    SatelliteChannelTable m_satTablePrevious; // unsorted copy taken by the last refresh
    SatelliteChannelTable m_satTableShown;    // what each grid row shows; -1 marks an emptied cell

    SatelliteChannelTables() { Reset(); }
    // Every row of all four tables becomes the template row.
    void Reset();
    static void Fill(SatelliteChannelTable& table);
};
