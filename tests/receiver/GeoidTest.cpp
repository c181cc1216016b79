#include "receiver/Geoid.h"

#include <gtest/gtest.h>

TEST(Geoid, NodesPolesAndInterpolation) {
    struct Case {
        double lat, lon, metres;
    } cases[] = {
        // Every pole value at any longitude, the seam included.
        {-90, -180, -30},
        {-90, 0, -30},
        {-90, 77, -30},
        {-90, 180, -30},
        {90, -180, 13},
        {90, 0, 13},
        {90, 77, 13},
        {90, 180, 13},
        // Nodes of the table rows that fix it.
        {0, 0, 18},
        {0, -180, 22},
        {0, -170, 16},
        {0, 80, -102},
        {40, -180, -12},
        {40, -130, -34},
        {60, -90, -46},
        // Linear between two nodes of a row, of a column, and bilinear in a cell.
        {0, 5, 15},
        {5, 0, 20},
        {5, 5, (18 + 12 + 22 + 23) / 4.0},
        // Across the seam: +180 is -180, -180.5 lies between +170 and -180, +189 between -180 and -170.
        {0, 180, 22},
        {0, -180.5, 32 + (22 - 32) * 0.95},
        {0, 189, 22 + (16 - 22) * 0.9},
        // Just beyond the poles the pole row holds; 95 still truncates into the last row.
        {-95, 0, -30},
        {95, 0, 13},
        {95, 123, 13},
        // Outside the table.
        {-100, 0, 0},
        {100, 0, 0},
        {0, 200, 0},
        {0, -190, 0},
        {0, 190, 0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(GeoidSeparation(c.lat, c.lon), c.metres, 1e-9) << c.lat << ", " << c.lon;
    }
}
