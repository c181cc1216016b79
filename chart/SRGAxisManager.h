// One axis of a compound display: six child slots (scale, tick marks, grid lines, watcher, display, title),
// each a real component or an invisible placeholder. It lays the scale out along its line before its
// children draw, shares the scale's tick points with the tick marks and grid lines, and tells how much room
// the axis needs beside the plot area.
#pragma once

#include "chart/SRGCompoundComponent.h"

class SRGDecimalScale;
class SRGDisplayBase;
class SRGGridLines;
class SRGraphLabel;
class SRGTickMarks;

class SRGAxisManager : public SRGCompoundComponent {
    DECLARE_SERIAL(SRGAxisManager)

public:
    enum Slot { scaleSlot = 0, tickSlot, gridSlot, watcherSlot, displaySlot, titleSlot, slotCount };

    SRGAxisManager();

    void Serialize(CArchive& ar) override;
    // Every child takes the scope; the manager keeps none of its own.
    void SetScope(int firstItem, int lastItem, int firstGroup, int lastGroup) override;
    void BeforeMeasurePass() override { LayOutScale(); }
    void BeforeDrawPass() override { LayOutScale(); }

    // With a delete flag of 0 the occupant is handed back to the caller; otherwise it is deleted.
    virtual SRGraphComponent* RemoveTickMarks(BOOL deleteIt) { return RemoveSlot(tickSlot, deleteIt); }
    virtual SRGraphComponent* RemoveGridLines(BOOL deleteIt) { return RemoveSlot(gridSlot, deleteIt); }
    virtual SRGraphComponent* RemoveWatcher(BOOL deleteIt) { return RemoveSlot(watcherSlot, deleteIt); }
    virtual SRGraphComponent* RemoveScale(BOOL deleteIt) { return RemoveSlot(scaleSlot, deleteIt); }
    virtual SRGraphComponent* RemoveDisplay(BOOL deleteIt) { return RemoveSlot(displaySlot, deleteIt); }
    virtual SRGraphComponent* RemoveTitle(BOOL deleteIt) { return RemoveSlot(titleSlot, deleteIt); }
    virtual SRGGridLines* GetGridLines() const;
    virtual void SetGridLines(SRGGridLines* lines);
    virtual void SetReservedValue(int value) { m_nReserved = value; }
    virtual int GetReservedValue() const { return m_nReserved; }
    virtual void SetLabelSide(int side);
    virtual void SetMinimum(double value);
    virtual void SetMaximum(double value);
    virtual SRGraphComponent* GetWatcher() const { return Occupant(watcherSlot); }
    virtual SRGTickMarks* GetTickMarks() const;
    virtual SRGDecimalScale* GetScale() const;
    virtual SRGDisplayBase* GetDisplay() const;
    virtual SRGraphLabel* GetTitle() const;
    virtual int GetRequiredWidth() { return RequiredRoom(true); }
    virtual int GetRequiredHeight() { return RequiredRoom(false); }
    virtual void SetDisplay(SRGDisplayBase* display);
    virtual void SetStartPoint(int x, int y) { m_start = POINT{x, y}; }
    virtual void SetEndPoint(int x, int y) { m_end = POINT{x, y}; }
    virtual POINT GetStartPoint() const { return m_start; }
    virtual POINT GetEndPoint() const { return m_end; }
    virtual void SetTickMarks(SRGTickMarks* marks);
    virtual void SetScale(SRGDecimalScale* scale);
    virtual void SetWatcher(SRGraphComponent* watcher);
    virtual void SetTitle(SRGraphLabel* title);

private:
    static SRGraphComponent* MakePlaceholder();
    SRGraphComponent* Occupant(int slot) const;
    // Puts the component into the slot, deleting the previous occupant (never the component itself).
    void FillSlot(int slot, SRGraphComponent* component);
    SRGraphComponent* RemoveSlot(int slot, BOOL deleteIt);
    POSITION SlotPosition(int slot) const;
    void LayOutScale();
    int RequiredRoom(bool width);

    int m_nReserved = 0;
    BOOL m_bPresent[slotCount] = {};
    POINT m_end{0, 0};
    POINT m_start{0, 0};
};
