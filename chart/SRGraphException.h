// The chart's one exception: a numeric code whose text comes from the string table. Thrown by pointer, the
// framework's way; whoever catches it releases it with Delete().
#pragma once

#include "platform/base/Exceptions.h"

// The codes the chart raises.
enum SRGraphError {
    SRGE_NONE = 0,
    SRGE_GROUP_RANGE = 2,
    SRGE_INDEX_RANGE = 3,
    SRGE_DYNAMIC_DATA = 4,
    SRGE_INCOMPATIBLE_DATA = 5,
    SRGE_NO_BUFFER = 6,
    SRGE_NULL_ITEM = 7,
    SRGE_TEMPLATE_COMPONENT = 8,
    SRGE_TEMPLATE_FILL = 9,
    SRGE_TEMPLATE_FONT = 10,
    SRGE_TEMPLATE_LEGEND = 11,
    SRGE_TEMPLATE_DATA = 12,
    SRGE_TEMPLATE_COMMAND = 13,
    SRGE_DATA_TYPE = 15,
    SRGE_DISPLAY_AREA_ZERO = 17,
    SRGE_OUTSIDE_DRAW = 18,
    SRGE_NO_POLYGON = 19,
    SRGE_GRAPH_TYPE = 21,
    SRGE_NOT_LOGARITHMIC = 22,
    SRGE_ODD_COUNT = 23,
};

class SRGraphException : public CException {
    DECLARE_DYNCREATE(SRGraphException)

public:
    explicit SRGraphException(int code = 0) : m_nCode(code) {}

    // Empty buffer, help id 0 and FALSE for code 0 or a text that does not load; otherwise the text, cut to
    // fit with its terminator, and the string id as help id.
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext = nullptr) override;
    virtual UINT GetDefaultMessageId() const;
    virtual UINT GetMessageId() const;

    int m_nCode;
};

[[noreturn]] void ThrowSRGraphException(int code);
// The exception's text in a message box with the exclamation icon.
void ReportSRGraphException(SRGraphException* exception);
