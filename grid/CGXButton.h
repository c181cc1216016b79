// A push button child: pressed while the mouse button or the space bar is held on it, it tells its owner
// (ChildClicked) when released over it.
#pragma once

#include "grid/CGXChild.h"

class CGXButton : public CGXChild {
public:
    explicit CGXButton(CGXControl* owner) : CGXChild(owner) {}

    BOOL IsPressed() const { return m_bPressed; }
    BOOL IsCaptured() const { return m_bCaptured; }
    // Whether the button invalidates itself whenever pressed changes.
    void SetRedrawOnChange(BOOL redraw) { m_bRedrawOnChange = redraw; }

    void Draw(CDC* dc, BOOL active) override;
    BOOL MouseMove(UINT flags, int x, int y) override;
    BOOL LButtonDown(UINT flags, int x, int y) override;
    BOOL LButtonUp(UINT flags, int x, int y) override;
    BOOL KeyDown(UINT key, UINT repeat, UINT flags) override;
    BOOL KeyUp(UINT key, UINT repeat, UINT flags) override;
    void CancelMode() override;

protected:
    void SetPressed(BOOL pressed);

    BOOL m_bPressed = FALSE;
    BOOL m_bCaptured = FALSE;
    BOOL m_bRedrawOnChange = TRUE;
};
