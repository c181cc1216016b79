// The concrete data display: one virtual routine per chart type (range, scale, axis and data routines),
// chosen through the display base's pipeline by the chart type word. Each chart family's routines live in
// a source file of their own (CartesianScales, BarCharts, LineCharts, PieCharts, XYCharts, PolarCharts,
// RadarCharts, PerspectiveCharts).
#pragma once

#include "chart/SRGDisplayBase.h"

#include <functional>
#include <vector>

class SRGDecimalScale;
class SRGraphData;
class SRGraphLabel;

class SRGraphDisplay : public SRGDisplayBase {
    DECLARE_SERIAL(SRGraphDisplay)

public:
    SRGraphDisplay();

    // ---- Range routines
    void PrepareDataRanges() override;
    void PrepareStandardRanges() override;
    void PrepareBarRanges() override;
    void PreparePolarRanges() override;
    void PrepareStackedRanges() override;
    void PrepareGroupStackRanges() override;
    void PrepareStackRanges() override;
    void PrepareBubbleRanges() override;
    void PrepareVectorRanges() override;
    void PrepareXYRanges() override;

    // ---- Polar charts
    void DrawPolarGrid() override;
    void DrawPolarAxis() override;
    void DrawPolarData() override;

    // ---- Cartesian scales and axis frames
    void DrawCategoryScales() override;
    void DrawBarScales() override;
    void DrawGroupColumnScales() override;
    void DrawGroupBarScales() override;
    void DrawFloatingBarScales() override;
    void DrawXYScales() override;
    void DrawAxisFrame() override;
    void DrawAxisFrame3D() override;

    // ---- Bar and column charts
    void DrawColumns() override;
    void DrawBars() override;
    void DrawLayeredColumns() override;
    void DrawLayeredBars() override;
    void DrawStackedColumns() override;
    void DrawStackedBars() override;
    void DrawGroupStackedColumns() override;
    void DrawGroupStackedBars() override;
    void DrawFloatingBars() override;

    // ---- Line, area, step and stock charts
    void DrawLines() override;
    void DrawSteps() override;
    void DrawAreas() override;
    void DrawStackedArea() override;
    void DrawCombination() override;
    void DrawHighLow() override;
    void DrawStock() override;

    // ---- Pie charts
    void DrawPieLabels() override;
    // A hook for derived displays.
    void DrawPieData() override { DrawPie(); }
    void DrawPie() override;

    // ---- XY, bubble and vector charts
    void DrawXY() override;
    void DrawBubbles() override;
    void DrawVectors() override;

    // ---- Radar charts
    void DrawRadarGrid() override;
    void DrawRadarAxis() override;
    void DrawRadar() override;

    // ---- Perspective charts
    // The size of the back wall and the offset of the box from the display rectangle's left edge.
    void GetFrontRect3D(CSize& backWall, int& offset) override;
    void DrawScales3D() override;
    void DrawAxes3D() override;
    void DrawColumns3D() override;
    void DrawRibbons3D() override;

    // ---- Frames shared by families
    void DrawBarAxisFrame() override { DrawAxisFrame(); }
    // The frame, unless both data ranges are all zero.
    void DrawXYAxes() override;

protected:
    // Which rectangular scale layout a scale routine builds.
    struct ScaleLayout {
        bool bars = false;     // categories up the left side, values along the bottom
        bool groups = false;   // one category per group
        bool floating = false; // one category per pair of groups, on the row middles
        bool depth = false;    // the plot leaves room for the depth at the right and the top
        bool dateValues = false;
        bool valuesOnRight = false;
    };
    void DrawRectangularScales(const ScaleLayout& layout);
    // Lays out one scale along the bottom edge or up a side of the display rectangle, draws it (pass 1 paints)
    // and, in the measuring pass, shrinks the rectangle to fit its labels.
    void PlaceHorizontalScale(SRGDecimalScale* scale, int endInset, int pass, int& leftTaken);
    void PlaceVerticalScale(SRGDecimalScale* scale, POINT start, POINT end, bool onRight, int pass, int leftTaken);
    // Equal units per inch on both axes: the plot is narrowed or lowered (fixed ranges), or the range of
    // the axis with the finer units is widened.
    void EqualiseUnits(SRGDecimalScale* xScale, SRGDecimalScale* valueScale);
    // The depth of the 3D layouts in device pixels (dx, dy).
    CSize GetDepthOffset();
    // The display's font, size, colour and style for a label block.
    void ApplyTextAttributes(SRGraphLabel* block);
    // The display's own scope, or all groups and items.
    void ScopeScale(SRGraphLabelBlock* scale, bool displayScope);
    // Short marks at the points of a tick list, outward of the plot.
    void DrawTickList(CPtrList& ticks, int side);

