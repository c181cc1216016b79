#include "grid/GridColor.h"

#include "grid/GridSysColorCache.h"

GridStoredColor StoreGridColor(COLORREF value) {
    if (IsSystemColorValue(value)) {
        return {kColorKindSystem, 0xFE - (value >> 24)};
    }
    return {(value >> 24) & 3, value & 0xFFFFFF};
}

COLORREF LoadGridColor(const GridStoredColor& stored) {
    if (stored.kind == kColorKindSystem) {
        const int index = static_cast<int>(stored.bits);
        return SystemColorValue(index) | (GridSysColorCache::GetColor(index) & 0xFFFFFF);
    }
    return (stored.bits & 0xFFFFFF) | (static_cast<COLORREF>(stored.kind) << 24);
}

COLORREF ResolveGridColor(const GridStoredColor& stored) {
    if (stored.kind == kColorKindSystem) {
        return GridSysColorCache::GetColor(static_cast<int>(stored.bits));
    }
    return (stored.bits & 0xFFFFFF) | (static_cast<COLORREF>(stored.kind) << 24);
}
