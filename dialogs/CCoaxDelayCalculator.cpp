#include "dialogs/CCoaxDelayCalculator.h"

#include "platform/framework/CWinApp.h"

#include "platform/base/WideRuntime.h"
#include "receiver/AppProfileAccess.h"

#include <array>
#include <cmath>

namespace {

const char16_t* const kCables[] = {u".659  Poly",
                                   u"RG-58A/U",
                                   u"RG-58C/U",
                                   u"RG-213",
                                   u"RG-59B/U",
                                   u".660  Poly",
                                   u"RG-58/U",
                                   u"RG-214/U",
                                   u"RG-223/U",
                                   u".685  RG-316/U",
                                   u".695  Teflon",
                                   u"RG-174/U",
                                   u"RG-178B/U",
                                   u"RG-196A/U",
                                   u".700  RG-8X/Marine",
                                   u".780  Foam",
                                   u"RG-8X",
                                   u"RG-8FM",
                                   u"RG-59/CATV",
                                   u".820  micro-cell foam",
                                   u"RG-6/QUAD CATV",
                                   u".840  air dielectric",
                                   u"9086",
                                   u"9096",
                                   u"9913",
                                   u"LMR-240",
                                   u"LMR-400",
                                   u"LMR-500",
                                   u"LMR-600",
                                   u"LMR-900",
                                   u"LMR-1200",
                                   u"LMR-1700",
                                   u"RG-62A/U",
                                   u".870  micro-cell foam ",
                                   u".890  micro-cell foam "};

struct CableName {
    const char16_t* name;
    double factor;
};

// Compared with the upper-cased text.
constexpr std::array<CableName, 37> kNames{{
    {u"RG-58A/U", 0.659},
    {u"RG-58C/U", 0.659},
    {u"RG-213", 0.659},
    {u"RG-59B/U", 0.659},
    {u"", 0.66},
    {u"POLY", 0.66},
    {u"RG-58/U", 0.66},
    {u"RG-214/U", 0.66},
    {u"RG-223/U", 0.66},
    {u"RG-316/U", 0.685},
    {u"TEFLON", 0.695},
    {u"RG-174/U", 0.695},
    {u"RG-178B/U", 0.695},
    {u"RG-196A/U", 0.695},
    {u"RG-8X/MARINE", 0.7},
    {u"FOAM", 0.78},
    {u"RG-8X", 0.78},
    {u"RG-8FM", 0.78},
    {u"RG-59/CATV", 0.78},
    {u"MICRO-CELL FOAM", 0.82},
    {u"RG-6/QUAD CATV", 0.82},
    {u"AIR DIELECTRIC", 0.84},
    {u"AIR", 0.84},
    {u"9086", 0.84},
    {u"9096", 0.84},
    {u"9913", 0.84},
    {u"LMR-240", 0.84},
    {u"RG-62A/U", 0.84},
    {u"LMR-400", 0.85},
    {u"LMR-500", 0.86},
    {u"LMR-600", 0.87},
    {u"LMR-900", 0.87},
    {u"MICROCELL FOAM", 0.87},
    {u"LMR-1200", 0.88},
    {u"LMR-1700", 0.89},
}};

double RowDelay(double unitFactor, double length, double velocityFactor) {
    if (velocityFactor == 0) {
        return 0;
    }
    return std::trunc(unitFactor * length / (velocityFactor * 0.3) * 10 + 0.5) * 0.1;
}

bool LengthValid(double length) {
    return length >= 0 && length <= CCoaxDelayCalculator::kMaxLength;
}

} // namespace

const char16_t* const* CCoaxDelayCalculator::CableList(int* count) {
    *count = static_cast<int>(std::size(kCables));
    return kCables;
}

double CCoaxDelayCalculator::VelocityFactorFromText(const CString& text) {
    CString upper = text;
    upper.MakeUpper();
    double number = 0;
    if (swscanf(upper, u"%lf", &number) == 1 && number >= 0 && number <= 1) {
        // Only the leading run of digits and points counts: ".659  Poly" is 0.659, " .5" is 0.
        const int run = upper.SpanIncluding(u".0123456789").GetLength();
        return wcstod(upper.Left(run), nullptr);
    }
    for (const CableName& entry : kNames) {
        if (upper == entry.name) {
            return entry.factor;
        }
    }
    return -1;
}

