#include "platform/framework/DataExchange.h"

#include "platform/base/CodePage.h"
#include "platform/base/Exceptions.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/ControlConstants.h"
#include "platform/dialog/Dialog.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

thread_local HWND t_hWndLockout = nullptr;

std::u16string Widen(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

// "%1" and "%2" of a message replaced by the values.
CString Message(LPCTSTR pattern, const std::u16string& first, const std::u16string& second = {}) {
    std::u16string text = pattern;
    for (auto [key, value] : {std::pair<std::u16string, const std::u16string*>{u"%1", &first},
                              std::pair<std::u16string, const std::u16string*>{u"%2", &second}}) {
        std::size_t at = text.find(key);
        if (at != std::u16string::npos) {
            text.replace(at, key.size(), *value);
        }
    }
    return CString(text);
}

void Complain(LPCTSTR text) {
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

std::u16string FormatDouble(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    return Widen(buffer);
}

CString WindowText(HWND hWnd) {
    int length = ::GetWindowTextLengthW(hWnd);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    int got = ::GetWindowTextW(hWnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return CString(text);
}

// The whole text, blanks around it allowed, as a number of the kind; false when it is something else.
bool ParseSigned(const CString& text, long long& value) {
    std::string narrow = Utf16ToUtf8(text.str());
    const char* p = narrow.c_str();
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(p, &end, 10);
    if (end == p || errno == ERANGE) {
        return false;
    }
    while (*end == ' ' || *end == '\t') {
        ++end;
    }
    return *end == 0;
}

bool ParseUnsigned(const CString& text, unsigned long long& value) {
    std::string narrow = Utf16ToUtf8(text.str());
    std::size_t first = narrow.find_first_not_of(" \t");
    if (first == std::string::npos || narrow[first] == '-') {
        return false;
    }
    const char* p = narrow.c_str() + first;
    char* end = nullptr;
    errno = 0;
    value = std::strtoull(p, &end, 10);
    if (end == p || errno == ERANGE) {
        return false;
    }
    while (*end == ' ' || *end == '\t') {
        ++end;
    }
    return *end == 0;
}

bool ParseDouble(const CString& text, double& value) {
    std::string narrow = Utf16ToUtf8(text.str());
    const char* p = narrow.c_str();
    char* end = nullptr;
    value = std::strtod(p, &end);
    if (end == p) {
        return false;
    }
    while (*end == ' ' || *end == '\t') {
        ++end;
    }
    return *end == 0 && std::isfinite(value);
}

template <class T>
void TextSigned(CDataExchange* pDX, int nIDC, T& value, long long minVal, long long maxVal) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long parsed = 0;
        bool ok = ParseSigned(WindowText(hWnd), parsed);
        if (!ok || parsed < minVal || parsed > maxVal) {
            if (ok ||
                (minVal > static_cast<long long>(INT_MIN) && maxVal < static_cast<long long>(INT_MAX))) {
                // A narrow type tells its range instead of just asking for a number.
                Complain(Message(AFX_DDX_TEXT_INTEGER_RANGE, Widen(std::to_string(minVal)),
                                 Widen(std::to_string(maxVal))));
            } else {
                Complain(AFX_DDX_TEXT_INTEGER);
            }
            pDX->Fail();
            return;
        }
        value = static_cast<T>(parsed);
    } else {
        ::SetWindowTextW(hWnd, Widen(std::to_string(static_cast<long long>(value))).c_str());
    }
}

template <class T>
void TextUnsigned(CDataExchange* pDX, int nIDC, T& value, unsigned long long maxVal) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        unsigned long long parsed = 0;
        bool ok = ParseUnsigned(WindowText(hWnd), parsed);
        if (!ok || parsed > maxVal) {
            if (ok || maxVal < UINT_MAX) {
                Complain(Message(AFX_DDX_TEXT_INTEGER_RANGE, u"0", Widen(std::to_string(maxVal))));
            } else {
                Complain(AFX_DDX_TEXT_UNSIGNED);
            }
            pDX->Fail();
            return;
        }
        value = static_cast<T>(parsed);
    } else {
        ::SetWindowTextW(hWnd, Widen(std::to_string(static_cast<unsigned long long>(value))).c_str());
    }
}