    // The plot of the bar routines: the display rectangle less the depth, the value mapping and the shape kind.
    struct BarPlot {
        bool horizontal = false; // bars grow to the right, categories run upward
        CRect rect;
        int kind = 0;
        double along = 0.0;  // extent along the category axis
        double across = 0.0; // extent along the value axis
        double perUnit = 0.0;
        double base = 0.0;
        double baseline = 0.0; // the foot's distance from the category axis, in pixels
        // A bar `thickness` wide at `at` pixels along the category axis, between two value distances.
        RECT Place(double at, double thickness, double from, double to) const;
    };
    BarPlot GetBarPlot(bool horizontal, bool depth);
    // The range minimum, or its logarithm (-3 for a minimum not above 0) on a logarithmic value axis.
    double GetBaseValue() const;
    // Where the bars stand: the zero line, the bottom (left) edge, or the far edge for ranges below zero.
    double GetBaselineOffset(double perUnit, int extent) const;
    double GetBarThickness(double slot, bool acrossX);
    // The item's style, or its group's when the item's has no kinds of its own.
    SRGraphStyle* GetBarStyle(SRGraphData* item, int group);
    // Draws the placeholder and answers false when the scope is empty or the value span is 0.
    bool HasPlotData();
    bool ColumnDepth() const;
    bool BarDepth() const;
    void DrawBar(const RECT& bar, int group, int item, SRGraphStyle* style, int kind, SRGraphData* data);
    void DrawClustered(bool horizontal, bool depth);
    void DrawLayered(bool horizontal, bool depth);
    void DrawStacked(bool horizontal, bool depth, bool byGroup);

    // The plot of the point routines: items spaced from the left to the right edge, values mapped upward.
    struct PointPlot {
        CRect rect;
        double perUnit = 0.0;
        double step = 0.0;
        double base = 0.0;
        int foot = 0; // where areas and bars stand
        int X(int j) const;
        int Y(double value) const;
    };
    PointPlot GetPointPlot(bool depth);
    // The items of a group that the walk visits: its count from the scope's first item, at most the scope's.
    int VisitedItems(int group);
    // The scope's groups, largest average first unless the option keeps their order.
    std::vector<int> GroupsByAverage();
    void DrawHighLowBands();

    // A pie's slices, clockwise from three o'clock, and its ellipse.
    struct Slice {
        int group = 0;
        int index = 0;
        int number = 0; // among the non-null items: the palette code
        SRGraphData* item = nullptr;
        double start = 0.0;
        double end = 0.0;
        int dx = 0; // the explode offset
        int dy = 0;
    };
    struct PieGeometry {
        double total = 0.0;
        double rx = 0.0;
        double ry = 0.0;
        double rim = 0.0; // the rim's vertical extent
        int cx = 0;
        int cy = 0;
        std::vector<Slice> slices;
        POINT At(double angle) const;
    };
    PieGeometry GetPieGeometry();
    // One face of a slice: moved by its explode offset, filled and outlined with its item's style.
    void DrawPieFace(const Slice& slice, std::vector<POINT>& points, bool log);
    CString PieLabelText(const Slice& slice, double total);

