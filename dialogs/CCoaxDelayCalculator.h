// The coax delay calculator: up to two cable lengths, each with its unit and velocity factor (a number or a
// cable name), turned into delays in nanoseconds. Each caller keeps its inputs in its own profile section.
// This is the calculator's state and arithmetic; the dialog window reads its controls into these members.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "resources/Resource.h"

class CCoaxDelayCalculator : public CPersistentDialog {
public:
    enum { IDD = IDD_COAX_CALCULATOR };
    enum : UINT {
        kDimension1Id = 1091,
        kDimension2Id = 1092,
        kLength1Id = 1093,
        kDelay1Id = 1094,
        kLength2Id = 1095,
        kDelay2Id = 1096,
        kTotalDelayId = 1097,
        kVelocity1Id = 1098,
        kVelocity2Id = 1100,
    };
    static constexpr double kMaxLength = 100000.0;
    static constexpr const char16_t* kVelocityMessage =
        u"Enter a name in the list or a number between 0.0 and 1.0";
    static constexpr const char16_t* kDefaultSection = u"Coax Calculator";

    explicit CCoaxDelayCalculator(CWnd* pParent = nullptr);

    // -1 when the text is neither a number from 0 to 1 nor a cable name.
    static double VelocityFactorFromText(const CString& text);
    // Metres per unit: 0.3048 for "Feet", else 1.
    static double UnitFactorFromText(const CString& text);
    // The 35 entries of both velocity lists.
    static const char16_t* const* CableList(int* count);

    void Compute();
    // The work after a control lost the focus; skipped once after a click on Cancel.
    void OnDeferredEdit(UINT controlId);
    void OnCancelClickStarted() { m_recalcArmed = 0; }

    // The opening: section defaulted, both rows read (old integer lengths converted once), delays computed.
    void PrepareOpening();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Writes both rows to the section (the dialog then closes only when its controls validate).
    void SaveSettings() const;
    // The control whose value is invalid, 0 when none: velocity texts first, then the lengths.
    UINT FindInvalidControl() const;

    CString m_dimension1 = u"Meters";
    CString m_velocityText1 = u"0.66";
    CString m_dimension2 = u"Meters";
    CString m_velocityText2 = u"0.66";
    double m_delay1 = 0;
    double m_delay2 = 0;
    double m_totalDelay = 0;
    double m_length1 = 0;
    double m_length2 = 0;
    BOOL m_recalcArmed = 1;
    CString m_section;
    double m_velocityFactor1 = 0.66;
    double m_velocityFactor2 = 0.66;
    double m_unitFactor1 = 1.0;
    double m_unitFactor2 = 1.0;

protected:
    // Writes the inputs only when every control validates, then closes.
    void OnOK() override;
    void OnFieldLeft(UINT id);
    void OnFieldCheck(UINT controlId) override;
    void OnParentNotify(UINT message, LPARAM lParam);

private:
    void LoadRow(int row, double& length, CString& dimension, double& unitFactor, CString& velocityText,
                 double& velocityFactor);

    DECLARE_MESSAGE_MAP()
};
