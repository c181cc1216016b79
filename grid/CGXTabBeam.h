// The row of sheet tabs along the bottom of a tab window: scroll buttons at its left end, then one trapezoid
// tab per sheet. The beam keeps the tab records and tells its notify window (the parent unless set) what the
// user did; switching and renaming sheets are that window's business.
#pragma once

#include "platform/framework/CGdiObject.h"
#include "platform/framework/CWnd.h"

#include <functional>
#include <vector>

// Messages between the beam, the tab window and the sheets.
#define WM_TAB_SELECTED (WM_USER + 0x385)
#define WM_TAB_RENAME (WM_USER + 0x386)
#define WM_TAB_CANSWITCH (WM_USER + 0x387)
#define WM_TAB_ATTACHED (WM_USER + 0x38F)
#define WM_TAB_CANRENAME (WM_USER + 0x390)
#define WM_TAB_NAMECHANGED (WM_USER + 0x391)
#define WM_TAB_SWITCHING (WM_USER + 0x392)
#define WM_TAB_ENDRENAME (WM_USER + 0x399)
#define WM_TAB_CANCELRENAME (WM_USER + 0x39A)
#define WM_TAB_LOCKPAINT (WM_USER + 0x3CB)

// One tab: its sheet window, name, width and the sheet's saved scroll state.
class CGXTabInfo : public CObject {
public:
    CGXTabInfo();
    ~CGXTabInfo() override;

    int nWidth = 60; // text width plus one gap
    CString sLabel;
    BOOL bSel = FALSE; // marked by a Ctrl or Shift click
    CWnd* pExtra = nullptr;
    BOOL bDeleteExtra = FALSE;
    SCROLLINFO sbInfoVert{};
    SCROLLINFO sbInfoHorz{};
    COLORREF clrFace = 0;
    COLORREF clrCurrentFace = 0;
    CBrush brFace;
    CBrush brCurrentFace;
    // Bit 0: draw with the own face brush, bit 1: with the own current face brush.
    UINT flags = 0;
};

class CGXTabBeam : public CWnd {
    DECLARE_DYNCREATE(CGXTabBeam)

public:
    // Button codes.
    enum { kFirst = 0, kPrevious = 1, kNext = 2, kLast = 3 };

    CGXTabBeam();
    ~CGXTabBeam() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void CreateFonts();
    void DeleteFonts();
    void InitColors();

    virtual void DrawTab(CDC* dc, int index);
    virtual void DrawScrollButton(CDC* dc, int button, BOOL pressed);
    virtual int GetTabLeft(int index);
    virtual int TabFromPoint(int x);
    virtual int GetLastVisibleTab();
    virtual void TrackScrollButton(UINT endMessage);
    virtual void SelectTabAt(int x);
    virtual int ScrollButtonFromPoint(int x, int y, int expected);
    virtual void ScrollTabs(int button);
    virtual void InsertTab(BOOL beforeCurrent, LPCTSTR name, CWnd* window, BOOL ownsWindow, int width);
    virtual void RemoveTab(int index);
    virtual void UpdateTabWidth(int index);
    virtual int FindTab(const CWnd* window) const;

    void EnsureTabVisible(int index);
    CGXTabInfo& GetTab(int index) { return *m_tabs[static_cast<size_t>(index)]; }
    int GetCount() const { return m_nTabs; }
    BOOL IsButtonDisabled(int button);
    // Where the beam's messages go; the parent when null.
    void SetNotifyWnd(CWnd* window) { m_pNotifyWnd = window; }
    CWnd* GetNotifyWnd();

    // The millisecond clock the scroll buttons' auto-repeat runs on; the tick count unless replaced.
    static std::function<DWORD()>& RepeatClock();

    static void RegisterClass(HINSTANCE instance);
    static void UnregisterClass(HINSTANCE instance);

    CFont* m_pFontBold = nullptr;
    CFont* m_pFontNormal = nullptr;
    COLORREF m_clrCurrentText = 0;
    COLORREF m_clrText = 0;
    COLORREF m_clrFace = 0;
    COLORREF m_clrCurrentFace = 0;
    COLORREF m_clrBeam = 0;
    CBrush m_brFace;
    CBrush m_brCurrentFace;
    CBrush m_brFrame;
    CPen m_penShadow;
    int m_nTabs = 0;
    int m_nCurrent = -1;
    int m_nFirstTab = 0;
    int m_nGap = 7;
    int m_nButtonsWidth = 0;
    int m_nBeamHeight = 0;
    int m_nButtonWidth = 0;
    BOOL m_bShowButtons = TRUE;
    int m_nButtons = 2;
    int m_nPressedButton = -1;
    BOOL m_bButtonPressed = FALSE;
    BOOL m_bTracking = FALSE;
    int m_nRepaintFrom = -1;

protected:
    void PostNcDestroy() override;

    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnSysColorChange();
    void OnSettingChange(UINT flags, LPCTSTR section);
    DECLARE_MESSAGE_MAP()

private:
    int Base() const { return m_bShowButtons ? m_nButtonsWidth + 1 : 0; }
    int Step(int index) const { return m_tabs[static_cast<size_t>(index)]->nWidth + m_nGap; }
    int ButtonPosition(int button) const { return m_nButtons == 2 ? button - 1 : button; }
    int FirstButtonCode() const { return m_nButtons == 2 ? kPrevious : kFirst; }
    int ClientRight();
    void DrawButtons(CDC* dc);
    void MarkTabs(UINT flags, int x);

    std::vector<CGXTabInfo*> m_tabs;
    CWnd* m_pNotifyWnd = nullptr;
};

// A button face as the beam's scroll buttons have it, raised or pressed.
void DrawTabButtonFace(CDC* dc, int x, int y, int w, int h, BOOL pressed);
