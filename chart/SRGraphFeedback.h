// A hit-test record that the drawing code logs for every data shape it paints, so that a window can find
// which group and item lies under a point: a polygon region, a rectangle or a point with a tolerance.
#pragma once

#include "platform/base/CObject.h"
#include "platform/gdi/GdiTypes.h"

class SRGraph;

class SRGraphFeedback : public CObject {
public:
    enum Kind { polygon = 0, rectangle = 1, point = 2 };

    SRGraphFeedback(const POINT* points, int count, int group, int item, SRGraph* chart);
    SRGraphFeedback(int left, int top, int right, int bottom, int group, int item, SRGraph* chart);
    SRGraphFeedback(int x, int y, int tolerance, int group, int item, SRGraph* chart);
    ~SRGraphFeedback() override;
    SRGraphFeedback(const SRGraphFeedback&) = delete;
    SRGraphFeedback& operator=(const SRGraphFeedback&) = delete;

    virtual int GetGroup() const { return m_nGroup; }
    virtual HRGN GetRegion() const { return m_hRegion; }
    virtual void GetPoint(POINT& out) const { out = m_point; }
    virtual int GetTolerance() const { return m_nTolerance; }
    virtual void GetRect(RECT& out) const { out = m_rect; }
    virtual int GetKind() const { return m_nKind; }
    // Polygon: inside the region; rectangle: inside, right and bottom edges excluded; point: less than the
    // tolerance away both across and down.
    BOOL HitTest(int x, int y) const;

    int m_nItem;

private:
    int m_nGroup;
    SRGraph* m_pChart;
    HRGN m_hRegion = nullptr;
    int m_nTolerance = 5;
    POINT m_point{};
    RECT m_rect{};
    int m_nKind;
};
