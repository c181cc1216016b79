// Names the data: one entry per group, per index or per item, each a text with a key (a line sample, a
// filled box or a symbol in the data's own style), laid out in a grid of columns and rows. It takes its scope
// from the data display placed just before it and can shrink its rectangle to what the entries need.
#pragma once

#include "chart/SRGraphLabelBlock.h"
#include "chart/SRGraphTitle.h"

#include <utility>
#include <vector>

class SRGDisplayBase;

// Legend style bits.
enum : int {
    SRGLS_FIT_WIDTH = 1,
    SRGLS_FIT_HEIGHT = 2,
    SRGLS_ALIGN_LEFT = 4,
    SRGLS_ALIGN_TOP = 8,
};

// Legend option word bits.
enum : DWORD {
    SRGLO_FIXED_GRID = 0x2,
    SRGLO_KEY_LEFT = 0x8,
    SRGLO_NO_LINE_KEYS = 0x20000,
};

class SRGraphLegend : public SRGraphTitle {
    DECLARE_SERIAL(SRGraphLegend)

public:
    SRGraphLegend();

    void Serialize(CArchive& ar) override;
    void SetParentGraph(SRGraph* chart) override;
    // The entries' texts for the resolved scope.
    void UpdateText() override;
    void DrawComponent(CDC* dc, CWnd* window) override;
    // The layout pass or the drawing pass, as the layout-pass flag says.
    void Draw() override;
    // The key size becomes the unit's default.
    void UpdatePlacement() override;
    // A tenth of the legend's height, as a character height.
    int GetAutoFontSize() override;
    void WriteTemplateKeyword(SRGTemplateWriter& writer) override;
    int ReadTemplateTypePart(const CString& text) override;
    void WriteTemplateExtraPart(SRGTemplateWriter& writer) override;

    virtual void DrawKey(int left, int top, int right, int bottom, int index, int group, int entry);
    // The key size in pixels; 30 outside drawing.
    virtual int GetKeySize();
    virtual void DrawCustomKey(int, int, int, int, int, int, int) {}
    virtual void OnCustomDisplayStyle() {}
    virtual void SetIndexStep(int step) { m_nIndexStep = step; }
    virtual int GetIndexStep() const { return m_nIndexStep; }
    virtual void SetGroupStep(int step) { m_nGroupStep = step; }
    virtual int GetGroupStep() const { return m_nGroupStep; }
    virtual void SetLegendStyle(int bits);

    int GetLegendStyle() const;
    double GetKeySizeValue() const { return m_dKeySize; }
    void SetKeySizeValue(double size) { m_dKeySize = size; }
    // 2 or 6 an entry per index, 4 per item, anything else per group (the third style word's low byte).
    int GetLegendMode() { return static_cast<int>(m_style.m_dwThird & 0xFF); }
    void SetLegendMode(int mode) { SRGraphStyle::SetField(m_style.m_dwThird, 0, 8, mode); }
    void SetKeyType(int type) { SRGraphStyle::SetField(m_style.m_dwStyle, 12, 4, type); }
    SRGraphLabelBlock& GetEntries() { return m_entries; }
    SRGDisplayBase* GetAssociatedDisplay() const { return m_pDisplay; }
    int GetEntryCount() const { return m_nEntryCount; }
    int GetRowHeight() const { return m_nRowHeight; }
    const CRect& GetContentRect() const { return m_rectContent; }
    int GetColumnCount() const { return m_nColumns; }
    int GetRowCount() const { return m_nRows; }

private:
    void LayOut();
    void Paint();
    void FindAssociatedDisplay();
    void ResolveLegendScope();
    void ApplyDisplaySteps();
    void AddEntry(const CString& text, int index, int group);

    int m_nIndexStep = 1;
    int m_nGroupStep = 1;
    int m_nRowHeight = 0;
    SRGraphRect m_savedPosition;
    SRGraphLabelBlock m_entries;
    SRGDisplayBase* m_pDisplay = nullptr;
    CRect m_rectContent;
    BOOL m_bAlignTop = FALSE;
    BOOL m_bAlignLeft = FALSE;
    BOOL m_bFitWidth = FALSE;
    BOOL m_bFitHeight = FALSE;
    BOOL m_bLayoutPass = FALSE;
    double m_dKeySize = 20.0;
    int m_nEntryCount = 0;
    int m_nColumns = 0;
    int m_nRows = 0;
    // The item (index, group) each entry names, in entry order.
    std::vector<std::pair<int, int>> m_entryItems;
};
