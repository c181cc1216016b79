// A progress bar the toolkit draws itself over the common progress control: bar and background colours,
// filling from either end horizontally or vertically, and a percentage or caller's text that shows in the
// background colour over the bar and in the bar colour over the background. Can advance itself on a timer.
#pragma once

#include "platform/framework/AfxControls.h"
#include "platform/framework/CGdiObject.h"

// Progress styles.
#define SEC_PROG_VERTICAL 0x00001L
#define SEC_PROG_RIGHTTOLEFT 0x00010L
#define SEC_PROG_TOPTOBOTTOM 0x00020L
#define SEC_PROG_PERCENT 0x00100L
#define SEC_PROG_TEXT 0x00200L
#define SEC_PROG_TEXTLEFT 0x01000L
#define SEC_PROG_TEXTRIGHT 0x02000L
#define SEC_PROG_NATIVE 0x10000L
#define SEC_PROG_DEFAULT 0x04100L

class SECProgressCtrl : public CProgressCtrl {
    DECLARE_DYNAMIC(SECProgressCtrl)

public:
    SECProgressCtrl() = default;
    ~SECProgressCtrl() override;

    using CProgressCtrl::Create;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwProgressStyle);
    virtual BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    virtual void SetRange(int nLower, int nUpper);
    // Returns the previous position; bPump dispatches the thread's pending paints at once.
    virtual int SetPos(int nPos, BOOL bPump = FALSE);
    virtual int OffsetPos(int nDelta, BOOL bPump = FALSE);
    virtual int SetStep(int nStep);
    virtual void SetColors(COLORREF clrBar, COLORREF clrBackground);
    virtual void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    virtual void SetText(LPCTSTR lpszText);
    virtual CString GetText() const;
    virtual int StepIt(BOOL bPump = FALSE);
    virtual void Reset();
    // Advances by one step every nElapse ms (timer 256) until the upper bound; 0 stops.
    virtual BOOL StartTimer(UINT nElapse);
    virtual void InitRect();
    virtual void DrawBar(CDC* pDC, const CRect& rect);
    virtual void DrawBackground(CDC* pDC, const CRect& rect);
    virtual void DrawProgressText(CDC* pDC, double percent, const CRect& rectBackground,
                                  const CRect& rectBar);
    virtual void OnBeforeDrawText(CString& text) { (void)text; }
    virtual void DoPaint(CDC* pDC);
    virtual BOOL CalcRects(double percent, CRect& rectBar, CRect& rectBackground);
    virtual void DrawOffscreen(double percent, const CRect& rectBar, const CRect& rectBackground, CDC* pDC);
    virtual double GetPercent() const;

    // A new progress style; switching native mode on hands the position to the common control.
    void SetProgressStyle(DWORD dwProgressStyle);
    DWORD GetProgressStyle() const { return m_dwProgressStyle; }
    int GetPos() const { return m_nPos; }
    int GetStep() const { return m_nStep; }
    void GetRange(int& nLower, int& nUpper) const {
        nLower = m_nLower;
        nUpper = m_nUpper;
    }
    COLORREF GetBarColor() const { return m_clrBar; }
    COLORREF GetBkColor() const { return m_clrBackground; }
    BOOL IsCreated() const { return m_bCreated; }
    UINT_PTR GetTimerId() const { return m_nTimerId; }

protected:
    BOOL IsNative() const { return (m_dwProgressStyle & SEC_PROG_NATIVE) != 0; }

    int m_nPos = 0;
    int m_nStep = 10;
    int m_nLower = 0;
    int m_nUpper = 100;
    COLORREF m_clrBar = RGB(0, 0, 128);
    COLORREF m_clrBackground = RGB(255, 255, 255);
    CFont* m_pFont = nullptr;
    BOOL m_bVisible = TRUE;
    BOOL m_bCreated = FALSE;
    CString m_strText;
    DWORD m_dwProgressStyle = SEC_PROG_DEFAULT;
    CRect m_rcClient;
    UINT_PTR m_nTimerId = 256;
    BOOL m_bTimerRunning = FALSE;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()
};
