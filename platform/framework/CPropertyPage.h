// A page of a property sheet: a child dialog made from its template the first time the sheet shows it.
// The sheet calls the virtuals below; the page tells the sheet of its changes through the PSM_* messages.
#pragma once

#include "platform/framework/CDialog.h"

// The messages a page sends its sheet (wParam, lParam as given).
#define PSM_SETCURSEL (WM_USER + 101)      // index, or lParam the page's window
#define PSM_CANCELTOCLOSE (WM_USER + 107)  // Cancel becomes Close
#define PSM_QUERYSIBLINGS (WM_USER + 108)  // passed to every created page until one answers non-zero
#define PSM_UNCHANGED (WM_USER + 109)      // wParam: the page's window
#define PSM_APPLY (WM_USER + 110)          // as the Apply button
#define PSM_CHANGED (WM_USER + 104)        // wParam: the page's window
#define PSM_PRESSBUTTON (WM_USER + 113)    // a PSBTN_* value
#define PSM_GETTABCONTROL (WM_USER + 116)
#define PSM_GETCURRENTPAGEHWND (WM_USER + 118)

#define PSBTN_OK 3
#define PSBTN_APPLYNOW 4
#define PSBTN_CANCEL 5

#define ID_APPLY_NOW 0x3021

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)

public:
    // The tab shows the string `nIDCaption`, else the template's caption.
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    // Called as the page comes to the front (after its window is made); FALSE keeps the one before.
    virtual BOOL OnSetActive();
    // Called before another page comes to the front, or before OK or Apply: the data is read back and
    // checked; FALSE keeps this page in front.
    virtual BOOL OnKillActive();
    // OK or Apply with this page changed (or OK on any made page): the default runs OnOK and clears the
    // changed mark. FALSE keeps the sheet open on this page.
    virtual BOOL OnApply();
    // The sheet asks before Cancel closes it; FALSE keeps it open.
    virtual BOOL OnQueryCancel();
    // Cancel on a made page: the default runs OnCancel.
    virtual void OnReset();
    // The sheet's dialog navigation covers the page's controls; the page does none of its own.
    BOOL PreTranslateMessage(MSG*) override { return FALSE; }
    // Unlike a dialog's, these end nothing: the sheet ends.
    void OnOK() override {}
    void OnCancel() override {}

    // Marks the page changed (enabling Apply) or not.
    void SetModified(BOOL bChanged = TRUE);
    BOOL IsModified() const { return m_bModified; }
    // PSM_QUERYSIBLINGS through the sheet: the first non-zero answer of another page.
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);
    void CancelToClose();

    // The tab's text.
    CString GetCaption() const;
    CString m_strCaption;

protected:
    BOOL m_bModified = FALSE;
};
