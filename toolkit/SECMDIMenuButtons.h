// The menu bar's buttons for a maximised MDI document window: its icon at the left end, which opens the
// window's system menu, and its minimise, restore and close buttons together at the right end.
#pragma once

#include "toolkit/SECTBMenuBtn.h"

class CMDIChildWnd;

// The maximised document window of the bar's frame, or null.
CMDIChildWnd* SECMenuBarMaximizedChild(const SECCustomToolBar* pBar);

class SECCapMenuBtn : public SECTBMenuBtn {
    SEC_DECLARE_BUTTON()

public:
    SECCapMenuBtn() { m_nType = SEC_BTN_MENU; }

    void RecalcSize() override;
    BOOL OpenMenu() override;
    BOOL CanDrag() const override { return FALSE; }

    HICON m_hIcon = nullptr;

protected:
    void DrawFace(SECBtnDrawContext& ctx, BOOL bNoFrame, int& x, int& y, int& cx, int& cy,
                  int cxImage = -1) override;
};

class SECBtnCaption : public SECStdBtn {
    SEC_DECLARE_BUTTON()

public:
    enum Part { None = -1, Minimize = 0, Restore = 1, Close = 2 };
    static constexpr UINT kShown = 0x80000;
    static constexpr UINT kMinRestoreEnabled = 0x20000;

    SECBtnCaption();

    void RecalcSize() override;
    void Draw(CDC& dc, SECBtnDrawContext& ctx) override;
    BOOL BtnPressDown(CPoint point) override;
    void BtnPressMouseMove(CPoint point) override;
    void BtnPressCancel() override;
    UINT BtnPressUp(CPoint point) override;
    BOOL CanDrag() const override { return FALSE; }

    // The part under a point of the bar's client area, or None.
    int PartAt(CPoint point) const;
    CRect PartRect(int nPart) const;

    UINT m_nFlags = 0xB0000;
    int m_cxPart = 0;
    int m_cyPart = 0;
    int m_nPressedPart = None;
};
