// A top-level menu of the menu bar as a toolbar button: its text (with "&" marking the mnemonic) drawn on the
// button face, and a press that opens its menu through the bar instead of tracking the mouse.
#pragma once

#include "toolkit/SECStdBtn.h"

class SECTBMenuBtn : public SECStdBtn {
    SEC_DECLARE_BUTTON()

public:
    // What a button-class table entry hands the button.
    struct CreateData {
        UINT nMenuId = 0;
        int nSubMenu = -1;
        LPCTSTR lpszText = nullptr;
        UINT nExtra = 0;
    };

    SECTBMenuBtn() { m_nType = SEC_BTN_TOPMENU; }

    void Init(SECCustomToolBar* pToolBar, const void* pData) override;
    void RecalcSize() override;
    BOOL BtnPressDown(CPoint point) override;
    BOOL CanDrag() const override { return TRUE; }
    virtual BOOL OpenMenu();
    virtual void UpdateMnemonic();

    CString m_strText;
    // The menu id and sub-menu position the owner turns into a menu; without a position the id is the menu
    // handle itself.
    LPARAM m_nMenuId = 0;
    int m_nSubMenu = -1;
    char16_t m_chMnemonic = 0;
    UINT m_nExtra = 0;

protected:
    void DrawFace(SECBtnDrawContext& ctx, BOOL bNoFrame, int& x, int& y, int& cx, int& cy,
                  int cxImage = -1) override;
};
