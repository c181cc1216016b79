#include "dialogs/CLogType.h"

#include "platform/framework/AfxControls.h"

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

CLogType::CLogType(CWnd* pParent) : CPersistentDialog(IDD, pParent) {}

void CLogType::SetCaption(const CString& caption) {
    m_caption = caption;
    if (GetSafeHwnd()) {
        SetWindowTextW(caption);
    }
}

BOOL CLogType::OnInitDialog() {
    SendDlgItemMessageW(kIntervalId, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kIntervalCount; ++i) {
        SendDlgItemMessageW(kIntervalId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(IntervalText(i)));
    }
    CPersistentDialog::OnInitDialog();
    SetCaption(m_caption);
    // The kind chosen before stays checked even where it is no longer offered.
    for (UINT id : {kBinaryId, kRinexId}) {
        const int kind = id == kBinaryId ? kBinaryData : kRinexData;
        if (CWnd* button = GetDlgItem(static_cast<int>(id))) {
            button->EnableWindow(IsLogKindEnabled(kind, g_interfaceMode) ? TRUE : FALSE);
        }
    }
    return TRUE;
}

void CLogType::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, kFirstKindId, m_logKind);
    DDX_CBIndex(pDX, kIntervalId, m_intervalIndex);
    DDX_Check(pDX, kUseGpsSecondId, m_useGpsSecond);
    DDX_Radio(pDX, kFirstOffsetId, m_secondOffset);
}

void CLogType::OnOK() {
    const bool window = GetSafeHwnd() != nullptr;
    if (window && !UpdateData(TRUE)) {
        return;
    }
    m_logInterval = IntervalFromIndex(m_intervalIndex);
    if (window) {
        CPersistentDialog::OnOK();
    }
}
