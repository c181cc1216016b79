// Height of the geoid above the WGS84 ellipsoid, interpolated in a 10 x 10 degree table.
#pragma once

// Metres at a latitude and longitude in degrees; 0.0 outside the table (latitudes below -100 or from 100,
// longitudes below -190 or from 190).
double GeoidSeparation(double latitude, double longitude);
