#include "platform/serial/Rfc2217Protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace r = doliva::serial::rfc2217;
using Bytes = std::vector<std::uint8_t>;

r::ServerInput Parse(r::Client& client, const Bytes& bytes) {
    r::ServerInput out;
    client.Parse(bytes.data(), bytes.size(), out);
    return out;
}

TEST(Rfc2217Protocol, GreetingOffersBinarySuppressGoAheadAndTheComPort) {
    r::Client client;
    EXPECT_EQ(client.Greeting(), (Bytes{255, 251, 0, 255, 251, 3, 255, 251, 44, 255, 253, 0, 255, 253, 3}));
    EXPECT_FALSE(client.ComPortAnswered());
}

TEST(Rfc2217Protocol, AnswersToOurOffersAreNotAnsweredAgain) {
    r::Client client;
    client.Greeting();
    r::ServerInput in = Parse(client, {255, 253, 44, 255, 253, 0, 255, 251, 0, 255, 253, 3, 255, 251, 3});
    EXPECT_TRUE(in.reply.empty());
    EXPECT_TRUE(client.ComPortAnswered());
    EXPECT_TRUE(client.ComPortAccepted());
}

TEST(Rfc2217Protocol, RefusedComPortIsAnsweredButNotAccepted) {
    r::Client client;
    client.Greeting();
    r::ServerInput in = Parse(client, {255, 254, 44});
    EXPECT_TRUE(in.reply.empty());
    EXPECT_TRUE(client.ComPortAnswered());
    EXPECT_FALSE(client.ComPortAccepted());
}

TEST(Rfc2217Protocol, UnknownOptionsAreRefusedOnce) {
    r::Client client;
    client.Greeting();
    // DO ECHO and WILL ECHO, twice each.
    r::ServerInput in = Parse(client, {255, 253, 1, 255, 251, 1, 255, 253, 1, 255, 251, 1});
    EXPECT_EQ(in.reply, (Bytes{255, 252, 1, 255, 254, 1}));
}

TEST(Rfc2217Protocol, ServerInitiatedRequestsAreAccepted) {
    r::Client client; // no greeting sent: the server asks first
    r::ServerInput in = Parse(client, {255, 253, 44, 255, 251, 0});
    EXPECT_EQ(in.reply, (Bytes{255, 251, 44, 255, 253, 0}));
    EXPECT_TRUE(client.ComPortAccepted());
}

TEST(Rfc2217Protocol, DoubledIacIsOneDataByteAcrossCalls) {
    r::Client client;
    r::ServerInput out;
    const Bytes first{'a', 255};
    const Bytes second{255, 'b'};
    client.Parse(first.data(), first.size(), out);
    client.Parse(second.data(), second.size(), out);
    EXPECT_EQ(out.data, (Bytes{'a', 255, 'b'}));
}

TEST(Rfc2217Protocol, NotificationsAreTakenFromSubnegotiations) {
    r::Client client;
    // NOTIFY-MODEMSTATE 0xFF (escaped), NOTIFY-LINESTATE 0x08, FLOWCONTROL-SUSPEND, data between them.
    r::ServerInput in = Parse(client, {255, 250, 44,  107, 255, 255, 255, 240, 'x', 255, 250, 44,
                                       106, 8,   255, 240, 255, 250, 44,  108, 255, 240, 'y'});
    EXPECT_EQ(in.modemStates, (Bytes{255}));
    EXPECT_EQ(in.lineStates, (Bytes{8}));
    ASSERT_TRUE(in.suspended.has_value());
    EXPECT_TRUE(*in.suspended);
    EXPECT_EQ(in.data, (Bytes{'x', 'y'}));
}

TEST(Rfc2217Protocol, ConfirmedRateIsRead) {
    r::Client client;
    Parse(client, {255, 250, 44, 101, 0, 0, 0x38, 0x40, 255, 240});
    EXPECT_EQ(client.ConfirmedBaudrate(), 14400u);
}

TEST(Rfc2217Protocol, OverlongOrCutSubnegotiationsAreDroppedAndParsingGoesOn) {
    r::Client client;
    Bytes bytes{255, 250, 44, 107};
    bytes.insert(bytes.end(), 200, 0x80);
    bytes.insert(bytes.end(), {255, 240, 'a'});
    // A sub-negotiation cut short by a command: the command still counts.
    bytes.insert(bytes.end(), {255, 250, 44, 107, 0x80, 255, 253, 1, 'b'});
    r::ServerInput in = Parse(client, bytes);
    EXPECT_TRUE(in.modemStates.empty());
    EXPECT_EQ(in.data, (Bytes{'a', 'b'}));
    EXPECT_EQ(in.reply, (Bytes{255, 252, 1}));
}

TEST(Rfc2217Protocol, OutgoingDataAndCommandsDoubleIac) {
    Bytes out;
    const Bytes data{1, 255, 2};
    r::Client::AppendData(out, data.data(), data.size());
    EXPECT_EQ(out, (Bytes{1, 255, 255, 2}));
    out.clear();
    r::Client::AppendBaudrate(out, 0x0000FF00u + 0xFF);
    EXPECT_EQ(out, (Bytes{255, 250, 44, 1, 0, 0, 255, 255, 255, 255, 255, 240}));
}

} // namespace