void FailRange(CDataExchange* pDX, LPCTSTR pattern, const std::u16string& minText,
               const std::u16string& maxText) {
    Complain(Message(pattern, minText, maxText));
    pDX->Fail();
}

template <class T>
void RangeSigned(CDataExchange* pDX, T value, T minVal, T maxVal) {
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
        FailRange(pDX, AFX_DDX_TEXT_INTEGER_RANGE, Widen(std::to_string(minVal)),
                  Widen(std::to_string(maxVal)));
    }
}

bool IsDropList(HWND hWnd) {
    return (::GetWindowLongW(hWnd, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
}

CString ListText(HWND hWnd, UINT lenMsg, UINT textMsg, int index) {
    LRESULT length = ::SendMessageW(hWnd, lenMsg, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return CString();
    }
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    LRESULT got =
        ::SendMessageW(hWnd, textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return CString(text);
}

} // namespace

// ---- The exchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWnd = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
    if (!hWnd) {
        // An exchange naming a control the dialog does not have is a mistake in the program.
        AfxThrowNotSupportedException();
    }
    m_hWndLastControl = hWnd;
    m_bEditLastControl = FALSE;
    return hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWnd;
}

void CDataExchange::Fail() {
    if (!m_bSaveAndValidate) {
        return;
    }
    if (m_hWndLastControl && ::IsWindow(m_hWndLastControl)) {
        HWND hDlg = m_pDlgWnd->GetSafeHwnd();
        if (::IsChild(hDlg, m_hWndLastControl) && ::IsWindowEnabled(m_hWndLastControl) &&
            ::IsWindowVisible(m_hWndLastControl)) {
            // Through the dialog manager, so that the default button follows the focus.
            ::SendMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_hWndLastControl), TRUE);
            if (::GetFocus() != m_hWndLastControl) {
                ::SetFocus(m_hWndLastControl);
            }
        }
        if (m_bEditLastControl) {
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
        }
    }
    AfxThrowUserException();
}

HWND AfxGetLockoutNotifyWindow() {
    return t_hWndLockout;
}

BOOL AfxUpdateData(CWnd* pWnd, BOOL bSaveAndValidate) {
    CDataExchange dx(pWnd, bSaveAndValidate);
    // Setting the controls' texts must not run the window's own notification handlers.
    HWND saved = t_hWndLockout;
    t_hWndLockout = pWnd->GetSafeHwnd();
    BOOL ok = FALSE;
    try {
        pWnd->DoDataExchange(&dx);
        ok = TRUE;
    } catch (CUserException* e) {
        e->Delete(); // the user has been told already
    } catch (CException* e) {
        t_hWndLockout = saved;
        e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
        return FALSE;
    }
    t_hWndLockout = saved;
    return ok;
}

// ---- Text

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = WindowText(hWnd);
    } else {
        ::SetWindowTextW(hWnd, value);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    TextSigned(pDX, nIDC, value, INT_MIN, INT_MAX);
}
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
    TextSigned(pDX, nIDC, value, LONG_MIN, LONG_MAX);
}
void DDX_Text(CDataExchange* pDX, int nIDC, short& value) {
    TextSigned(pDX, nIDC, value, SHRT_MIN, SHRT_MAX);
}
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    TextUnsigned(pDX, nIDC, value, UINT_MAX);
}
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) {
    TextUnsigned(pDX, nIDC, value, 255);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        double parsed = 0;
        if (!ParseDouble(WindowText(hWnd), parsed)) {
            Complain(AFX_DDX_TEXT_NUMBER);
            pDX->Fail();
            return;
        }
        value = parsed;
    } else {
        ::SetWindowTextW(hWnd, FormatDouble(value, 15).c_str());
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        double parsed = 0;
        if (!ParseDouble(WindowText(hWnd), parsed) || std::fabs(parsed) > FLT_MAX) {
            Complain(AFX_DDX_TEXT_NUMBER);
            pDX->Fail();
            return;
        }
        value = static_cast<float>(parsed);
    } else {
        ::SetWindowTextW(hWnd, FormatDouble(value, FLT_DIG).c_str());
    }
}

