// The reference location typed by hand (latitude, longitude, and the altitude above the ellipsoid or above
// mean sea level, kept consistent through the geoid separation at the location), and the database of named
// locations in the profile section "RefLocationDB". This is the dialog's state and parsing; the window reads
// its edits into the text members and calls the handlers.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "resources/Resource.h"

#include <vector>

class CReferencePositionDialog : public CPersistentDialog {
public:
    enum { IDD = IDD_REFERENCE_POSITION };
    enum : UINT {
        kLatitudeId = 1065,
        kLongitudeId = 1066,
        kMslAltitudeId = 1067,
        kWgs84AltitudeId = 1068,
        kReferenceGeoidId = 1069,
        kCurrentGeoidId = 1070,
        kRemoveId = 1167,
        kLocationComboId = 1168,
        kSaveId = 1169,
        kLoadOnStartupId = 1263,
    };
    static constexpr const char16_t* kDatabaseSection = u"RefLocationDB";
    static constexpr int kMaxNameLength = 40;

    explicit CReferencePositionDialog(CWnd* pParent = nullptr);

    // Degrees, minutes and seconds with separators and a hemisphere letter; FALSE (with its message, none
    // for an empty text) when refused.
    BOOL ParseAngle(const CString& text, double& degrees);
    BOOL ParseAltitude(const CString& text, double& metres);
    // The angle in position format 0, 1 or 2 (others as 2).
    static CString FormatAngle(double degrees, int format);
    double ReferenceGeoidSeparation() const;

    // The opening: texts from the numbers, altitudes rounded to 0.01, geoid separations.
    void PrepareOpening(int positionFormat);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // After an edit lost the focus: parses its text and updates the numbers and texts. FALSE when the
    // parse failed (the window gives the edit the focus back).
    BOOL OnDeferredEdit(UINT controlId, int positionFormat);
    void OnCancelClickStarted() { m_recalcArmed = 0; }
    // A stored location chosen: its four fields parsed in turn.
    void OnSelectLocation(const CString& name, int positionFormat);
    // Writes the four numbers under the name (nothing for an empty name). TRUE when written.
    BOOL SaveLocation(const CString& name) const;
    // Deletes the name; FALSE with "No such item in the database." when there was none.
    BOOL RemoveLocation(const CString& name);
    // The stored names (empty when the section does not exist).
    static std::vector<CString> StoredLocationNames();
    // "%018.16f %018.16f %018.16f %018.16f" of latitude, longitude, WGS84 and MSL altitudes.
    CString LocationRecord() const;

    CString m_wgs84AltitudeText;
    CString m_mslAltitudeText;
    CString m_locLatitudeText;
    CString m_locLongitudeText;
    CString m_currentGeoidText;
    CString m_referenceGeoidText;
    CString m_locationName;
    BOOL m_loadOnStartup = 1;
    double m_locLatitude = 0;
    double m_locLongitude = 0;
    double m_mslAltitude = 0;
    double m_wgs84Altitude = 0;
    double m_currentGeoidSeparation = 0;
    double m_referenceGeoidSeparation = 0;
    BOOL m_recalcArmed = 1;
    // The angle format of the texts (the view's position format); set before the dialog opens.
    int m_positionFormat = 0;

protected:
    // An exclamation box; tests and the window may route it elsewhere.
    virtual void ShowMessage(const CString& text);

    // The window's handlers.
    void OnEditKillFocus(UINT id);
    void OnFieldCheck(UINT controlId) override;
    void OnParentNotify(UINT message, LPARAM lParam);
    void OnLocationSelChange();
    void OnSaveClicked();
    void OnRemoveClicked();
    // Saves the location under the name in the combo box (when there is one), then closes.
    void OnOK() override;
    void OnLoadOnStartupClicked();

private:
    // Saves the location under the combo box's name and lists the name when the list lacks it.
    void SaveAndListLocation();
    // The index of the chosen entry of the location list and its name; CB_ERR when none is chosen.
    LRESULT SelectedLocation(CString& name) const;
    void TakeLatitude(double value, int positionFormat);
    void TakeLongitude(double value, int positionFormat);
    void ShowAltitudes();

    DECLARE_MESSAGE_MAP()
};
