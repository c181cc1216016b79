#include "chart/CObStack.h"

CObStack::~CObStack() {
    for (POSITION pos = GetHeadPosition(); pos;) {
        delete GetNext(pos);
    }
    RemoveAll();
}

CObject* CObStack::Pop() {
    return IsEmpty() ? nullptr : RemoveHead();
}

void CObStack::Push(CObject* object) {
    AddHead(object);
}
