// The check box cell: the value shown as a box from a strip of five pictures (unchecked, checked, their
// disabled or pressed looks, indeterminate) with the style's choice list as caption, toggled by a click on
// the box or the space bar. The checked and unchecked texts are user attributes ("1" and "0" by default);
// with TriState any other value shows the indeterminate box.
#pragma once

#include "grid/CGXControl.h"

class CGXStylesMap;

class CGXCheckBox : public CGXControl {
public:
    static const ControlTypeRecord kTypeRecord;
    // The state word's bits; neither checked nor unchecked is the indeterminate state.
    enum : UINT {
        kStateCurrent = 0x1,
        kStateDisabledOrPressed = 0x2,
        kStateChecked = 0x4,
        kStateUnchecked = 0x8
    };
    static constexpr int kBoxSize = 13;
    static constexpr WORD kCheckedValueAttribute = 51019;
    static constexpr WORD kUncheckedValueAttribute = 51020;

    // A bitmap id of 0 takes the default strip: flat, else the 3-D look of the running system.
    CGXCheckBox(CGXGridCore* grid, BOOL threeD = FALSE, UINT screenBitmapId = 0, UINT printBitmapId = 0);
    ~CGXCheckBox() override;

    static void RegisterUserAttributes(CGXStylesMap* stylesMap);

    const ControlTypeRecord& GetTypeRecord() const override { return kTypeRecord; }
    CSize CalcCellSize(CDC* dc, ROWCOL row, ROWCOL col, const CGXStyle& style, const CGXStyle* standardStyle,
                       BOOL heightForWidth, int extra) override;
    void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
              const CGXStyle* standardStyle) override;
    // With TriState, a text that is neither the checked nor the unchecked text becomes empty.
    BOOL DisplayTextToValue(CString& text, ROWCOL row, ROWCOL col, const CGXStyle& style) override;
    BOOL MouseMove(UINT flags, POINT point, UINT hitState) override;
    BOOL LButtonDown(UINT flags, POINT point, UINT hitState) override;
    BOOL LButtonUp(UINT flags, POINT point, UINT hitState) override;
    BOOL LButtonDblClk(UINT flags, POINT point) override;
    BOOL KeyMessage(UINT message, WPARAM key, UINT repeat, UINT flags) override;
    // The toggle: checked, unchecked, (indeterminate,) checked.
    void ChildClicked(CGXChild* child) override;
    void SysColorChanged() override;
    void CancelMode() override;

    virtual UINT GetState(ROWCOL row, ROWCOL col, const CGXStyle& style);
    virtual void DrawBox(CDC* dc, const RECT& rect, UINT state, UINT alignment, const CString& caption);
    virtual CRect CalcBoxRect(CDC* dc, const RECT& rect, const CString& caption, UINT alignment);
    // The strips' placeholder colours: black text, red window, green frame, light grey face.
    virtual COLORREF MapBitmapColor(COLORREF color, BOOL print);
    virtual BOOL LoadBitmaps();

    BOOL IsPressed() const { return m_bPressed; }
    UINT GetScreenBitmapId() const { return m_nScreenBitmapId; }
    UINT GetPrintBitmapId() const { return m_nPrintBitmapId; }

protected:
    void FreeBitmaps();

    BOOL m_b3D;
    HGLOBAL m_hScreenBitmap = nullptr;
    HGLOBAL m_hPrintBitmap = nullptr;
    UINT m_nScreenBitmapId;
    UINT m_nPrintBitmapId;
    int m_nBoxSize = kBoxSize;
    // While the left button is down on the box and the pointer is over it.
    BOOL m_bPressed = FALSE;
    // Where the box was at the last button-down: the hit area for the release and the moves.
    CRect m_rectBox;
};
