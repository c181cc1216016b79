// The sky plot's display: a polar chart with twelve 30-degree spokes, elevation circles at the radial
// scale's ticks (90 at the centre, 0 on the horizon) and, per pair of groups, the horizon traces as closed
// lines and the satellites as symbols with hit-test records for the hover text.
#pragma once

#include "chart/SRGraphDisplay.h"

class CustomGraphDisplay : public SRGraphDisplay {
    DECLARE_SERIAL(CustomGraphDisplay)

public:
    CustomGraphDisplay();

    void DrawPolarGrid() override;
    void DrawPolarAxis() override;
    void DrawPolarData() override;

    // The group whose items are satellite markers: each drawn one gets a hit-test record.
    static constexpr int kSatelliteGroup = 4;
    // A marker is hit within this many pixels across and down.
    static constexpr int kMarkerHitRadius = 10;

private:
    struct SkyFrame {
        int cx = 0;
        int cy = 0;
        int side = 0;
        double radius = 0.0;
    };
    SkyFrame GetSkyFrame() const;
};
