// A block of word-wrapped text (the body) with an optional caption on one of its four sides, turned upright
// at the left and right. Body and caption have their own texts per annotation key, fonts, colours, and the
// caption its own fill. With the margin flag the panel grows to fit its body text.
#pragma once

#include "chart/SRGraphAnnotation.h"
#include "chart/SRGraphTitle.h"

// Where the caption stands.
enum SRGCaptionPosition { SRGC_TOP = 0, SRGC_LEFT = 1, SRGC_RIGHT = 2, SRGC_BOTTOM = 3 };

class SRGTextPanel : public SRGraphTitle {
    DECLARE_SERIAL(SRGTextPanel)

public:
    SRGTextPanel();
    ~SRGTextPanel() override;

    void Serialize(CArchive& ar) override;
    void DrawComponent(CDC* dc, CWnd* window) override;
    // The layout pass or the drawing pass, as the layout-pass flag says.
    void Draw() override;
    // The panel and, with a caption, the caption in its own style.
    void DrawFill() override;
    // A fifth of the panel's height, as a character height.
    int GetAutoFontSize() override;
    // The caption position came with version 2.
    CScale& GetVersionRecord(CScale& out) override;
    void WriteTemplateKeyword(SRGTemplateWriter& writer) override;
    // The body's font part, then the caption's.
    void WriteTemplateTypePart(SRGTemplateWriter& writer) override;
    int ReadTemplateTypePart(const CString& text) override;
    void UpdateText() override {}

    virtual const CString& GetCaptionText(int key) { return m_captionTexts.GetText(key); }
    virtual void SetCaptionPosition(int position) { m_nCaptionPosition = position; }
    virtual int GetCaptionPosition() const { return m_nCaptionPosition; }
    virtual void SetCaptionColor(COLORREF colour) { m_crCaption = colour; }
    virtual void SetBodyColor(COLORREF colour) { m_crBody = colour; }
    virtual COLORREF GetCaptionColor() const { return m_crCaption; }
    virtual COLORREF GetBodyColor() const { return m_crBody; }
    virtual SRGraphStyle& GetCaptionStyle() { return m_captionStyle; }
    virtual void CreateCaptionFont();
    virtual CRect ComputeCaptionRect();
    virtual void SetBodyText(int key, const CString& text) { m_bodyTexts.SetText(key, text); }
    virtual const CString& GetBodyText(int key) { return m_bodyTexts.GetText(key); }
    virtual void SetCaptionText(int key, const CString& text) { m_captionTexts.SetText(key, text); }
    virtual void SetBodyFontSize(int size) { m_nBodyFontSize = size; }
    virtual int GetBodyFontSize() const { return m_nBodyFontSize; }
    virtual void SetCaptionFontSize(int size) { m_nCaptionFontSize = size; }
    virtual int GetCaptionFontSize() const { return m_nCaptionFontSize; }
    virtual void SetBodyFontStyle(DWORD style) { m_nBodyFontStyle = style; }
    virtual DWORD GetBodyFontStyle() const { return m_nBodyFontStyle; }
    virtual void SetCaptionFontStyle(DWORD style) { m_nCaptionFontStyle = style; }
    virtual DWORD GetCaptionFontStyle() const { return m_nCaptionFontStyle; }
    virtual void SetBodyFaceName(const CString& face) { m_strBodyFace = face; }
    virtual const CString& GetBodyFaceName() const { return m_strBodyFace; }
    virtual void SetCaptionFaceName(const CString& face) { m_strCaptionFace = face; }
    virtual const CString& GetCaptionFaceName() const { return m_strCaptionFace; }
    virtual BOOL HasCaption() const { return m_bHasCaption; }
    virtual void SetHasCaption(BOOL on) { m_bHasCaption = on; }
    virtual void SetMargin(BOOL on) { m_bMargin = on; }
    virtual BOOL GetMargin() const { return m_bMargin; }
    virtual void SetCaptionAlignmentValue(int value) { m_nCaptionAlignment = value; }
    virtual int GetCaptionAlignmentValue() const { return m_nCaptionAlignment; }
    virtual void SetBodyAlignmentValue(int value) { m_nBodyAlignment = value; }
    virtual int GetBodyAlignmentValue() const { return m_nBodyAlignment; }

    // As the last layout left them, in pixels.
    const CRect& GetPanelRect() const { return m_rectPanel; }
    const CRect& GetCaptionRect() const { return m_rectCaption; }
    const CRect& GetBodyRect() const { return m_rectBody; }

private:
    void LayOut();
    void Paint();
    // The chart's current annotation key, the panel's own without a chart.
    int CurrentKey() const;

    int m_nCaptionPosition = SRGC_TOP;
    int m_nBodyAlignment = 0;
    int m_nCaptionAlignment = 0;
    CRect m_captionTextSize;
    SRGraphStyle m_captionStyle;
    CRect m_rectPanel;
    CRect m_rectCaption;
    CFont* m_pCaptionFont = nullptr;
    SRGraphAnnotationList m_captionTexts;
    SRGraphAnnotationList m_bodyTexts;
    COLORREF m_crBody = 0;
    COLORREF m_crCaption = 0;
    int m_nCaptionEscapement = 0;
    CRect m_rectBody;
    BOOL m_bHasCaption = TRUE;
    BOOL m_bMargin = TRUE;
    int m_nCaptionFontSize = 10;
    int m_nBodyFontSize = 10;
    DWORD m_nCaptionFontStyle = 0;
    DWORD m_nBodyFontStyle = 0;
    CString m_strCaptionFace{u"Arial"};
    CString m_strBodyFace{u"Arial"};
    BOOL m_bLayoutPass = FALSE;
};
