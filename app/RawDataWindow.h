// The two modeless text windows that show the receiver traffic: the raw-data window, in which every line
// sent to or received from the receiver is echoed, and the receiver-ID window, which shows the receiver's
// identity above a separator line and the further identity and status lines below it.
//
// Both hold a CRawDataEdit: a read-only multi-line edit that keeps at most 30000 characters, follows the end
// of the text while the user leaves it there, and freezes (drops new lines and turns grey) while the user
// has scrolled back. Each edit keeps its own shown-live state, so one window scrolled back does not grey
// the other.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "platform/base/CString.h"
#include "platform/framework/CWnd.h"
#include "resources/Resource.h"

#include <vector>

constexpr int kRawDataMaxCharacters = 30000;
constexpr COLORREF kRawDataFrozenColour = RGB(160, 160, 164);
// 33 hyphens and CR LF.
extern const TCHAR kRxIdSeparator[];

// The lines AddText appends for a text, each ending in CR LF: CRs removed, trailing LFs dropped, then one
// line per LF. With keepPrefix, a text that begins with "-> " or "<- " gets that prefix on every line.
// An empty text gives no line.
std::vector<CString> SplitRawDataText(const CString& text, bool keepPrefix);

class CRawDataEdit : public CWnd {
public:
    CRawDataEdit();
    ~CRawDataEdit() override;

    // Appends one prepared text (ended with CR LF by the caller). FALSE when it was dropped: no window, or
    // the user has scrolled back.
    BOOL AppendLine(const CString& text);
    // Whether the control shows the end of its text (nothing to scroll counts as the end).
    BOOL IsAtEnd();
    // The last colour request found the control at the end of its text.
    BOOL IsShownLive() const { return m_shownLive; }
    HBRUSH GetFrozenBrush() const { return static_cast<HBRUSH>(m_backBrush.GetSafeHandle()); }

    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    BOOL OnEraseBkgnd(CDC* pDC);

private:
    CBrush m_backBrush;
    BOOL m_colourEnabled = TRUE;
    BOOL m_shownLive = TRUE;

    DECLARE_MESSAGE_MAP()
};

// Base of the two windows: a modeless persistent dialog (pop-up, caption, system menu, sizing border) whose
// client area is the edit of its template. Cancel, Escape and the close box store the placement and close
// the window; Enter does nothing. The placement is restored when it is shown with SW_RESTORE.
class CRawTextWindow : public CPersistentDialog {
public:
    CRawTextWindow(UINT templateId, LPCTSTR templateName, UINT editId, CWnd* parent);

    // Creates the modeless window from the template (owned by the parent when given); TRUE when it exists
    // afterwards.
    using CDialog::Create;
    BOOL Create(CWnd* parent = nullptr);
    CRawDataEdit& Edit() { return m_edit; }
    CString GetEditText() const;

    BOOL OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy);

protected:
    void OnOK() override {}
    void OnCancel() override;
    virtual CString InitialTitle() const { return CString(); }
    // What closing does: the raw-data window is destroyed, the receiver-ID window hidden.
    virtual void CloseWindow() = 0;

    CRawDataEdit m_edit;
    UINT m_editId;

    DECLARE_MESSAGE_MAP()
};

class CRawDataDialog : public CRawTextWindow {
public:
    enum { IDD = IDD_GPS_RAW };

    // templateName names the placement record ("GpsRaw").
    explicit CRawDataDialog(LPCTSTR templateName = u"GpsRaw", CWnd* parent = nullptr);

    void SetTitle(const CString& title) { m_title = title; }
    const CString& GetTemplateName() const { return m_templateName; }
    // Splits the text into lines and appends them (see SplitRawDataText).
    void AddText(const CString& text);

protected:
    CString InitialTitle() const override { return m_title; }
    void CloseWindow() override { DestroyWindow(); }

private:
    CString m_templateName;
    CString m_title;
};

class CRxIdStringDialog : public CRawTextWindow {
public:
    enum { IDD = IDD_RXID_STRING };

    explicit CRxIdStringDialog(CWnd* parent = nullptr);

    // Starts afresh: the identity text above the separator, and nothing below it.
    void SetText(const CString& text);
    // Appends lines below the separator.
    void AddText(const CString& text);
    // The identity text and the separator.
    const CString& GetBuffer() const { return m_buffer; }

protected:
    void CloseWindow() override { ShowWindow(SW_HIDE); }

private:
    void InsertAboveSeparator(const CString& text);

    CString m_buffer;
};
