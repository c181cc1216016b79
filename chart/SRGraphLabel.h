// A text placed at an anchor point: on one of nine sides of the point, inside an outline (box, circle or
// flash) that can be filled, bevelled and shadowed, the whole turned about the point. One text per
// annotation key. A label stands alone as a component or belongs to a label block, whose style, font, colour
// and context it then borrows unless it has its own style.
#pragma once

#include "chart/SRGraphAnnotation.h"
#include "chart/SRGraphTitle.h"

#include <vector>

class SRGraphLabelBlock;

// Where the text lies relative to the anchor (y grows downward).
enum SRGLabelSide {
    SRGL_RIGHT = 0,
    SRGL_RIGHT_BELOW = 1,
    SRGL_BELOW = 2,
    SRGL_LEFT_BELOW = 3,
    SRGL_LEFT = 4,
    SRGL_LEFT_ABOVE = 5,
    SRGL_ABOVE = 6,
    SRGL_RIGHT_ABOVE = 7,
    SRGL_CENTRED = 8,
};

class SRGraphLabel : public SRGraphTitle {
    DECLARE_SERIAL(SRGraphLabel)

public:
    SRGraphLabel();
    ~SRGraphLabel() override;

    void Serialize(CArchive& ar) override;
    void DrawComponent(CDC* dc, CWnd* window) override;
    void CreateTitleFont() override;
    int GetAutoFontSize() override { return GetFontSize(); }
    COLORREF GetColor() const override;
    double GetDepthY() override { return m_dDepthY; }
    double GetDepthX() override { return m_dDepthX; }
    double GetDepth() override { return m_dDepth; }
    SRGraphStyle& GetStyle() override;
    CDC* GetDC() const override;
    CWnd* GetWindow() const override;
    int ReadTemplateTypePart(const CString& text) override;
    void WriteTemplateKeyword(SRGTemplateWriter& writer) override;
    void WriteTemplateTypePart(SRGTemplateWriter& writer) override;
    // The label's line, then its annotation lines.
    void WriteTemplate(SRGTemplateWriter& writer) override;
    void UpdateText() override {}
    using SRGraphTitle::SetText;

    virtual int GetLargeFontSize() const { return 12; }
    virtual void FreeOutline();
    // Angle, side, shape, colours and font size from a data item's first style word.
    virtual void ApplyItemStyle(SRGraphStyle& style);
    virtual int GetFontSize();
    virtual void SetFontSize(int size);
    virtual void SetAnchorX(double x);
    virtual void SetAnchorY(double y);
    virtual void SetAnchor(double x, double y);
    virtual const CString& GetText(int key) { return m_texts.GetText(key); }
    // Its own chart, or the block's when it is in one.
    virtual SRGraph* GetGraph() const;
    virtual CSize GetOutlineSize() const;
    // 0 up, 1 left, 2 right, 3 down set the push direction and the move mode; others clear the move mode.
    virtual void SetMoveDirection(int type);
    // A new polygon region of the outline; the caller owns it.
    virtual HRGN CreateOutlineRegion() const;
    // The outline about the anchor for the text, its side and angle, into the label's points (and `out`).
    virtual void ComputeOutline(POINT* out, int count);
    // The text's top-left corner, turned with the label.
    virtual POINT GetTextOrigin();
    virtual POINT GetAnchorPoint();
    // 0 to 3: quarter turns, setting the rotation-mode flag; others clear it.
    virtual void SetRotationMode(int mode);
    virtual CFont* GetFont() const;
    // The text for the chart's current annotation key.
    virtual void SetText(const CString& text);
    virtual void SetTextForKey(int key, const CString& text) { m_texts.SetText(key, text); }
    virtual void LabelHook() {}
    virtual void DrawCustomLabelBorder() {}
    virtual void DrawCustomLabelShadow() {}

    // Push direction (cos, sin of the angle); the move mode flag only for 0, 90, 180 and 270 degrees.
    void SetAngle(double degrees);
    void SetMoveFactors(double fx, double fy) {
        m_dMoveX = fx;
        m_dMoveY = fy;
    }
    double GetMoveFactorX() const { return m_dMoveX; }
    double GetMoveFactorY() const { return m_dMoveY; }
    BOOL GetMoveMode() const { return m_bMoveMode; }
    void SetMoveMode(BOOL on) { m_bMoveMode = on; }
    BOOL GetRotationModeFlag() const { return m_bRotationMode; }
    int GetSide() const { return m_nSide; }
    void SetSide(int side) { m_nSide = side; }
    double GetAnchorX() const { return m_dAnchorX; }
    double GetAnchorY() const { return m_dAnchorY; }
    // The label's own angle, also when it borrows the block's style.
    double GetAngleDegrees() const { return m_style.m_dRotation; }
    void SetAngleDegrees(double degrees) { m_style.m_dRotation = degrees; }
    // Moves the anchor (pixels and units) by a pixel offset.
    void MoveAnchorBy(int dx, int dy);
    // Puts the anchor at a pixel point (and the units with it).
    void SetAnchorPixels(int x, int y);
    const std::vector<POINT>& GetOutline() const { return m_outline; }
    void OffsetOutline(int dx, int dy);
    SRGraphAnnotationList& GetTexts() { return m_texts; }
    const CString& GetCurrentText();
    // Membership of a block.
    void SetOwnerBlock(SRGraphLabelBlock* block, BOOL inBlock, BOOL ownStyle);
    SRGraphLabelBlock* GetOwnerBlock() const { return m_pOwnerBlock; }
    BOOL IsInBlock() const { return m_bInBlock; }
    BOOL HasOwnStyle() const { return m_bOwnStyle; }

protected:
    // Pixel anchor from the anchor in the component's unit (only while drawing).
    void UpdatePixelAnchor();
    // Text extent for the current key in the label's font.
    CSize MeasureText();
    void DrawLabelBorder();
    void DrawLabelShadow();
    // Anchor coordinate in units from a pixel coordinate.
    double UnitsFromPixels(int pixels, bool horizontal);

    BOOL m_bDrawn = FALSE;
    std::vector<POINT> m_outline;
    double m_dAnchorY = 0.0;
    double m_dAnchorX = 0.0;
    BOOL m_bMoveMode = TRUE;
    BOOL m_bRotationMode = TRUE;
    BOOL m_bThirdFlag = FALSE;
    double m_dMoveX = 1.0;
    double m_dMoveY = 0.0;
    int m_nSide = SRGL_RIGHT_BELOW;
    SRGraphLabelBlock* m_pOwnerBlock = nullptr;
    BOOL m_bInBlock = FALSE;
    BOOL m_bOwnStyle = TRUE;
    POINT m_anchorPixels{0, 0};
    SRGraphAnnotationList m_texts;
    CString m_strUnused;
};
