#include "grid/GridContainers.h"

void CGXPtrArrayPtrArray::DeleteAll() {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        delete GetObjectAt(i);
    }
    RemoveAll();
}

void DeleteMapValues(CMapPtrToPtr& map) {
    for (POSITION pos = map.GetStartPosition(); pos;) {
        void* key = nullptr;
        void* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        delete static_cast<CObject*>(value);
    }
    map.RemoveAll();
}

void DeleteObListObjects(CObList& list) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        delete list.GetNext(pos);
    }
    list.RemoveAll();
}

void DeleteObArrayObjects(CObArray& array) {
    for (INT_PTR i = 0; i < array.GetSize(); ++i) {
        delete array.GetAt(i);
    }
    array.RemoveAll();
}
