// A last-in first-out stack of owned objects (the head of the list is the top); the chart keeps its saved
// clip regions on one.
#pragma once

#include "platform/base/CLists.h"

class CObStack : public CObList {
public:
    CObStack() = default;
    ~CObStack() override;

    // The top object, now the caller's; null when the stack is empty.
    virtual CObject* Pop();
    virtual void Push(CObject* object);
};
