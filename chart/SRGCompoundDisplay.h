// A data display framed by up to four axes: four axis managers (bottom, top, left, right) around a plot area.
// It hands each display's ranges to the managers on the matching sides (optionally mirrored onto the opposite
// side), places the axis titles, measures what the axes need, shrinks the plot area by it and gives every
// display and grid-line component the plot rectangle.
#pragma once

#include "chart/SRGCompoundComponent.h"

#include "platform/base/CLists.h"

class SRGAxisManager;
class SRGDecimalScale;
class SRGDisplayBase;
class SRGGridLines;
class SRGTickMarks;

class SRGCompoundDisplay : public SRGCompoundComponent {
    DECLARE_SERIAL(SRGCompoundDisplay)

public:
    enum Side { bottomSide = 0, topSide, leftSide, rightSide, sideCount };

    SRGCompoundDisplay();
    ~SRGCompoundDisplay() override;

    void Serialize(CArchive& ar) override;
    void BeforeMeasurePass() override { LayOutAxes(true); }
    void BeforeDrawPass() override;
    // Shrinks the plot area by the room the axes need.
    void AfterMeasurePass() override;

    // An explicit rectangle (option 0x80) stays exactly as given at every drawing.
    virtual void SetInnerRect(int left, int top, int right, int bottom, BOOL explicitRect);
    // Map a left or right (bottom or top) axis bound onto the opposite side when the mirror factor is 0.
    virtual double MirrorVerticalValue(double value) { return value; }
    virtual double MirrorHorizontalValue(double value) { return value; }
    virtual void SetHorizontalMirror(BOOL on) { m_bHorizontalMirror = on; }
    virtual void SetVerticalMirror(BOOL on) { m_bVerticalMirror = on; }
    virtual void SetBottomToTop(BOOL on) { m_bBottomToTop = on; }
    virtual void SetLeftToRight(BOOL on) { m_bLeftToRight = on; }
    virtual void SetHorizontalMirrorFactor(double factor) { m_dHorizontalFactor = factor; }
    virtual void SetVerticalMirrorFactor(double factor) { m_dVerticalFactor = factor; }
    virtual BOOL GetHorizontalMirror() const { return m_bHorizontalMirror; }
    virtual BOOL GetVerticalMirror() const { return m_bVerticalMirror; }
    virtual BOOL GetBottomToTop() const { return m_bBottomToTop; }
    virtual BOOL GetLeftToRight() const { return m_bLeftToRight; }
    virtual double GetHorizontalMirrorFactor() const { return m_dHorizontalFactor; }
    virtual double GetVerticalMirrorFactor() const { return m_dVerticalFactor; }
    // The manager's scale and tick marks take the list (not owned by them).
    virtual void AttachTickList(SRGAxisManager* manager, CPtrList* list);
    virtual void AttachBottomTickList(CPtrList* list) { AttachTickList(GetBottomAxis(), list); }
    virtual void AttachTopTickList(CPtrList* list) { AttachTickList(GetTopAxis(), list); }
    virtual void AttachLeftTickList(CPtrList* list) { AttachTickList(GetLeftAxis(), list); }
    virtual void AttachRightTickList(CPtrList* list) { AttachTickList(GetRightAxis(), list); }
    virtual SRGAxisManager* GetBottomAxis() const { return Axis(bottomSide); }
    virtual SRGAxisManager* GetTopAxis() const { return Axis(topSide); }
    virtual SRGAxisManager* GetLeftAxis() const { return Axis(leftSide); }
    virtual SRGAxisManager* GetRightAxis() const { return Axis(rightSide); }
    virtual void SetBottomScale(SRGDecimalScale* scale);
    virtual void SetTopScale(SRGDecimalScale* scale);
    virtual void SetLeftScale(SRGDecimalScale* scale);
    virtual void SetRightScale(SRGDecimalScale* scale);
    virtual void SetLeftGridLines(SRGGridLines* lines);
    virtual void SetRightGridLines(SRGGridLines* lines);
    virtual void SetBottomGridLines(SRGGridLines* lines);
    virtual void SetTopGridLines(SRGGridLines* lines);
    virtual void SetBottomTickMarks(SRGTickMarks* marks);
    virtual void SetTopTickMarks(SRGTickMarks* marks);
    virtual void SetLeftTickMarks(SRGTickMarks* marks);
    virtual void SetRightTickMarks(SRGTickMarks* marks);
    virtual void SetBottomDisplay(SRGDisplayBase* display);
    virtual void SetTopDisplay(SRGDisplayBase* display);
    virtual void SetLeftDisplay(SRGDisplayBase* display);
    virtual void SetRightDisplay(SRGDisplayBase* display);
    virtual void SetBottomWatcher(SRGraphComponent* watcher);
    virtual void SetTopWatcher(SRGraphComponent* watcher);
    virtual void SetLeftWatcher(SRGraphComponent* watcher);
    virtual void SetRightWatcher(SRGraphComponent* watcher);
    virtual void SetLeftWithBottom(BOOL on) { m_bLeftWithBottom = on; }
    virtual BOOL GetLeftWithBottom() const { return m_bLeftWithBottom; }

private:
    // One pass's axis layout: tick lists, titles, the displays' ranges and the plot rectangle.
    void LayOutAxes(bool measuring);
    void PlaceTitles(bool measuring);
    // What a display on the side gives the managers.
    void ApplyDisplay(int side, SRGDisplayBase* display, bool measuring, int dx, int dy);
    // A manager takes a range and the display's scope; its grid lines (and its watcher, with `watcherRange`
    // when given) the display's graph and axis style.
    void GiveRange(SRGAxisManager* manager, const CScale& range, SRGDisplayBase* display, bool toWatcher,
                   const CScale* watcherRange);
    CScale Mirrored(const CScale& range, bool vertical);
    SRGAxisManager* Axis(int side) const;
    // Axis styles with depth shorten the axes by the depth offset.
    static bool HasDepth(SRGDisplayBase* display);

    BOOL m_bLeftToRight = TRUE;
    BOOL m_bBottomToTop = TRUE;
    BOOL m_bLeftWithBottom = TRUE;
    CPtrList m_tickLists[sideCount];
    BOOL m_bHorizontalMirror = FALSE;
    BOOL m_bVerticalMirror = FALSE;
    double m_dHorizontalFactor = 0.0;
    double m_dVerticalFactor = 0.0;
};
