// Receiver events that go nowhere, for tests that drive the link without a view.
#pragma once

#include "receiver/ReceiverEvents.h"

class QuietReceiverEvents : public ReceiverEvents {
public:
    void PostGpsDataQueued() override {}
    void PostPpsTick() override {}
    void ShowLinkError(const CString&) override {}
    void AddRawDataLine(const CString&) override {}
};
