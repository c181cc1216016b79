#include "dialogs/CReferencePositionDialog.h"

#include "platform/base/MessageBoxConstants.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/CWinApp.h"
#include "platform/registry/Registry.h"
#include "receiver/AppProfileAccess.h"
#include "receiver/Geoid.h"

#include <cmath>

namespace {

constexpr const char16_t* kNumberChars = u"+-1234567890.";
constexpr double kOneSixtieth = 0.016666666666666666;

double ToDouble(const CString& text) {
    return wcstod(text, nullptr);
}

double RoundHundredths(double x) {
    return std::trunc(x * 100 + (x < 0 ? -0.5 : 0.5)) * 0.01;
}

CString Fixed2(double x) {
    CString text;
    text.Format(u"%04.2f", x);
    return text;
}

// Takes the leading run of number characters off `text`.
CString TakeNumber(CString& text) {
    CString run = text.SpanIncluding(kNumberChars);
    text = text.Mid(run.GetLength());
    return run;
}

CString TakeSeparator(CString& text) {
    CString run = text.SpanExcluding(kNumberChars);
    text = text.Mid(run.GetLength());
    return run;
}

bool IsEmptyOr(const CString& separator, const char16_t* allowed) {
    CString trimmed = separator;
    trimmed.Trim();
    return trimmed.IsEmpty() || trimmed == allowed;
}

} // namespace

