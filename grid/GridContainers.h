// Owning pointer arrays and the clean-up helpers the grid uses for collections of objects it owns.
#pragma once

#include "platform/base/CArrays.h"
#include "platform/base/CLists.h"
#include "platform/base/CMaps.h"

#include <algorithm>

// A pointer array of owned objects (or nulls); destroying it deletes every object.
class CGXPtrArrayPtrArray : public CPtrArray {
public:
    CGXPtrArrayPtrArray() = default;
    ~CGXPtrArrayPtrArray() override { DeleteAll(); }

    CObject* GetObjectAt(INT_PTR index) const { return static_cast<CObject*>(GetAt(index)); }
    // Deletes every object and empties the array.
    void DeleteAll();
};

// Deletes every value object of the map, then empties it.
void DeleteMapValues(CMapPtrToPtr& map);
// Deletes every object of the list, then empties it.
void DeleteObListObjects(CObList& list);
// Deletes every object of the array, then empties it.
void DeleteObArrayObjects(CObArray& array);

// Moves count elements from `from` so that the block begins at `dest` (numbered after the move); the
// elements keep their values and the places opened up, and any padding up to them, take `empty`.
template <class Array, class Value>
void MoveArrayBlock(Array& array, INT_PTR from, INT_PTR count, INT_PTR dest, Value empty) {
    if (dest == from || count <= 0 || (from >= array.GetSize() && dest >= array.GetSize())) {
        return;
    }
    INT_PTR source = from;
    INT_PTR insertAt = dest;
    if (dest < from) {
        source = from + count;
    } else {
        insertAt = dest + count;
    }
    if (array.GetSize() < insertAt) {
        array.InsertAt(array.GetSize(), empty, insertAt - array.GetSize());
    }
    array.InsertAt(insertAt, empty, count);
    for (INT_PTR i = 0; i < count && source + i < array.GetSize(); ++i) {
        array.SetAt(insertAt + i, array.GetAt(source + i));
    }
    if (source < array.GetSize()) {
        array.RemoveAt(source, std::min(count, array.GetSize() - source));
    }
}
