// The concrete data display: one virtual routine per chart type (range, scale, axis and data routines),
// chosen through the display base's pipeline by the chart type word. The range routines and the polar
// charts are here; the routines of the other chart families draw nothing until their families arrive.
#pragma once

#include "chart/SRGDisplayBase.h"

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

    // ---- The routines whose chart families are not here: they draw nothing.
    void DrawCategoryScales() override {}
    void DrawAxisFrame() override {}
    void DrawAxisFrame3D() override {}
    void DrawBarScales() override {}
    void DrawBarAxisFrame() override { DrawAxisFrame(); }
    void GetFrontRect3D(CSize& backWall, int& offset) override;
    void DrawScales3D() override {}
    void DrawAxes3D() override {}
    void DrawPieLabels() override {}
    void DrawPieData() override { DrawPie(); }
    void DrawPie() override {}
    void DrawColumns() override {}
    void DrawBars() override {}
    void DrawLayeredColumns() override {}
    void DrawLayeredBars() override {}
    void DrawColumns3D() override {}
    void DrawStackedArea() override {}
    void DrawGroupBarScales() override {}
    void DrawGroupColumnScales() override {}
    void DrawGroupStackedBars() override {}
    void DrawGroupStackedColumns() override {}
    void DrawStackedBars() override {}
    void DrawStackedColumns() override {}
    void DrawFloatingBarScales() override {}
    void DrawFloatingBars() override {}
    void DrawRadar() override {}
    void DrawRadarGrid() override {}
    void DrawRadarAxis() override {}
    void DrawBubbles() override {}
    void DrawVectors() override {}
    void DrawXY() override {}
    void DrawXYScales() override {}
    // The frame, unless both data ranges are all zero.
    void DrawXYAxes() override;
    void DrawLines() override {}
    void DrawSteps() override {}
    void DrawStock() override {}
    void DrawAreas() override {}
    void DrawCombination() override {}
    void DrawHighLow() override {}
    void DrawRibbons3D() override {}

protected:
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
    // The 16 spoke points on radius r, by a running sum of the step in double precision.
    static void SpokePoints(const PolarFrame& frame, double radius, POINT* points, double* angles);
    // The number of items a group holds in the scope; a group hidden during the drawing holds none.
    int ScopeItems(int group);
};
