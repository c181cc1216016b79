// The satellite-enable grid of the receiver parameters dialog: one check box per GPS satellite (PRN 1 to 16
// in row 2, 17 to 32 in row 4), checked when the receiver may use it, its cell green while the receiver
// tracks the satellite and dark blue once it has been seen. The dialog template places it as a custom
// control of the class "CSatEnableGridWnd" whose window text names the "GXLAYOUT" resource it builds from.
#pragma once

#include "dialogs/CButtonCellsGridWnd.h"

class CSatEnableGridWnd : public CButtonCellsGridWnd {
public:
    static constexpr COLORREF kTrackedColour = RGB(0, 128, 0);
    static constexpr COLORREF kSeenColour = RGB(0, 0, 128);

    CSatEnableGridWnd() = default;

    // The check-box cell of a PRN from 1 to 32.
    static ROWCOL CellRow(int prn) { return prn <= 16 ? 2 : 4; }
    static ROWCOL CellCol(int prn) { return static_cast<ROWCOL>((prn - 1) % 16 + 1); }

    void Initialize() override;
    // Checks the satellites whose bits are set (bit n-1 for PRN n).
    void SetEnableMask(DWORD mask);
    DWORD GetEnableMask() const { return m_enableMask; }
    // When the dialog opens: tracked satellites green, the others seen before dark blue.
    void InitTrackedMasks(DWORD tracked, DWORD seen);
    // While the dialog is open: only the satellites whose state changed are coloured again.
    void ShowTrackedMasks(DWORD tracked, DWORD seen);
    DWORD GetTrackedMask() const { return m_trackedMask; }
    DWORD GetSeenMask() const { return m_seenMask; }

    void OnClickedButtonRowCol(ROWCOL row, ROWCOL col) override;
    // The arrows move between the check boxes only, wrapping from one check-box row to the other.
    BOOL ProcessMoveKey(int direction, int count) override;

    // Registers the window class unless it is there (a failure raises the resource exception); the class
    // name.
    static LPCTSTR RegisterClass();
    static BOOL IsClassCreated(const CSatEnableGridWnd* wnd);

protected:
    void PostNcDestroy() override;
    int OnCreate(LPCREATESTRUCT createStruct);
    // The check boxes.
    BOOL IsButtonCell(ROWCOL row, ROWCOL col) const override;

    DECLARE_MESSAGE_MAP()

private:
    // The layout named by the window text, when the grid has none yet.
    void LoadLayoutIfMissing();
    void ColourCell(int prn, COLORREF colour);

    DWORD m_enableMask = 0;
    DWORD m_trackedMask = 0;
    DWORD m_seenMask = 0;
};

LPCTSTR RegisterSatEnableGridClass();