    // The plot of the charts with an X range: both axes' minima and spans (logarithms on a logarithmic axis).
    struct XYPlot {
        CRect rect;
        bool xLog = false;
        bool yLog = false;
        double xMin = 0.0;
        double yMin = 0.0;
        double xSpan = 0.0;
        double ySpan = 0.0;
        double px = 0.0; // pixels per unit
        double py = 0.0;
        // The device point of a data point, with 0.5 to round or 0 to truncate.
        POINT At(double x, double y, double rounding) const;
    };
    XYPlot GetXYPlot(bool xLogarithmic, bool valueLogarithmic);
    // Draws the placeholder and answers false when an axis span is 0 or the scope is empty.
    bool HasXYData(const XYPlot& plot);
    // A point too small to draw as a bubble or vector: a cross, when it reaches into the plot.
    void DrawSmallCross(int x, int y, int group, int item);

    // The box of the perspective charts: the display rectangle, the back wall K, the offset D and the view.
    struct Box3D {
        bool valid = false;       // the axis style gives a view
        bool recedeRight = false; // the box goes back up and to the right
        bool walls = false;
        int L = 0, T = 0, R = 0, B = 0, W = 0;
        int Fw = 0, Fh = 0, D = 0;
        CRect K;
        double f = 0.0; // the slant per item step, across and up
        double v = 0.0;
        // The slant over a number of steps from the front to the back (a fixed step when D is not 0).
        void Slant(int steps, double fixedStep);
    };
    Box3D GetBox3D(bool forData);
    void DrawItemLabels3D(const Box3D& box, int pass, bool fits);
    // Negative data cannot stand in the box: the display becomes clustered columns for the next drawings.
    bool GiveUpPerspective();
    void FallBackToColumns();
    // A face: logged, filled, shaded with the pattern (option 28) and outlined.
    void DrawFace3D(const POINT (&face)[5], int group, int item, SRGraphStyle* style, int pattern, int rop);
    struct RibbonEdge {
        POINT left, right, foot; // the value points at the ribbon's edges, and the base under the visible one
        int index;
        double value;
    };
    // The top face between two neighbouring items, shaded by its steepness.
    void DrawRibbonTop(const RibbonEdge& previous, const RibbonEdge& current, int group, SRGraphStyle* style,
                       double ratio);

    // Geometry shared by the polar routines: centre, smaller side and the 16 spoke points on a radius.
    struct PolarFrame {
        int cx = 0;
        int cy = 0;
        int side = 0;
    };
    PolarFrame GetPolarFrame() const;
    // The polar label block and radial scale (made on first use), given the display's scope, chart, drawing
    // context and text settings.
    void PreparePolarScales();
    // The spoke points on a radius, by a running sum of the step in double precision, spoke 0 straight up.
    static void SpokePoints(const PolarFrame& frame, double radius, int count, double step, POINT* points,
                            double* angles);
    // The web's spoke labels (texts made while the display is marked changed; with `trim` no more labels than
    // spokes) and its radial value scale.
    void DrawWebScales(int spokes, double step, bool trim, const std::function<CString(int)>& text);
    // The web: filled wedges, rings at the value ticks and the spokes.
    void DrawWebAxis(int spokes, double step);
    // The symbols and lines of a closed curve of n points, point n repeating point 0, by each item style's
    // shape kind.
    void DrawCurveMarks(const std::vector<POINT>& points, int n, const std::function<SRGraphStyle*(int)>& styleOf);
    // The number of items a group holds in the scope; a group hidden during the drawing holds none.
    int ScopeItems(int group);
    // The walks of the data are bounded by the store, not by the scope, which a file can make huge: the last
    // stored group of the scope, a group's stored items within the scope's items, and the most of those.
    int LastStoredGroup() const;
    int StoredScopeItems(int group);
    int StoredItemSpan();
};
