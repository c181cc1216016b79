// The texts in which positions, DOPs and the averaging errors are shown and logged.
#pragma once

#include "platform/base/CString.h"

// Position formats: 0 decimal degrees, 1 degrees and decimal minutes, 2 (and any other value) degrees,
// minutes and seconds, each as four tab-separated fields (latitude, longitude, GPS altitude, MSL
// altitude). Format 3 is the NMEA-style "ddmm.mmmm,N,dddmm.mmmm,E" of the log records; it is honoured only
// with allowNmeaForm, otherwise it reads as 2.
CString FormatPositionText(int format, double latitude, double longitude, double altitudeGps,
                           double altitudeMsl, bool allowNmeaForm);

// The nine-character grid locator such as "DM12kv.69".
CString FormatGridLocator(double latitude, double longitude);

// "DOPs: " and each DOP above 0 as "G=%03.1f " ... "T=%03.1f "; empty when none is above 0.
CString FormatDopText(double gdop, double pdop, double hdop, double vdop, double tdop);

// Pair rows Ref-Avg, Avg-Cur, Ref-Cur; columns latitude, longitude, 2D, GPS altitude, MSL altitude.
struct AveragingReportValues {
    double difference[3][5] = {};
    double rms[3][5] = {};
};
CString FormatAveragesReportText(const AveragingReportValues& values);
