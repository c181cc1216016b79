// Dialog data exchange: DoDataExchange moves values between members and controls through the DDX_ calls
// (both ways) and checks them with the DDV_ calls (when saving). A text that does not parse or a value out
// of range shows a message box, puts the focus on the control and stops the exchange: UpdateData answers
// FALSE and the members after the failing one keep their values. A value that failed a DDV_ check has
// already been stored in its member.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WindowTypes.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls to members, with validation
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr; // the control the next DDV_ call and Fail refer to
    BOOL m_bEditLastControl = FALSE;

    // The item `nIDC` of the dialog, remembered as the last control (an edit for PrepareEditCtrl).
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Focuses (and for edits selects) the last control and stops the exchange. Only while saving; called
    // while loading it does nothing.
    void Fail();
};

// Runs DoDataExchange of `pWnd` in one direction, with the window's control notifications held back while
// it runs. Answers FALSE when a DDX_ or DDV_ call failed.
BOOL AfxUpdateData(CWnd* pWnd, BOOL bSaveAndValidate);
// The window whose control notifications (WM_COMMAND from controls, WM_NOTIFY) are held back on this
// thread while its data is exchanged; null when none.
HWND AfxGetLockoutNotifyWindow();

// ---- Text
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value); // DWORD too
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);

// ---- Buttons: 0, 1 or 2 (indeterminate); the index of the checked radio button from the first one of a
// group (the item nIDC, with WS_GROUP) up to the next WS_GROUP, -1 when none is checked.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

// ---- Lists and combo boxes. CBString selects the first item beginning with the text (else only sets the
// edit); CBStringExact the item equal to it. Saving reads the edit text, or the selected item of a list.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value);

// Attaches the control to its object once (subclassing it), so that the object's maps see its messages.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// ---- Validation (only when saving)
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, const float& value, float minVal, float maxVal);
// Limits the edit (or combo) to nChars when loading; refuses a longer text when saving.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

// The texts the exchange shows (message-box kind MB_ICONEXCLAMATION).
#define AFX_DDX_TEXT_INTEGER u"Please enter an integer."
#define AFX_DDX_TEXT_UNSIGNED u"Please enter a positive integer."
#define AFX_DDX_TEXT_NUMBER u"Please enter a number."
#define AFX_DDX_TEXT_INTEGER_RANGE u"Please enter an integer between %1 and %2."
#define AFX_DDX_TEXT_NUMBER_RANGE u"Please enter a number between %1 and %2."
#define AFX_DDX_TEXT_MAX_CHARS u"Enter no more than %1 characters."