void CReferencePositionDialog::ShowMessage(const CString& text) {
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

BOOL CReferencePositionDialog::ParseAngle(const CString& input, double& result) {
    if (input.IsEmpty()) {
        return FALSE;
    }
    CString text = input;
    text.TrimLeft();
    text.MakeUpper();
    const bool leadingMinus = !text.IsEmpty() && text[0] == u'-';
    bool ok = true;

    const CString degreesText = TakeNumber(text);
    double degrees = ToDouble(degreesText);
    if (degrees < -180 || degrees > 180) {
        ShowMessage(u"Degrees field out of range.");
        ok = false;
    }
    double minutes = 0;
    double seconds = 0;
    CString minutesText;
    bool haveMinutes = false;
    bool haveSeconds = false;
    CString trailing;
    const CString separator1 = TakeSeparator(text);
    if (text.IsEmpty()) {
        trailing = separator1;
    } else if (!IsEmptyOr(separator1, u"\u00B0")) {
        ShowMessage(u"Unknown characters in field.");
        ok = false;
    } else {
        minutesText = TakeNumber(text);
        haveMinutes = true;
        minutes = ToDouble(minutesText);
        if (minutes < 0 || minutes >= 60) {
            ShowMessage(u"Minutes field out of range.");
            ok = false;
        }
        const CString separator2 = TakeSeparator(text);
        if (text.IsEmpty()) {
            trailing = separator2;
        } else if (!IsEmptyOr(separator2, u"'")) {
            ShowMessage(u"Unknown characters in field.");
            ok = false;
        } else {
            const CString secondsText = TakeNumber(text);
            haveSeconds = true;
            seconds = ToDouble(secondsText);
            if (seconds < 0 || seconds >= 60) {
                ShowMessage(u"Seconds field out of range.");
                ok = false;
            }
            trailing = text;
        }
    }

    trailing.Trim();
    trailing.MakeUpper();
    if (!(trailing.IsEmpty() || trailing == u"\u00B0" || trailing == u"'" || trailing == u"\"")) {
        if (trailing == u"E" || trailing == u"W" || trailing == u"N" || trailing == u"S") {
            if (degrees < 0) {
                ShowMessage(u"Do not use both the \"-\" sign and N, S, E, or W indicators.");
                ok = false;
            } else if (trailing == u"W" || trailing == u"S") {
                degrees = -degrees;
            }
        } else {
            ShowMessage(u"Unknown characters at end of field.");
            ok = false;
        }
    }

    const bool fractionBeforeLast = haveSeconds ? (degreesText.Find(u'.') >= 0 || minutesText.Find(u'.') >= 0)
                                                : (haveMinutes && degreesText.Find(u'.') >= 0);
    if (fractionBeforeLast) {
        ShowMessage(u"Only the last field may have a fractional part.");
        ok = false;
    }
    if (!ok) {
        return FALSE;
    }
    if (degrees < 0) {
        minutes = -minutes;
        seconds = -seconds;
    }
    double value = (minutes + seconds * kOneSixtieth) * kOneSixtieth + degrees;
    if (leadingMinus && value > 0) {
        value = -value;
    }
    result = value;
    return TRUE;
}

BOOL CReferencePositionDialog::ParseAltitude(const CString& input, double& metres) {
    if (input.IsEmpty()) {
        return FALSE;
    }
    CString text = input;
    const double value = RoundHundredths(ToDouble(TakeNumber(text)));
    if (value < -1000 || value > 16000) {
        ShowMessage(u"Altitude field out of range.");
        return FALSE;
    }
    TakeSeparator(text);
    if (!text.IsEmpty()) {
        ShowMessage(u"Extraineous numbers in Altitude.");
        return FALSE;
    }
    metres = value;
    return TRUE;
}

CString CReferencePositionDialog::FormatAngle(double x, int format) {
    CString text;
    if (format == 0) {
        text.Format(u"%9.7f\u00B0", x);
        return text;
    }
    const int d = static_cast<int>(std::trunc(x));
    const CString sign = (d == 0 && x < 0) ? u"-" : u"";
    const double m0 = (std::fabs(x - d) + 5e-14) * 60;
    if (format == 1) {
        text.Format(u"%s%2.2d\u00B0  %8.5f'", static_cast<LPCTSTR>(sign), d, m0);
        return text;
    }
    const int m = static_cast<int>(std::trunc(m0));
    const double s = (m0 - m + 5e-14) * 60;
    text.Format(u"%s%2.2d\u00B0  %3d'  %7.4f\"", static_cast<LPCTSTR>(sign), d, m, s);
    return text;
}

double CReferencePositionDialog::ReferenceGeoidSeparation() const {
    return GeoidSeparation(m_locLatitude, m_locLongitude);
}

void CReferencePositionDialog::TakeLatitude(double value, int positionFormat) {
    m_locLatitude = value;
    m_locLatitudeText = FormatAngle(value, positionFormat);
    m_referenceGeoidSeparation = ReferenceGeoidSeparation();
    m_referenceGeoidText = Fixed2(m_referenceGeoidSeparation);
}

void CReferencePositionDialog::TakeLongitude(double value, int positionFormat) {
    m_locLongitude = value;
    m_locLongitudeText = FormatAngle(value, positionFormat);
    m_referenceGeoidSeparation = ReferenceGeoidSeparation();
    m_referenceGeoidText = Fixed2(m_referenceGeoidSeparation);
}

void CReferencePositionDialog::ShowAltitudes() {
    m_wgs84AltitudeText = Fixed2(m_wgs84Altitude);
    m_mslAltitudeText = Fixed2(m_mslAltitude);
}

void CReferencePositionDialog::PrepareOpening(int positionFormat) {
    m_locLatitudeText = FormatAngle(m_locLatitude, positionFormat);
    m_locLongitudeText = FormatAngle(m_locLongitude, positionFormat);
    m_wgs84Altitude = RoundHundredths(m_wgs84Altitude);
    m_mslAltitude = RoundHundredths(m_mslAltitude);
    ShowAltitudes();
    m_referenceGeoidSeparation = ReferenceGeoidSeparation();
    m_currentGeoidSeparation = RoundHundredths(m_currentGeoidSeparation);
    m_currentGeoidText = Fixed2(m_currentGeoidSeparation);
    m_referenceGeoidText = Fixed2(m_referenceGeoidSeparation);
}

BOOL CReferencePositionDialog::OnDeferredEdit(UINT controlId, int positionFormat) {
    BOOL parsed = TRUE;
    if (m_recalcArmed) {
        double value = 0;
        switch (controlId) {
        case kLatitudeId:
            if (!m_locLatitudeText.IsEmpty() && (parsed = ParseAngle(m_locLatitudeText, value))) {
                TakeLatitude(value, positionFormat);
            }
            break;
        case kLongitudeId:
            if (!m_locLongitudeText.IsEmpty() && (parsed = ParseAngle(m_locLongitudeText, value))) {
                TakeLongitude(value, positionFormat);
            }
            break;
        case kMslAltitudeId:
            if (!m_mslAltitudeText.IsEmpty() && (parsed = ParseAltitude(m_mslAltitudeText, value))) {
                if (value != m_mslAltitude) {
                    m_mslAltitude = value;
                    m_wgs84Altitude = value + m_referenceGeoidSeparation;
                    m_wgs84AltitudeText = Fixed2(m_wgs84Altitude);
                }
                m_mslAltitudeText = Fixed2(m_mslAltitude);
            }
            break;
        case kWgs84AltitudeId:
            if (!m_wgs84AltitudeText.IsEmpty() && (parsed = ParseAltitude(m_wgs84AltitudeText, value))) {
                if (value != m_wgs84Altitude) {
                    m_wgs84Altitude = value;
                    m_mslAltitude = value - m_referenceGeoidSeparation;
                    m_mslAltitudeText = Fixed2(m_mslAltitude);
                }
                m_wgs84AltitudeText = Fixed2(m_wgs84Altitude);
            }
            break;
        default:
            break;
        }
    }
    m_recalcArmed = 1;
    return parsed;
}

void CReferencePositionDialog::OnSelectLocation(const CString& name, int positionFormat) {
    CString record = AppGetProfileString(kDatabaseSection, name, u"");
    record.TrimLeft();
    auto nextField = [&record]() {
        CString field = TakeNumber(record);
        record.TrimLeft();
        return field;
    };
    double value = 0;
    if (ParseAngle(nextField(), value)) {
        TakeLatitude(value, positionFormat);
    }
    if (ParseAngle(nextField(), value)) {
        TakeLongitude(value, positionFormat);
    }
    if (ParseAltitude(nextField(), value)) {
        if (value != m_wgs84Altitude) {
            m_wgs84Altitude = value;
            m_mslAltitude = value - m_referenceGeoidSeparation;
        }
        ShowAltitudes();
    }
    if (ParseAltitude(nextField(), value)) {
        if (value != m_mslAltitude) {
            m_mslAltitude = value;
            m_wgs84Altitude = value + m_referenceGeoidSeparation;
        }
        ShowAltitudes();
    }
}

CString CReferencePositionDialog::LocationRecord() const {
    CString record;
    record.Format(u"%018.16f %018.16f %018.16f %018.16f", m_locLatitude, m_locLongitude, m_wgs84Altitude,
                  m_mslAltitude);
    return record;
}

BOOL CReferencePositionDialog::SaveLocation(const CString& name) const {
    if (name.IsEmpty()) {
        return FALSE;
    }
    return AppWriteProfileString(kDatabaseSection, name, LocationRecord());
}

BOOL CReferencePositionDialog::RemoveLocation(const CString& name) {
    BOOL removed = FALSE;
    if (HKEY section = AppProfile().GetSectionKey(kDatabaseSection)) {
        removed = RegDeleteValueW(section, name) == ERROR_SUCCESS;
        RegCloseKey(section);
    }
    if (!removed) {
        ShowMessage(u"No such item in the database.");
    }
    return removed;
}

std::vector<CString> CReferencePositionDialog::StoredLocationNames() {
    std::vector<CString> names;
    HKEY app = AppProfile().GetAppRegistryKey();
    if (!app) {
        return names;
    }
    HKEY section = nullptr;
    if (RegOpenKeyExW(app, kDatabaseSection, 0, KEY_READ, &section) == ERROR_SUCCESS) {
        for (DWORD index = 0;; ++index) {
            WCHAR name[80];
            DWORD length = 80;
            const LONG status =
                RegEnumValueW(section, index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (status == ERROR_NO_MORE_ITEMS) {
                break;
            }
            if (status == ERROR_SUCCESS) {
                names.emplace_back(name, static_cast<int>(length));
            }
        }
        RegCloseKey(section);
    }
    RegCloseKey(app);
    return names;
}

BEGIN_MESSAGE_MAP(CReferencePositionDialog, CPersistentDialog)
ON_CONTROL_RANGE(EN_KILLFOCUS, CReferencePositionDialog::kLatitudeId,
                 CReferencePositionDialog::kWgs84AltitudeId, OnEditKillFocus)
ON_WM_PARENTNOTIFY()
ON_CBN_SELCHANGE(CReferencePositionDialog::kLocationComboId, OnLocationSelChange)
ON_BN_CLICKED(CReferencePositionDialog::kSaveId, OnSaveClicked)
ON_BN_CLICKED(CReferencePositionDialog::kRemoveId, OnRemoveClicked)
ON_BN_CLICKED(CReferencePositionDialog::kLoadOnStartupId, OnLoadOnStartupClicked)
END_MESSAGE_MAP()

CReferencePositionDialog::CReferencePositionDialog(CWnd* pParent) : CPersistentDialog(IDD, pParent) {}

BOOL CReferencePositionDialog::OnInitDialog() {
    PrepareOpening(m_positionFormat);
    CPersistentDialog::OnInitDialog();
    SendDlgItemMessageW(kLocationComboId, CB_LIMITTEXT, kMaxNameLength, 0);
    for (const CString& name : StoredLocationNames()) {
        SendDlgItemMessageW(kLocationComboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.GetString()));
    }
    // A click on Cancel must be seen before the edit it takes the focus from is parsed.
    if (CWnd* cancel = GetDlgItem(IDCANCEL)) {
        cancel->ModifyStyleEx(WS_EX_NOPARENTNOTIFY, 0);
    }
    return TRUE;
}

void CReferencePositionDialog::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kWgs84AltitudeId, m_wgs84AltitudeText);
    DDX_Text(pDX, kMslAltitudeId, m_mslAltitudeText);
    DDX_Text(pDX, kLatitudeId, m_locLatitudeText);
    DDX_Text(pDX, kLongitudeId, m_locLongitudeText);
    DDX_Text(pDX, kCurrentGeoidId, m_currentGeoidText);
    DDX_Text(pDX, kReferenceGeoidId, m_referenceGeoidText);
    DDX_Text(pDX, kLocationComboId, m_locationName);
    DDX_Check(pDX, kLoadOnStartupId, m_loadOnStartup);
}

