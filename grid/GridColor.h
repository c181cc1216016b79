// Colour values of the grid's styles, brushes and pens. A colour travels as a 32-bit value whose top byte
// tells how to read it: 0x41..0xFE names the system colour 0xFE minus that byte (0xF9 is the window colour,
// index 5), any other top byte gives the colour kind in its low two bits (0 RGB, 1 palette index,
// 2 palette-relative RGB; 0xFF gives 3) with the colour in the low 24 bits.
//
// Stored, a colour is a 2-bit kind (3 for a system colour) and 24 bits (the colour, or the system-colour
// index). Read back, a system colour gives its current RGB value with the top byte that names it, so the
// reference survives a read and a store; the archive's colour form is that same read-back value.
#pragma once

#include "platform/gdi/GdiTypes.h"

constexpr unsigned kColorKindSystem = 3;

struct GridStoredColor {
    unsigned kind = 0; // 0-2 as in the value, 3 system colour
    DWORD bits = 0;    // 24 bits: the colour or the system-colour index
};

// Whether the value names a system colour (top byte 0x41..0xFE).
constexpr bool IsSystemColorValue(COLORREF value) {
    const DWORD top = value >> 24;
    return top >= 0x41 && top <= 0xFE;
}

// The value that names system colour `index`.
constexpr COLORREF SystemColorValue(int index) {
    return static_cast<COLORREF>(0xFE - index) << 24;
}

GridStoredColor StoreGridColor(COLORREF value);
// System colours come back with their current RGB value from the grid's colour cache.
COLORREF LoadGridColor(const GridStoredColor& stored);
// The colour to draw with: a system colour resolved through the cache, other kinds as stored with their
// kind in the top byte.
COLORREF ResolveGridColor(const GridStoredColor& stored);