double CCoaxDelayCalculator::UnitFactorFromText(const CString& text) {
    CString upper = text;
    upper.MakeUpper();
    return upper == u"FEET" ? 0.3048 : 1.0;
}

void CCoaxDelayCalculator::Compute() {
    m_delay1 = RowDelay(m_unitFactor1, m_length1, m_velocityFactor1);
    m_delay2 = RowDelay(m_unitFactor2, m_length2, m_velocityFactor2);
    m_totalDelay = std::trunc((m_delay1 + m_delay2) * 10 + 0.5) * 0.1;
}

void CCoaxDelayCalculator::OnDeferredEdit(UINT controlId) {
    if (m_recalcArmed) {
        switch (controlId) {
        case kDimension1Id:
            m_unitFactor1 = UnitFactorFromText(m_dimension1);
            break;
        case kDimension2Id:
            m_unitFactor2 = UnitFactorFromText(m_dimension2);
            break;
        case kVelocity1Id:
            m_velocityFactor1 = VelocityFactorFromText(m_velocityText1);
            break;
        case kVelocity2Id:
            m_velocityFactor2 = VelocityFactorFromText(m_velocityText2);
            break;
        default:
            break;
        }
        Compute();
    }
    m_recalcArmed = 1;
}

void CCoaxDelayCalculator::LoadRow(int row, double& length, CString& dimension, double& unitFactor,
                                   CString& velocityText, double& velocityFactor) {
    CString key;
    key.Format(u"Length_%d", row);
    const int oldLength = AppGetProfileInt(m_section, key, -1);
    if (oldLength >= 0) {
        length = oldLength;
        AppWriteProfileInt(m_section, key, -1);
    } else {
        key.Format(u"dLength_%d", row);
        const CString text = AppGetProfileString(m_section, key, u"0.0");
        double value = 0;
        if (swscanf(text, u"%lf", &value) != 1 || !LengthValid(value)) {
            length = 0;
            CString zero;
            zero.Format(u"%04.1f", 0.0);
            AppWriteProfileString(m_section, key, zero);
        } else {
            length = wcstod(text, nullptr);
        }
    }
    key.Format(u"Dimension_%d", row);
    dimension = AppGetProfileString(m_section, key, u"Feet");
    unitFactor = UnitFactorFromText(dimension);
    key.Format(u"VelocityFactor_%d", row);
    velocityText = AppGetProfileString(m_section, key, u"0.66");
    velocityFactor = VelocityFactorFromText(velocityText);
}

void CCoaxDelayCalculator::PrepareOpening() {
    if (m_section.IsEmpty()) {
        m_section = kDefaultSection;
    }
    LoadRow(1, m_length1, m_dimension1, m_unitFactor1, m_velocityText1, m_velocityFactor1);
    LoadRow(2, m_length2, m_dimension2, m_unitFactor2, m_velocityText2, m_velocityFactor2);
    Compute();
}

void CCoaxDelayCalculator::SaveSettings() const {
    CString text;
    text.Format(u"%04.1f", m_length1);
    AppWriteProfileString(m_section, u"dLength_1", text);
    AppWriteProfileString(m_section, u"Dimension_1", m_dimension1);
    AppWriteProfileString(m_section, u"VelocityFactor_1", m_velocityText1);
    text.Format(u"%04.1f", m_length2);
    AppWriteProfileString(m_section, u"dLength_2", text);
    AppWriteProfileString(m_section, u"Dimension_2", m_dimension2);
    AppWriteProfileString(m_section, u"VelocityFactor_2", m_velocityText2);
}

UINT CCoaxDelayCalculator::FindInvalidControl() const {
    if (VelocityFactorFromText(m_velocityText1) < 0) {
        return kVelocity1Id;
    }
    if (VelocityFactorFromText(m_velocityText2) < 0) {
        return kVelocity2Id;
    }
    if (!LengthValid(m_length1)) {
        return kLength1Id;
    }
    if (!LengthValid(m_length2)) {
        return kLength2Id;
    }
    return 0;
}

