// Owning pointer arrays and the clean-up helpers the grid uses for collections of objects it owns.
#pragma once

#include "platform/base/CArrays.h"
#include "platform/base/CLists.h"
#include "platform/base/CMaps.h"

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
