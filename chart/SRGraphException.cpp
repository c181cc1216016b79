#include "chart/SRGraphException.h"

#include "chart/ChartResourceIds.h"
#include "chart/ChartStrings.h"

#include <iterator>

IMPLEMENT_DYNCREATE(SRGraphException, CException)

namespace {
// String ids by code, 0 to 23.
constexpr UINT kMessageIds[] = {53512, 53560, 53561, 53562, 53563, 53564, 53513, 53524,
                                53565, 53566, 53567, 53511, 53568, 53569, 53570, 53514,
                                53515, 53516, 53519, 53520, 53518, 53521, 53522, 53523};
} // namespace

UINT SRGraphException::GetDefaultMessageId() const {
    return IDS_SRG_UNDEFINED_EXCEPTION;
}

UINT SRGraphException::GetMessageId() const {
    if (m_nCode >= 0 && m_nCode < static_cast<int>(std::size(kMessageIds))) {
        return kMessageIds[m_nCode];
    }
    return GetDefaultMessageId();
}

BOOL SRGraphException::GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext) {
    if (helpContext) {
        *helpContext = 0;
    }
    if (!buffer) {
        return FALSE;
    }
    if (maxUnits > 0) {
        buffer[0] = 0;
    }
    CString text;
    if (m_nCode == 0 || !ChartLoadString(GetMessageId(), text)) {
        return FALSE;
    }
    CopyMessage(text, buffer, maxUnits, nullptr);
    if (helpContext) {
        *helpContext = GetMessageId();
    }
    return TRUE;
}

void ThrowSRGraphException(int code) {
    throw new SRGraphException(code);
}

void ReportSRGraphException(SRGraphException* exception) {
    TCHAR text[256];
    exception->GetErrorMessage(text, 256);
    ChartMessageBox(text, MB_ICONEXCLAMATION);
}
