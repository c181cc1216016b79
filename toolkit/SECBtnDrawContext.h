// What toolbar buttons draw with: an off-screen colour buffer as wide as the widest button, a monochrome mask
// of the same size, a DC holding the current image strip and the checkerboard brush of checked buttons.
// One per toolbar, or one shared by the toolbar manager.
#pragma once

#include "platform/framework/CDC.h"
#include "platform/framework/CGdiObject.h"

class SECCustomToolBar;

class SECBtnDrawContext {
public:
    // Throws the framework's resource exception when a DC or the brush cannot be made.
    SECBtnDrawContext();
    ~SECBtnDrawContext();
    SECBtnDrawContext(const SECBtnDrawContext&) = delete;
    SECBtnDrawContext& operator=(const SECBtnDrawContext&) = delete;

    // A buffer and mask of cx by the bar's button height; FALSE with nothing left selected on failure.
    BOOL Prepare(CDC& barDC, int cx, const SECCustomToolBar& toolBar);
    void SelectImageStrip(HBITMAP hbmStrip);
    void Release();
    void RenewDitherBrush();

    CDC m_dcMask;
    CDC m_dcImage;
    CDC m_dcBuffer;
    CBrush m_brDither;
    CBitmap m_bmMask;
    CBitmap m_bmBuffer;
    HBITMAP m_hbmOldMask = nullptr;
    HBITMAP m_hbmOldBuffer = nullptr;
    HBITMAP m_hbmOldImage = nullptr;
    HBITMAP m_hbmStrip = nullptr;

private:
    BOOL MakeDitherBrush();
};
