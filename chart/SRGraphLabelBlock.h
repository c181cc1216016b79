// A label that owns an ordered list of labels and draws them together, hiding or pushing aside a label that
// would overlap an earlier one, optionally with a leader line back to its point; the base of the scales. It
// can record its labels' anchors in a position list (an axis's tick points).
#pragma once

#include "chart/SRGraphLabel.h"

#include "platform/base/CLists.h"

// A list of positions: each entry a separately allocated POINT, freed by whoever empties the list.
void SRGFreePositions(CPtrList& list);

class SRGraphLabelBlock : public SRGraphLabel {
    DECLARE_SERIAL(SRGraphLabelBlock)

public:
    SRGraphLabelBlock();
    ~SRGraphLabelBlock() override;

    void Serialize(CArchive& ar) override;
    void SetParentGraph(SRGraph* chart) override;
    // Its labels, without an outline, fill, border or shadow of its own.
    void DrawComponent(CDC* dc, CWnd* window) override;
    void DrawFill() override {}
    void DrawShadow() override {}
    void DrawBorder() override {}
    void Draw() override;
    void CreateTitleFont() override;
    COLORREF GetColor() const override { return m_crText; }
    SRGraphStyle& GetStyle() override { return m_style; }
    CFont* GetFont() const override { return m_pFont; }
    void WriteTemplateKeyword(SRGTemplateWriter& writer) override;
    // The block's line, its labels' lines and "endblock".
    void WriteTemplate(SRGTemplateWriter& writer) override;

    // With keep-positions on: the list (made and owned when there is none) gets each label's anchor moved by
    // (dx, dy).
    virtual void SavePositions(int dx, int dy);
    virtual void SavePositions() { SavePositions(0, 0); }
    // Builds the labels (the scales build theirs from a range).
    virtual void BuildLabels() {}
    virtual int GetCount() const { return static_cast<int>(m_labels.GetCount()); }
    virtual void RemoveLast();
    virtual void RemoveAll();
    virtual void SetDrawFlag(int flag) { m_nDrawnMark = flag; }
    virtual int GetDrawFlag() const { return m_nDrawnMark; }
    // Below the count: that label's text; otherwise empty labels up to the index and then a new one.
    virtual void SetLabelText(const CString& text, int index, int key);
    // -1 the first, -2 the last, other negative values null.
    virtual SRGraphLabel* GetLabel(int index);
    virtual SRGraphLabel* AddLabel(const CString& text);
    // Adopts the label; without its own style it borrows the block's.
    virtual void AttachLabel(SRGraphLabel* label, BOOL ownStyle);
    virtual void SetAllSides(int side);
    // Quarter turns set each label's rotation mode; other angles are given as they are.
    virtual void SetAllAngles(double degrees);
    // Spreads the labels evenly from (x1, y1) to (x2, y2); a single label goes to the end.
    virtual void ArrangeLabels(int x1, int y1, int x2, int y2);
    virtual void SetMoveFactors(double fx, double fy);
    virtual CRect GetBlockRect() const { return m_rectBlock; }
    // The block keeps the list but does not own it.
    virtual void SetPositionList(CPtrList* list);
    virtual void SetKeepPositions(BOOL keep) { m_bKeepPositions = keep; }
    virtual CPtrList* GetPositionList() const { return m_pPositions; }
    virtual void SetAvoidOverlap(BOOL avoid) { m_bAvoidOverlap = avoid; }
    virtual BOOL GetAvoidOverlap() const { return m_bAvoidOverlap; }

    // Push mode (label nibble 0xA) or hide mode (anything else).
    BOOL IsPushMode() { return m_style.GetTagNibble() == 0xA; }

protected:
    // Resolves overlaps of one label with what was drawn before; false when the label is hidden.
    bool Place(SRGraphLabel* label, HRGN drawn);
    void DeleteOwnedPositions();

    int m_nReservedOne = 1;
    BOOL m_bOwnsPositions = FALSE;
    BOOL m_bAvoidOverlap = TRUE;
    CRect m_rectBlock;
    CObList m_labels;
    BOOL m_bKeepPositions = FALSE;
    CPtrList* m_pPositions = nullptr;
    POSITION m_posCursor = nullptr;
    int m_nCursor = -1;
    int m_nSerialisedFirst = 0;
};
