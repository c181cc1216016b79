// Which GPS log to create or open, how often to write it and how to stamp its seconds. Nothing is stored:
// the choices last as long as the view's instance.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "resources/Resource.h"

class CLogType : public CPersistentDialog {
public:
    enum { IDD = IDD_LOG_TYPE };
    enum : UINT {
        kFirstKindId = 1146,
        kBinaryId = 1149,
        kRinexId = 1150,
        kIntervalId = 1153,
        kUseGpsSecondId = 1259,
        kFirstOffsetId = 1260,
    };

    explicit CLogType(CWnd* pParent = nullptr);
    // m_logKind
    enum LogKind : int { kRawData, kBinaryData, kPvtData, kNmeaPvt, kRinexData };
    // m_secondOffset
    enum SecondOffset : int { kZeroOffset, kPlusOneSecond, kMinusOneSecond };

    static constexpr int kIntervalCount = 12;
    // The "Log Every" list and the seconds of each entry.
    static LPCTSTR IntervalText(int index);
    // The seconds of a list index; 1 for index 0 and any index outside the list.
    static int IntervalFromIndex(int index);
    // Binary and Rinex logs need a Motorola binary link; Rinex also the receiver's own set-up.
    static bool IsLogKindEnabled(int kind, int interfaceMode);

    // Shown when the window exists, and kept for the next opening.
    void SetCaption(const CString& caption);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Takes the interval of the chosen list entry (after reading the controls, with a window).
    void OnOK() override;

    int m_logInterval = 1;
    int m_logKind = kRawData;
    int m_intervalIndex = 0;
    BOOL m_useGpsSecond = FALSE;
    int m_secondOffset = kZeroOffset;
    CString m_caption = u"New File Type";
};