// ---- Buttons

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageW(hWnd, BM_GETCHECK, 0, 0));
    } else {
        ::SendMessageW(hWnd, BM_SETCHECK, static_cast<WPARAM>(value < 0 || value > 2 ? 0 : value), 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
    }
    int index = 0;
    do {
        if (::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageW(hWnd, BM_GETCHECK, 0, 0) != BST_UNCHECKED && value == -1) {
                    value = index;
                }
            } else {
                ::SendMessageW(hWnd, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        hWnd = ::GetWindow(hWnd, GW_HWNDNEXT);
    } while (hWnd && !(::GetWindowLongW(hWnd, GWL_STYLE) & WS_GROUP));
}

// ---- Lists and combo boxes

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        if (::GetWindowTextLengthW(hWnd) > 0) {
            value = WindowText(hWnd);
        } else {
            int index = static_cast<int>(::SendMessageW(hWnd, CB_GETCURSEL, 0, 0));
            value = index != CB_ERR ? ListText(hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, index) : CString();
        }
    } else if (::SendMessageW(hWnd, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value))) == CB_ERR) {
        if (!IsDropList(hWnd)) {
            ::SetWindowTextW(hWnd, value);
        }
    }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        DDX_CBString(pDX, nIDC, value);
        return;
    }
    LRESULT index = ::SendMessageW(hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
    if (index != CB_ERR) {
        ::SendMessageW(hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    } else if (!IsDropList(hWnd)) {
        ::SetWindowTextW(hWnd, value);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageW(hWnd, CB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageW(hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int index = static_cast<int>(::SendMessageW(hWnd, LB_GETCURSEL, 0, 0));
        value = index != LB_ERR ? ListText(hWnd, LB_GETTEXTLEN, LB_GETTEXT, index) : CString();
    } else if (::SendMessageW(hWnd, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value))) == LB_ERR) {
        ::SendMessageW(hWnd, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
}

void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        DDX_LBString(pDX, nIDC, value);
        return;
    }
    LRESULT index = ::SendMessageW(hWnd, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
    ::SendMessageW(hWnd, LB_SETCURSEL, static_cast<WPARAM>(index == LB_ERR ? -1 : index), 0);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageW(hWnd, LB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageW(hWnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = ::GetScrollPos(hWnd, SB_CTL);
    } else {
        ::SetScrollPos(hWnd, SB_CTL, value, TRUE);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd) {
        return;
    }
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWnd)) {
        AfxThrowNotSupportedException(); // already attached to another object
    }
}

// ---- Validation

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    RangeSigned<long long>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    RangeSigned<unsigned long long>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
    RangeSigned<long long>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
    RangeSigned<unsigned long long>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) {
    RangeSigned<long long>(pDX, value, minVal, maxVal);
}
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal) {
    RangeSigned<long long>(pDX, value, minVal, maxVal);
}

void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal) {
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
        FailRange(pDX, AFX_DDX_TEXT_NUMBER_RANGE, FormatDouble(minVal, 15), FormatDouble(maxVal, 15));
    }
}

void DDV_MinMaxFloat(CDataExchange* pDX, const float& value, float minVal, float maxVal) {
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
        FailRange(pDX, AFX_DDX_TEXT_NUMBER_RANGE, FormatDouble(minVal, FLT_DIG),
                  FormatDouble(maxVal, FLT_DIG));
    }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            Complain(Message(AFX_DDX_TEXT_MAX_CHARS, Widen(std::to_string(nChars))));
            pDX->Fail();
        }
        return;
    }
    HWND hWnd = pDX->m_hWndLastControl;
    if (!hWnd) {
        return;
    }
    WCHAR className[16] = {};
    ::GetClassNameW(hWnd, className, 16);
    bool combo = std::u16string_view(className).compare(u"ComboBox") == 0;
    ::SendMessageW(hWnd, combo ? CB_LIMITTEXT : EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
}