BEGIN_MESSAGE_MAP(CCoaxDelayCalculator, CPersistentDialog)
ON_CONTROL_RANGE(CBN_KILLFOCUS, CCoaxDelayCalculator::kDimension1Id, CCoaxDelayCalculator::kVelocity2Id,
                 OnFieldLeft)
ON_CONTROL_RANGE(CBN_CLOSEUP, CCoaxDelayCalculator::kVelocity1Id, CCoaxDelayCalculator::kVelocity2Id,
                 OnFieldLeft)
ON_CONTROL_RANGE(EN_KILLFOCUS, CCoaxDelayCalculator::kLength1Id, CCoaxDelayCalculator::kLength2Id,
                 OnFieldLeft)
ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

CCoaxDelayCalculator::CCoaxDelayCalculator(CWnd* pParent) : CPersistentDialog(IDD, pParent) {}

BOOL CCoaxDelayCalculator::OnInitDialog() {
    PrepareOpening();
    int count = 0;
    const char16_t* const* cables = CableList(&count);
    for (UINT id : {kVelocity1Id, kVelocity2Id}) {
        SendDlgItemMessageW(static_cast<int>(id), CB_RESETCONTENT, 0, 0);
        for (int i = 0; i < count; ++i) {
            SendDlgItemMessageW(static_cast<int>(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(cables[i]));
        }
    }
    for (UINT id : {kDimension1Id, kDimension2Id}) {
        SendDlgItemMessageW(static_cast<int>(id), CB_RESETCONTENT, 0, 0);
        for (LPCTSTR unit : {u"Feet", u"Meters"}) {
            SendDlgItemMessageW(static_cast<int>(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unit));
        }
    }
    CPersistentDialog::OnInitDialog();
    // A click on Cancel must be seen before the field it takes the focus from asks for a recalculation.
    if (CWnd* cancel = GetDlgItem(IDCANCEL)) {
        cancel->ModifyStyleEx(WS_EX_NOPARENTNOTIFY, 0);
    }
    return TRUE;
}

void CCoaxDelayCalculator::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    auto velocity = [pDX](int id, CString& text) {
        DDX_CBString(pDX, id, text);
        if (pDX->m_bSaveAndValidate && VelocityFactorFromText(text) < 0) {
            AfxMessageBox(kVelocityMessage, MB_ICONEXCLAMATION);
            pDX->Fail();
        }
    };
    DDX_CBString(pDX, kDimension1Id, m_dimension1);
    velocity(kVelocity1Id, m_velocityText1);
    DDX_CBString(pDX, kDimension2Id, m_dimension2);
    velocity(kVelocity2Id, m_velocityText2);
    DDX_Text(pDX, kDelay1Id, m_delay1);
    DDX_Text(pDX, kDelay2Id, m_delay2);
    DDX_Text(pDX, kTotalDelayId, m_totalDelay);
    DDX_Text(pDX, kLength1Id, m_length1);
    DDV_MinMaxDouble(pDX, m_length1, 0.0, kMaxLength);
    DDX_Text(pDX, kLength2Id, m_length2);
    DDV_MinMaxDouble(pDX, m_length2, 0.0, kMaxLength);
}

void CCoaxDelayCalculator::OnFieldLeft(UINT id) {
    PostFieldCheck(id);
}

void CCoaxDelayCalculator::OnFieldCheck(UINT controlId) {
    if (!m_recalcArmed) {
        m_recalcArmed = 1;
        return;
    }
    if (!UpdateData(TRUE)) {
        return;
    }
    OnDeferredEdit(controlId);
    UpdateData(FALSE);
}

void CCoaxDelayCalculator::OnParentNotify(UINT message, LPARAM lParam) {
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

void CCoaxDelayCalculator::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    // Enter closes without a focus change, so the delays are brought up to date here.
    m_unitFactor1 = UnitFactorFromText(m_dimension1);
    m_unitFactor2 = UnitFactorFromText(m_dimension2);
    m_velocityFactor1 = VelocityFactorFromText(m_velocityText1);
    m_velocityFactor2 = VelocityFactorFromText(m_velocityText2);
    Compute();
    if (FindInvalidControl() != 0) {
        return;
    }
    SaveSettings();
    UpdateData(FALSE);
    CPersistentDialog::OnOK();
}
