// The check of an NMEA text line, shared by the NMEA and UBX framers.
#pragma once

#include <string>

// A line whose third unit from the end is "*" must carry the upper-case hex XOR of the units between "$" and
// "*"; its "*hh" is removed whatever the outcome. Without "*hh", a line passes only when it begins "$GP" or
// "$P", contains "," and has no "*" at all. Lines under 3 units fail.
bool CheckNmeaLine(std::u16string& line);