void CReferencePositionDialog::OnEditKillFocus(UINT id) {
    PostFieldCheck(id);
}

void CReferencePositionDialog::OnFieldCheck(UINT controlId) {
    if (!m_recalcArmed) {
        OnDeferredEdit(controlId, m_positionFormat); // only re-arms
        return;
    }
    UpdateData(TRUE);
    const BOOL parsed = OnDeferredEdit(controlId, m_positionFormat);
    UpdateData(FALSE);
    if (!parsed) {
        GotoDlgCtrl(GetDlgItem(static_cast<int>(controlId)));
    }
}

void CReferencePositionDialog::OnParentNotify(UINT message, LPARAM lParam) {
    CPersistentDialog::OnParentNotify(message, lParam);
    if (LOWORD(message) != WM_LBUTTONDOWN) {
        return;
    }
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const CWnd* cancel = GetDlgItem(IDCANCEL);
    if (cancel && ::ChildWindowFromPoint(m_hWnd, point) == cancel->m_hWnd) {
        OnCancelClickStarted();
    }
}

LRESULT CReferencePositionDialog::SelectedLocation(CString& name) const {
    const LRESULT index = SendDlgItemMessageW(kLocationComboId, CB_GETCURSEL, 0, 0);
    if (index != CB_ERR) {
        const LRESULT length =
            SendDlgItemMessageW(kLocationComboId, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        SendDlgItemMessageW(kLocationComboId, CB_GETLBTEXT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(name.GetBuffer(static_cast<int>(length) + 1)));
        name.ReleaseBuffer();
    }
    return index;
}

void CReferencePositionDialog::OnLocationSelChange() {
    CString name;
    const LRESULT index = SelectedLocation(name);
    if (index == CB_ERR) {
        return;
    }
    UpdateData(TRUE);
    OnSelectLocation(name, m_positionFormat);
    m_locationName = name;
    UpdateData(FALSE);
}

void CReferencePositionDialog::SaveAndListLocation() {
    if (!SaveLocation(m_locationName)) {
        return;
    }
    // Whole names: saving "Home" while "Home2" is listed still lists "Home".
    const LPARAM name = reinterpret_cast<LPARAM>(m_locationName.GetString());
    if (SendDlgItemMessageW(kLocationComboId, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), name) == CB_ERR) {
        SendDlgItemMessageW(kLocationComboId, CB_ADDSTRING, 0, name);
    }
}

void CReferencePositionDialog::OnSaveClicked() {
    UpdateData(TRUE);
    SaveAndListLocation();
}

void CReferencePositionDialog::OnOK() {
    UpdateData(TRUE);
    SaveAndListLocation();
    CPersistentDialog::OnOK();
}

void CReferencePositionDialog::OnRemoveClicked() {
    // The chosen entry, whatever has been typed over it since.
    CString name;
    const LRESULT index = SelectedLocation(name);
    if (index == CB_ERR) {
        return;
    }
    // A name the database no longer holds is reported, and goes from the list all the same.
    RemoveLocation(name);
    SendDlgItemMessageW(kLocationComboId, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    m_locationName.Empty();
    SetDlgItemTextW(kLocationComboId, m_locationName);
}

void CReferencePositionDialog::OnLoadOnStartupClicked() {
    m_loadOnStartup = IsDlgButtonChecked(kLoadOnStartupId) ? TRUE : FALSE;
}
