// NMEA 0183 sentences of one simulated second, each complete with "*hh" and CR LF.
#pragma once

#include "tools/simulator/ReceiverEngine.h"

#include <string>
#include <vector>

namespace receiversim {

class NmeaSentences {
public:
    // time: the reported time of the edge; the fix and the sky come from the engine.
    NmeaSentences(const CalendarTime& time, const EngineOptions& options, const std::vector<Satellite>& sky);

    std::string Gga() const;
    std::string Gll() const;
    std::string Gsa() const;
    std::vector<std::string> Gsv() const; // one sentence per four satellites
    std::string Rmc() const;
    std::string Vtg() const;
    std::string Zda() const;

    // By the three letters after the talker ("GGA", ...): the sentences of that kind, or none.
    std::vector<std::string> ByName(std::string_view kind) const;

private:
    std::string Time() const;   // hhmmss.ss
    std::string LatLon() const; // ddmm.mmmm,N,dddmm.mmmm,E
    CalendarTime time_;
    const EngineOptions& options_;
    const std::vector<Satellite>& sky_;
};

} // namespace receiversim
