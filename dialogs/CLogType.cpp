#include "dialogs/CLogType.h"

#include "receiver/ReceiverState.h"

namespace {

constexpr struct {
    LPCTSTR text;
    int seconds;
} kIntervals[CLogType::kIntervalCount] = {
    {u"Second", 1},      {u"2 Seconds", 2},   {u"3 Seconds", 3},   {u"4 Seconds", 4},
    {u"5 Seconds", 5},   {u"6 Seconds", 6},   {u"10 Seconds", 10}, {u"12 Seconds", 12},
    {u"15 Seconds", 15}, {u"20 Seconds", 20}, {u"30 Seconds", 30}, {u"60 Seconds", 60},
};

} // namespace

LPCTSTR CLogType::IntervalText(int index) {
    return index >= 0 && index < kIntervalCount ? kIntervals[index].text : nullptr;
}

int CLogType::IntervalFromIndex(int index) {
    return index >= 1 && index < kIntervalCount ? kIntervals[index].seconds : 1;
}

bool CLogType::IsLogKindEnabled(int kind, int interfaceMode) {
    switch (kind) {
    case kBinaryData:
        return interfaceMode == kModeMotorolaBinary || interfaceMode == kModeMotorolaRxOnly;
    case kRinexData:
        return interfaceMode == kModeMotorolaBinary;
    default:
        return true;
    }
}
