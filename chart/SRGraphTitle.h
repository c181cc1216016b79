// The chart's text component, and the base of every text-bearing part (labels, blocks, scales and displays):
// a text of one or more lines drawn in its rectangle with its own font, colour and alignment.
#pragma once

#include "chart/SRGraphComponent.h"

#include "platform/base/CString.h"
#include "platform/gdi/GdiTypes.h"

// Font style bits.
enum : DWORD {
    SRGF_BOLD = 0x01,
    SRGF_ITALIC = 0x02,
    SRGF_UNDERLINE = 0x04,
    SRGF_STRIKEOUT = 0x08,
    SRGF_AUTOSIZE = 0x10,
};

class SRGraphTitle : public SRGraphComponent {
    DECLARE_SERIAL(SRGraphTitle)

public:
    SRGraphTitle();
    ~SRGraphTitle() override;

    void Serialize(CArchive& ar) override;
    // The chart's annotation for its current key.
    void UpdateText() override;
    int ReadTemplateTypePart(const CString& text) override;
    void WriteTemplateTypePart(SRGTemplateWriter& writer) override;
    void WriteTemplateKeyword(SRGTemplateWriter& writer) override;
    void Draw() override;

    virtual void CreateTitleFont();
    virtual int GetAutoFontSize();
    virtual void SetFontDirty(BOOL dirty) { m_bFontDirty = dirty; }
    // Lines split at line feeds: the widest line and the summed heights; leading blanks of the later lines
    // are not measured.
    virtual CSize GetTextExtent(const CString& text);
    virtual COLORREF GetColor() const { return m_crText; }
    virtual void SetFaceName(LPCTSTR face) { m_strFaceName = face; }
    virtual void SetFaceName(const CString& face) { m_strFaceName = face; }
    virtual const CString& GetFaceName() const { return m_strFaceName; }
    virtual BOOL SetFont(int size, DWORD style, const CString& face);
    // An empty text is stored as one blank.
    virtual void SetText(const CString& text, int alignment);
    virtual void SetColor(COLORREF colour) { m_crText = colour; }

    const CString& GetTitleText() const { return m_strText; }
    int GetAlignment() const { return m_nAlignment; }
    int GetFontSizeField() const { return m_nFontSize; }
    DWORD GetFontStyle() const { return m_nFontStyle; }
    void SetFontStyle(DWORD style) { m_nFontStyle = style; }
    CFont* GetTitleFont() const { return m_pFont; }

protected:
    // Fills the logical font from the fields (the height for the size given on the context), or takes the
    // stock GUI font on a double-byte system.
    void MakeLogFont(LOGFONTW& font, int size, int escapement, CDC* dc);
    // Whether the font must be built again for this drawing.
    bool FontNeedsRebuild() const;
    void ReplaceFont(const LOGFONTW& font);

    int m_nAlignment = 2;
    CString m_strText;
    CFont* m_pFont = nullptr;
    COLORREF m_crText = 0;
    BOOL m_bFontDirty = TRUE;
    int m_nFontSize = 10;
    DWORD m_nFontStyle = 0;
    CString m_strFaceName{u"Arial"};
    const LOGFONTW* m_pExternalFont = nullptr;
};
