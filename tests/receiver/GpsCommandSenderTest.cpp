// The send paths against a scripted receiver on a virtual clock: what is queued and echoed, which answers
// count, the time-outs and their texts, and that the receive list is empty after every send.
#include "receiver/GpsCommandSender.h"
#include "platform/kernel/Kernel.h"
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/GpsDataDispatch.h"
#include "receiver/ReceiverEvents.h"
#include "receiver/ReceiverState.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::u16string>;

CString Units(std::u16string_view text) {
    return CString(std::u16string(text));
}

class ScriptedHost : public GpsSendHost {
public:
    // Replies by command prefix: each (delay after the command was queued, message).
    std::multimap<std::u16string, std::pair<ULONGLONG, std::u16string>> script;
    // Messages the decoders understand (prefix to text).
    std::map<std::u16string, std::u16string> known;

    ULONGLONG now = 0;
    Texts raw, idTexts, decodedNmea, decodedOncore, decodedUbx, sent;
    int channelCounts = 0, hasDgps = -1, hasTraim = -1, pumps = 0;
    BOOL uploadRunning = FALSE;

    CString DecodeOncoreMessage(const CString& m) override {
        decodedOncore.push_back(m.str());
        return Understood(m);
    }
    BOOL DecodeNmeaSentence(const CString& m) override {
        decodedNmea.push_back(m.str());
        return !Understood(m).IsEmpty();
    }
    CString DecodeUbxMessage(const CString& m) override {
        decodedUbx.push_back(m.str());
        return Understood(m);
    }
    void AddRawDataLine(const CString& line) override { raw.push_back(line.str()); }
    void AddIdText(const CString& text) override { idTexts.push_back(text.str()); }
    void UpdateViewWindow() override {}
    void PumpPendingMessages() override { ++pumps; }
    BOOL UbxUploadRunning() override { return uploadRunning; }
    void SetChannelCounts(int channels) override { channelCounts = channels; }
    void SetHasDgps(BOOL value) override { hasDgps = value; }
    void SetHasTraim(BOOL value) override { hasTraim = value; }

