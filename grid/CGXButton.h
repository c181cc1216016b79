// A push button child: pressed while the left button or the space bar holds it down, and clicked (the
// owner's ChildClicked) when released over it.
#pragma once

#include "grid/CGXChild.h"

class CGXButton : public CGXChild {
public:
    using CGXChild::CGXChild;

    void Draw(CDC* dc, BOOL active) override;
    BOOL MouseMove(UINT flags, int x, int y) override;
    BOOL LButtonDown(UINT flags, int x, int y) override;
    BOOL LButtonUp(UINT flags, int x, int y) override;
    BOOL KeyDown(UINT key, UINT repeat, UINT flags) override;
    BOOL KeyUp(UINT key, UINT repeat, UINT flags) override;
    void CancelMode() override;

    BOOL IsPressed() const { return m_bPressed; }

protected:
    void SetPressed(BOOL pressed);

    BOOL m_bPressed = FALSE;
    // Between a press on the button and the next release or cancel.
    BOOL m_bCaptured = FALSE;
    BOOL m_bRedrawOnChange = TRUE;
};
