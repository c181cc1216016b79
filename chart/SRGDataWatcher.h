// Grid lines that watch the chart's data against an upper and a lower limit: drawn by the chart's loop they
// check the values in their scope and mark the offending items (so that the display drawn next shows them
// highlighted); drawn by a display's axis routine they draw the limit lines across its plot area.
#pragma once

#include "chart/SRGGridLines.h"

// Check modes: item modes mark each offending item, average modes compare the mean of the scope.
enum SRGWatchMode {
    SRGW_ALL_BELOW_UPPER = 0,
    SRGW_ALL_ABOVE_LOWER = 1,
    SRGW_AVERAGE_BELOW_UPPER = 2,
    SRGW_AVERAGE_ABOVE_LOWER = 3,
    SRGW_NONE_INSIDE = 4,
    SRGW_ALL_INSIDE = 5,
    SRGW_AVERAGE_OUTSIDE = 6,
    SRGW_AVERAGE_INSIDE = 7,
};

class SRGDataWatcher : public SRGGridLines {
    DECLARE_SERIAL(SRGDataWatcher)

public:
    SRGDataWatcher();
    ~SRGDataWatcher() override;

    void Serialize(CArchive& ar) override;
    void DrawComponent(CDC* dc, CWnd* window) override;
    // The limit lines.
    void Draw() override;
    void WriteTemplateKeyword(SRGTemplateWriter& writer) override;
    void WriteTemplateExtraPart(SRGTemplateWriter&) override {}
    void SetDrawLines(int on) override { m_bDrawLines = on; }

    virtual void ReservedHook(int) {}
    virtual void ClearItemMark(int item, int group);
    virtual void BeforeMarkItem(int, int) {}
    virtual void SetMode(int mode) { m_nMode = mode; }
    virtual int GetMode() const { return m_nMode; }
    virtual void SetUseDisplayScope(BOOL on) { m_bUseDisplayScope = on; }
    virtual BOOL GetUseDisplayScope() const { return m_bUseDisplayScope; }
    virtual void SetUpperLimit(double value) { m_dUpper = value; }
    virtual void SetLowerLimit(double value) { m_dLower = value; }
    virtual double GetUpperLimit() const { return m_dUpper; }
    virtual double GetLowerLimit() const { return m_dLower; }
    virtual int GetDrawLines() const { return m_bDrawLines; }
    virtual void SetGroupStep(int step) { m_nGroupStep = step; }
    virtual void SetIndexStep(int step) { m_nIndexStep = step; }
    virtual int GetGroupStep() const { return m_nGroupStep; }
    virtual int GetIndexStep() const { return m_nIndexStep; }
    virtual void DrawOtherModeLines() {}
    // The scope checked (the display's or the watcher's own) resolved against the chart; the item count.
    virtual int ResolveScope();
    virtual void MarkItem(int item, int group);
    virtual void OnCheckFailed() {}
    virtual void OnCheckPassed() {}
    virtual void Check();
    virtual BOOL CheckAllBelowUpper();
    virtual BOOL CheckAllAboveLower();
    virtual BOOL CheckAverageBelowUpper();
    virtual BOOL CheckAverageAboveLower();
    virtual BOOL CheckNoneInside();
    virtual BOOL CheckAllInside();
    virtual BOOL CheckAverageOutside();
    virtual BOOL CheckAverageInside();
    virtual BOOL CheckOtherMode() { return TRUE; }

private:
    // Marks the items of the scope for which the condition holds and clears the others; 1 when none is marked.
    template <typename Condition> BOOL CheckItems(Condition marked);
    // Whether there is an average of the scope; it goes to `average`.
    bool ScopeAverage(double& average);
    template <typename Visit> void WalkItems(Visit visit);
    // The point of a limit line on the plot rectangle, appended when it lies within it.
    void AddLimitPoint(double limit, double minimum, double span);

    int m_nGroupStep = 1;
    int m_nIndexStep = 1;
    int m_bDrawLines = 0;
    BOOL m_bUseDisplayScope = FALSE;
    double m_dUpper = 1e+80;
    double m_dLower = -1e+80;
    int m_nMode = SRGW_ALL_BELOW_UPPER;
    CPtrList m_points;
};
