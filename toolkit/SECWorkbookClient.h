// The MDI client of a workbook, subclassed: it leaves margins around itself in the frame's client area (the
// tab strip lies in the bottom one) and tells the workbook after each menu change, so that the raised tab
// follows the active sheet.
#pragma once

#include "platform/framework/CWnd.h"

// Sent to the workbook after the client's menu changed.
constexpr UINT WM_SEC_WORKBOOK_MENUCHANGED = 0x84D;
// Sent to the client by a sheet without a menu of its own: only the workbook's notice follows.
constexpr UINT WM_SEC_WORKBOOK_NOMENU = 0x84E;

class SECWorkbookClient : public CWnd {
public:
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;
    void GetMargins(int& left, int& right, int& top, int& bottom) const;
    void SetMargins(int left, int top, int right, int bottom);

    int m_nLeftMargin = 0;
    int m_nTopMargin = 0;
    int m_nRightMargin = 0;
    int m_nBottomMargin = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
