// Recorded receivers replayed through the NMEA framer and decoder: every time and position taken must agree
// with an independent decoder's results for the same sentences, within the last digit the sentence carries.
#include "platform/base/CString.h"
#include "receiver/NmeaCheck.h"
#include "receiver/NmeaDecoder.h"
#include "receiver/NmeaLineFramer.h"
#include "support/TestSupport.h"
#include "tests/receiver/DecoderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

using namespace decoder_test;

struct Capture {
    const char* name;
    int mode;
    int model;
};

// Decimals of the n-th comma-separated field (0 = the identifier).
int Decimals(const std::u16string& sentence, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        start = sentence.find(u',', start) + 1;
    }
    const std::size_t end = std::min(sentence.find(u',', start), sentence.size());
    const std::size_t dot = sentence.find(u'.', start);
    return dot == std::u16string::npos || dot > end ? 0 : static_cast<int>(end - dot - 1);
}

struct Fix {
    Position position;
    double angleTolerance;
    double heightTolerance;
};

class NmeaCaptures : public ::testing::TestWithParam<Capture> {};

TEST_P(NmeaCaptures, TimesAndPositionsAgreeWithTheReference) {
    REQUIRE_SHARED_FIXTURES();
    const Capture capture = GetParam();
    const auto dir = testsupport::SharedFixturesDir() / "receiver-captures";

    // The sentences as the framer delivers them from the replayed stream.
    const std::string stream = ReplayableText(testsupport::ReadWholeFile(dir / capture.name));
    NmeaLineFramer framer;
    std::vector<CString> lines;
    framer.Feed(reinterpret_cast<const BYTE*>(stream.data()), stream.size(), lines);

    // The reference: each sentence followed by what the other decoder made of it.
    std::vector<std::u16string> referenceSentences;
    std::vector<std::string> tpvs;
    {
        std::istringstream in(testsupport::ReadWholeFile(dir / (std::string(capture.name) + ".chk")));
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("$", 0) == 0) {
                std::u16string sentence(line.begin(), line.end());
                CheckNmeaLine(sentence);
                referenceSentences.push_back(sentence);
            } else if (line.find("\"class\":\"TPV\"") != std::string::npos) {
                tpvs.push_back(line);
            }
        }
    }
    std::vector<std::u16string> sentences;
    for (const CString& line : lines) {
        sentences.push_back(line.str());
    }
    ASSERT_EQ(sentences, referenceSentences);

    InterfaceModeScope mode(capture.mode);
    RecordingView view;
    view.model = capture.model;
    NmeaDecoder decoder(view);
    std::map<std::u16string, Fix> fixes; // by the GGA's hhmmss
    std::set<__time64_t> timesTaken;
    for (const std::u16string& sentence : sentences) {
        const std::size_t positionsBefore = view.positions.size();
        const __time64_t rxBefore = view.rxTime.GetTime();
        const BOOL result = decoder.DecodeNmeaSentence(sentence);
        const std::u16string id = sentence.substr(0, 6);
        if (id == u"$GPGGA" && view.positions.size() > positionsBefore) {
            EXPECT_TRUE(result);
            const double angle =
                std::pow(10.0, -std::min(Decimals(sentence, 2), Decimals(sentence, 4))) / 60.0;
            const double height = std::pow(10.0, -std::min(Decimals(sentence, 9), Decimals(sentence, 11)));
            fixes[sentence.substr(7, 6)] = {view.positions.back(), angle, height};
        }
        if ((id == u"$GPRMC" || id == u"$GPZDA") && view.rxTime.GetTime() != rxBefore) {
            // The time taken is that of the coming tick: one second after the sentence's.
            timesTaken.insert(view.rxTime.GetTime() - 1);
        }
        // Each second brings a 1PPS tick after its sentences.
        if (id == u"$GPGLL" || id == u"$GPRMC") {
            view.tickSinceZda = view.tickSinceRmc = view.tickHandled = TRUE;
            view.zdaSinceTick = FALSE;
        }
    }

    // What the reference decoded, by second.
    std::map<__time64_t, std::string> reference;
    for (const std::string& tpv : tpvs) {
        if (const auto time = JsonString(tpv, "time")) {
            // The reference keeps the receiver's date; ours is moved on past a week rollover.
            reference[AfterRolloverCheck(IsoSeconds(*time))] = tpv;
        }
    }
    int timesCompared = 0, positionsCompared = 0, heightsCompared = 0;
    // A time the reference never reports is a cycle the capture cut short (the LEA-5H's first part ends
    // with a lone RMC); any other miss is a wrong time.
    int timesUnmatched = 0;
    for (__time64_t taken : timesTaken) {
        if (reference.count(taken)) {
            ++timesCompared;
        } else {
            ++timesUnmatched;
        }
    }
    EXPECT_LE(timesUnmatched, 1);
    for (const auto& [second, tpv] : reference) {
        const auto lat = JsonNumber(tpv, "lat");
        // hhmmss of the reference time: the key of the GGA of the same second.
        const __time64_t ofDay = second % 86400;
        CString hms;
        hms.Format(u"%02d%02d%02d", static_cast<int>(ofDay / 3600), static_cast<int>(ofDay / 60 % 60),
                   static_cast<int>(ofDay % 60));
        const auto fix = fixes.find(hms.str());
        if (!lat || fix == fixes.end()) {
            continue;
        }
        const Fix& f = fix->second;
        EXPECT_NEAR(f.position.latitude, *lat, f.angleTolerance) << tpv;
        EXPECT_NEAR(f.position.longitude, *JsonNumber(tpv, "lon"), f.angleTolerance) << tpv;
        ++positionsCompared;
        if (const auto hae = JsonNumber(tpv, "altHAE")) {
            EXPECT_NEAR(f.position.heightWgs84, *hae, f.heightTolerance) << tpv;
            EXPECT_NEAR(f.position.altitudeMsl, *JsonNumber(tpv, "altMSL"), f.heightTolerance) << tpv;
            ++heightsCompared;
        }
    }
    EXPECT_GT(timesCompared, 5);
    EXPECT_GT(positionsCompared, 5);
    EXPECT_GT(heightsCompared, 5);
}

INSTANTIATE_TEST_SUITE_P(Receivers, NmeaCaptures,
                         ::testing::Values(Capture{"bu353s4.log", kModeGenericNmea, 0},
                                           Capture{"oncore.log", kModeMotorolaNmea, 2},
                                           Capture{"ublox-lea-5h.log", kModeUbloxNmea, 0}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             name = name.substr(0, name.find('.'));
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

} // namespace