    ULONGLONG MonotonicMs() override {
        Deliver();
        return now;
    }
    void SleepMs(DWORD ms) override {
        now += ms;
        Deliver();
    }

private:
    CString Understood(const CString& m) {
        for (const auto& [prefix, text] : known) {
            if (m.str().starts_with(prefix)) {
                return Units(text);
            }
        }
        return CString();
    }
    // Plays the receiver: takes what was queued for the port and answers it on time.
    void Deliver() {
        while (!g_transmitList.IsEmpty()) {
            const std::u16string command = g_transmitList.RemoveHead().str();
            sent.push_back(command);
            for (const auto& [prefix, reply] : script) {
                if (command.starts_with(prefix)) {
                    pending.push_back({now + reply.first, reply.second});
                }
            }
        }
        for (auto it = pending.begin(); it != pending.end();) {
            if (it->first <= now) {
                g_receiveList.AddTail(Units(it->second));
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
    }
    std::vector<std::pair<ULONGLONG, std::u16string>> pending;
};

class Sender : public testing::Test {
protected:
    void SetUp() override { CreateLinkSemaphores(); }
    void TearDown() override {
        EXPECT_TRUE(g_receiveList.IsEmpty()) << "messages drained during a send are not kept";
        DestroyLinkSemaphores();
        g_receiveList.RemoveAll();
        g_transmitList.RemoveAll();
    }
    ScriptedHost host;
};

TEST_F(Sender, SendFramesQueuesEchoesAndWakesTheTransmitThread) {
    SendGpsCommand(host, CString(u"@@Cj"));
    EXPECT_EQ(g_transmitList.RemoveHead().str(), u"@@Cj\u0029");
    EXPECT_EQ(WaitCrossProcessSemaphore(g_transmitReady, 0), 0u);
    SendGpsCommand(host, CString(u"T0"));
    EXPECT_EQ(g_transmitList.RemoveHead().str(), u"T0");
    SendGpsCommand(host, CString(u"@@Tk" + std::u16string(55, u'a') + u"\u0001"));
    g_transmitList.RemoveAll();
    ASSERT_EQ(host.raw.size(), 2u); // "T0" has no echo
    EXPECT_EQ(host.raw[0], u"<- @@Cj<29>");
    EXPECT_EQ(host.raw[1], u"<- @@Tk" + std::u16string(55, u'a') + u"<01><5F>");
}

// A receiver that never takes bytes (held by handshake) must not make the transmit list grow without end:
// the oldest commands give way, and the raw-data window hears of it once for each run of drops.
TEST_F(Sender, TransmitListIsBoundedAndSaysOnceWhenItDrops) {
    auto queueNumbered = [&](int from, int count) {
        for (int i = from; i < from + count; ++i) {
            CString command;
            command.Format(u"T%d", i);
            QueueForTransmit(host, command);
        }
    };
    queueNumbered(0, static_cast<int>(kTransmitListCap) + 50);
    EXPECT_EQ(g_transmitList.GetCount(), kTransmitListCap);
    EXPECT_EQ(g_transmitList.RemoveHead().str(), u"T50");
    ASSERT_EQ(host.raw.size(), 1u);
    EXPECT_TRUE(host.raw[0].starts_with(u"WARNING: the receiver takes no commands"));

    g_transmitList.RemoveAll();
    queueNumbered(0, 3);
    EXPECT_EQ(host.raw.size(), 1u);
    queueNumbered(3, static_cast<int>(kTransmitListCap));
    EXPECT_EQ(host.raw.size(), 2u);
    g_transmitList.RemoveAll();
}

TEST_F(Sender, SendDrainsTheReceiveListByPrefix) {
    host.known = {{u"$GPGGA", u"gga"}, {u"@@Ha", u"@@Ha text"}, {u"\u00B5\u0062\u0001", u"UBX-NAV"}};
    const Texts queued = {u"$GPGGA,1", u"$", u"junk", u"@@Ha1"};
    for (const auto& m : queued) {
        g_receiveList.AddTail(Units(m));
    }
    SendGpsCommand(host, CString(u"$PXXX,1,2"));
    EXPECT_EQ(host.decodedNmea, (Texts{u"$GPGGA,1"})); // "$" lines over 2 units only; others dropped
    for (const auto& m : queued) {
        g_receiveList.AddTail(Units(m));
    }
    SendGpsCommand(host, CString(u"@@Ha\u0000"));
    EXPECT_EQ(host.decodedOncore, queued);
    g_receiveList.AddTail(Units(u"\u00B5\u0062\u0001\u0007"));
    g_receiveList.AddTail(Units(u"\u00B5\u0062\u0002\u0007"));
    SendGpsCommand(host, Units(u"\u00B5\u0062\u0006\u0004"));
    EXPECT_EQ(host.raw.back(), u"-> UBX-NAV"); // only frames with a text are echoed
    EXPECT_EQ(host.decodedUbx.size(), 2u);
    // "$PMOTG" and "@@Ci" leave the list to the dispatch.
    g_receiveList.AddTail(Units(u"$GPGGA,2"));
    SendGpsCommand(host, CString(u"$PMOTG,GGA,0001"));
    EXPECT_EQ(g_receiveList.GetCount(), 1);
    EXPECT_EQ(host.now, 250u + 0);
    g_receiveList.RemoveAll();
    g_transmitList.RemoveAll();
}

TEST_F(Sender, ChannelCountProbes) {
    struct Case {
        std::u16string command, reply;
        bool answered;
        int channels;
        std::u16string idText;
    } cases[] = {
        {u"@@Ha\u0000", u"@@Ha...", true, 12, u"@@Ha OK - must be a 12-channel Rcvr"},
        {u"@@Ea\u0000", u"@@Ea...", true, 8, u"@@Ea OK - must be an 8-channel Rcvr"},
        {u"@@Ba\u0000", u"@@Ba...", true, 6, u"@@Ba OK - must be a 6-channel Rcvr"},
        {u"@@Ha\u0000", u"@@Ea...", false, 0, u"@@Ha Timeout - not a 12-channel Rcvr"},
        {u"@@Ea\u0000", u"", false, 0, u"@@Ea Timeout - not an 8-channel Rcvr"},
    };
    for (const Case& c : cases) {
        ScriptedHost probe;
        probe.known = {{u"@@", u"text"}};
        if (!c.reply.empty()) {
            probe.script.insert({c.command.substr(0, 4), {700, c.reply}});
        }
        EXPECT_EQ(SendGpsCommandAndWait(probe, CString(c.command)), c.answered ? TRUE : FALSE);
        EXPECT_EQ(probe.channelCounts, c.channels);
        EXPECT_EQ(probe.idTexts, (Texts{c.idText}));
        EXPECT_EQ(probe.raw.front().substr(0, 7), c.command.substr(0, 4).insert(0, u"<- "));
        // 200 ms before the wait; answers after 700 ms; a silent receiver is given exactly 3 s.
        EXPECT_EQ(probe.now, c.answered ? 900u : 3200u) << std::u16string(c.command).size();
        g_receiveList.RemoveAll();
    }
}

TEST_F(Sender, DgpsTraimAndIdentificationProbes) {
    host.known = {{u"@@", u"text"}};
    host.script.insert({u"@@Bh", {100, u"@@Ce..."}});
    EXPECT_TRUE(SendGpsCommandAndWait(host, CString(u"@@Bh\u0001")));
    EXPECT_EQ(host.hasDgps, TRUE);
    EXPECT_FALSE(SendGpsCommandAndWait(host, CString(u"@@Hn\u0001")));
    EXPECT_EQ(host.hasTraim, FALSE);
    host.script.insert({u"@@En", {100, u"@@En..."}});
    EXPECT_TRUE(SendGpsCommandAndWait(host, CString(u"@@En\u0001")));
    EXPECT_EQ(host.hasTraim, TRUE);
    const ULONGLONG before = host.now;
    EXPECT_FALSE(SendGpsCommandAndWait(host, CString(u"@@Cj")));
    EXPECT_EQ(host.now - before, 1200u); // the identification wait is one whole second
    EXPECT_GT(host.pumps, 0);
    EXPECT_EQ(host.idTexts,
              (Texts{u"@@Bh OK - must be a DGPS Rcvr", u"@@Hn Timeout - must not have T-RAIM",
                     u"@@En OK - must have T-RAIM", u"@@Cj Timeout - no valid version number!"}));
}

TEST_F(Sender, AnswersByCommandKind) {
    struct Case {
        std::u16string command;
        std::vector<std::pair<ULONGLONG, std::u16string>> replies;
        BOOL answered;
        ULONGLONG took;
    } cases[] = {
        {u"$PMOTG,ZDA,0001", {{50, u"$GPGGA,1"}, {300, u"$GPZDA,1,2"}}, TRUE, 300},
        {u"$PMOTG,GSV,0001", {{50, u"$GPGGA,1"}}, FALSE, 3000},
        {u"$PMOTG,FOR,0", {}, TRUE, 500},
        {u"$PGRMO,GPGGA,1", {{80, u"$PGRMO,x"}}, TRUE, 80},
        {u"@@Gd\u0000", {{100, u"@@Bb..."}, {400, u"@@Gd..."}}, TRUE, 700}, // the receiver hears it at 200
        {u"@@Ci\u0001", {}, TRUE, 700},
        {u"BIN", {}, TRUE, 500},
        {u"T0", {{10, u"a,b"}, {20, u" ABC12 "}}, TRUE, 20},
        {u"Z", {}, FALSE, 2000},
        {u"\u00B5\u0062\u000A\u0004\u0000\u0000", {{350, u"\u00B5\u0062\u000A\u0004\u0001"}}, TRUE, 500},
        {u"\u00B5\u0062\u0006\u0001\u0000\u0000", {{350, u"\u00B5\u0062\u000A\u0004\u0001"}}, TRUE, 500},
        {u">PGRMO,1", {}, FALSE, 0},
        {u"$GPGGA,1", {}, FALSE, 0},
        {u"\u0055\u0055\u0001", {}, FALSE, 0},
    };
    for (const Case& c : cases) {
        const std::string name(c.command.begin(), c.command.end());
        ScriptedHost host;
        host.known = {{u"@@Gd", u"gd"}, {u"@@Bb", u"bb"}, {u"\u00B5\u0062\u000A\u0004", u"UBX-MON VER"}};
        for (const auto& reply : c.replies) {
            host.script.insert({c.command.substr(0, 2), reply});
        }
        const ULONGLONG start = host.now;
        EXPECT_EQ(SendGpsCommandAndWait(host, CString(c.command)), c.answered) << name;
        host.SleepMs(0);
        EXPECT_EQ(host.now - start, c.took) << name;
        EXPECT_EQ(host.sent.empty(), c.took == 0) << name; // unhandled commands are not sent
        if (c.command[0] == 0xB5) {
            EXPECT_EQ(host.raw.back(), u"-> UBX-MON VER"); // whatever was sent, the version answers
        }
        g_receiveList.RemoveAll();
    }
}

class PostCounter : public ReceiverEvents {
public:
    void PostGpsDataQueued() override { ++posts; }
    void PostPpsTick() override {}
    void ShowLinkError(const CString&) override {}
    void AddRawDataLine(const CString&) override {}
    int posts = 0;
};

class Dispatch : public Sender {
protected:
    void SetUp() override {
        Sender::SetUp();
        g_initializing = 0;
        g_firmwareUploadActive = 0;
        host.known = {{u"$GPGGA", u"gga"}, {u"@@Ha", u"@@Ha text"}, {u"\u00B5\u0062\u0001", u"UBX-NAV"}};
    }
    void TearDown() override {
        g_receiveList.RemoveAll();
        g_interfaceMode = kModeSearch;
        g_initializing = 1;
        Sender::TearDown();
    }
    void Queue(const Texts& messages) {
        for (const auto& m : messages) {
            g_receiveList.AddTail(Units(m));
        }
    }
    PostCounter events;
};

TEST_F(Dispatch, EchoesByInterfaceMode) {
    const Texts messages = {u"$GPGGA,1", u"", u"AB12", u"@@Ha1", u"\u00B5\u0062\u0001\u0002", u"@@Zz"};
    struct Case {
        int mode;
        Texts echoes;
    } cases[] = {
        {kModeMotorolaLoran,
         {u"?  $GPGGA,1", u"-> ", u"-> AB12", u"?  @@Ha1", u"?  \u00B5\u0062\u0001\u0002", u"?  @@Zz"}},
        {kModeGenericNmea,
         {u"-> $GPGGA,1", u"?  ", u"?  AB12", u"?  @@Ha1", u"?  \u00B5\u0062\u0001\u0002", u"?  @@Zz"}},
        {kModeMotorolaBinary, {u"-> gga", u"-> @@Ha text", u"-> UBX-NAV"}}, // only texts, none for ""
        {kModeUbloxUbx, {u"-> $GPGGA,1", u"?  ", u"?  ", u"-> @@Ha text", u"-> UBX-NAV", u"?  "}},
    };
    for (const Case& c : cases) {
        host.raw.clear();
        g_interfaceMode = c.mode;
        Queue(messages);
        EXPECT_EQ(OnGpsData(host, events, FALSE), 0);
        EXPECT_EQ(host.raw, c.echoes) << c.mode;
        EXPECT_TRUE(g_receiveList.IsEmpty());
        EXPECT_EQ(WaitCrossProcessSemaphore(g_receiveGate, 0), 0u) << "the gate is open again";
    }
    EXPECT_EQ(events.posts, 0);
}

TEST_F(Dispatch, LeavesTheListAndTheGateWhenNotItsTurn) {
    Queue({u"$GPGGA,1"});
    g_interfaceMode = kModeSearch;
    OnGpsData(host, events, FALSE);
    g_interfaceMode = kModeGenericNmea;
    OnGpsData(host, events, TRUE); // closing
    g_initializing = 1;
    OnGpsData(host, events, FALSE);
    EXPECT_EQ(g_receiveList.GetCount(), 1);
    EXPECT_EQ(WaitCrossProcessSemaphore(g_receiveGate, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    // During an upload the list belongs to it, but the gate opens.
    g_initializing = 0;
    g_interfaceMode = kModeMotorolaBinary;
    g_firmwareUploadActive = 1;
    OnGpsData(host, events, FALSE);
    g_interfaceMode = kModeUbloxUbx;
    host.uploadRunning = TRUE;
    OnGpsData(host, events, FALSE);
    EXPECT_EQ(g_receiveList.GetCount(), 1);
    EXPECT_TRUE(host.raw.empty());
    EXPECT_EQ(events.posts, 0);
    EXPECT_EQ(WaitCrossProcessSemaphore(g_receiveGate, 0), 0u);
}

// A message queued after the drain's last look at the list, while the gate was still taken, is posted
// when the gate re-opens; with nothing left no post follows.
TEST_F(Dispatch, MessageQueuedBeforeTheGateReopensIsPostedAgain) {
    g_receiveList.AddTail(CString(u"late"));
    ReopenReceiveGate(events);
    EXPECT_EQ(events.posts, 1);
    EXPECT_EQ(WaitCrossProcessSemaphore(g_receiveGate, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "taken for that post";
    g_interfaceMode = kModeGenericNmea;
    OnGpsData(host, events, FALSE);
    EXPECT_EQ(host.raw, (Texts{u"?  late"}));
    EXPECT_EQ(events.posts, 1);
    EXPECT_EQ(WaitCrossProcessSemaphore(g_receiveGate, 0), 0u);
}

} // namespace

namespace {

// The time messages that came after the edge of a tick still waiting describe the next edge: the data
// handler stops before them, the tick first takes what came before its edge, and its end lets the rest
// through with one post. A send from the tick or a decoder drains no further either.
TEST_F(Dispatch, WhatCameAfterTheEdgeOfAWaitingTickWaitsForThatTick) {
    g_interfaceMode = kModeGenericNmea;
    Queue({u"before-1"});
    g_ppsTickDataMark = g_receiveList.AppendedCount(); // the edge
    Queue({u"after-1", u"after-2"});
    // The handler of an earlier post, run late under load: it stops at the edge.
    OnGpsData(host, events, FALSE);
    EXPECT_EQ(host.raw, (Texts{u"?  before-1"}));
    EXPECT_EQ(g_receiveList.GetCount(), 2);
    EXPECT_EQ(events.posts, 0) << "posting now would only find the same edge";
    EXPECT_EQ(WaitCrossProcessSemaphore(g_receiveGate, 0), 0u) << "open, for the messages to come";
    ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);

    SendGpsCommand(host, CString(u"$PGRMO,,3"));
    DispatchDataBeforeTick(host, FALSE);
    EXPECT_EQ(g_receiveList.GetCount(), 2);
    host.raw.clear();
    g_transmitList.RemoveAll();

    EndTickHold(events);
    EXPECT_EQ(g_ppsTickDataMark.load(), kNoTickWaiting);
    EXPECT_EQ(events.posts, 1);
    OnGpsData(host, events, FALSE);
    EXPECT_EQ(host.raw, (Texts{u"?  after-1", u"?  after-2"}));
    host.raw.clear();

    // A tick handled late, with the data handler not yet run: it takes only what came before its edge.
    Queue({u"before-2"});
    g_ppsTickDataMark = g_receiveList.AppendedCount();
    Queue({u"after-3"});
    DispatchDataBeforeTick(host, FALSE);
    EXPECT_EQ(host.raw, (Texts{u"?  before-2"}));
    EndTickHold(events);
    OnGpsData(host, events, FALSE);
    EXPECT_EQ(host.raw, (Texts{u"?  before-2", u"?  after-3"}));
}

TEST(ReceiveListNumbers, CountEveryStringAppendedTakenDroppedOrCleared) {
    CThBufferList list;
    EXPECT_EQ(list.AppendedCount(), 0u);
    EXPECT_EQ(list.HeadNumber(), 0u);
    list.AddTail(u"a");
    list.AddTail(u"b");
    EXPECT_EQ(list.AppendedCount(), 2u);
    list.RemoveHead();
    EXPECT_EQ(list.HeadNumber(), 1u);
    list.AddTailDroppingOldest(u"c", 1); // "b" dropped
    EXPECT_EQ(list.HeadNumber(), 2u);
    EXPECT_EQ(list.RemoveHead(), CString(u"c"));
    list.RemoveHead(); // empty: nothing taken
    EXPECT_EQ(list.HeadNumber(), 3u);
    list.AddTail(u"d");
    list.RemoveAll();
    EXPECT_EQ(list.HeadNumber(), list.AppendedCount());
    EXPECT_EQ(list.AppendedCount(), 4u);
}

} // namespace
