#include "dialogs/CGpsRxModeSelect.h"
#include "dialogs/CManualSatelliteSelect.h"
#include "dialogs/COncoreIdDialog.h"

#include "DialogRecorders.h"
#include "DialogTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using dialogtest::Bytes;
using dialogtest::SentCommand;

class ManualSatelliteSelect : public dialogtest::ProfileTest {
protected:
    dialogtest::RecordingSender m_sender;
    dialogtest::RecordedMessageBoxes m_boxes;
};

TEST_F(ManualSatelliteSelect, EmptyChannelsSendOnlyTheSelectionModeAndStoreZeros) {
    CManualSatelliteSelect dlg(&m_sender, nullptr);
    dlg.LoadSettings();
    ASSERT_TRUE(dlg.ConfirmSelection());
    const std::vector<SentCommand> expected = {{u"@@Ah" + Bytes({0}), true}};
    EXPECT_EQ(m_sender.sent, expected);
    EXPECT_EQ(Stored(u"Manual Satellite Select", u"Data"), CString(u"0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"));
}

TEST_F(ManualSatelliteSelect, AssignedAndDisabledChannelsFollowTheManualMode) {
    CGpsRxModeSelect rx;
    rx.m_satelliteSelection = 1; // highest in the sky
    CManualSatelliteSelect dlg(&m_sender, &rx);
    dlg.m_satelliteId[2] = 17;
    dlg.m_disable[4] = 1;
    dlg.m_satelliteId[4] = 9; // a disabled channel ignores its ID
    ASSERT_TRUE(dlg.ConfirmSelection());
    const std::vector<SentCommand> expected = {
        {u"@@Ah" + Bytes({2}), true},
        {u"@@Ah" + Bytes({1}), false},
        {u"@@Ai" + Bytes({3, 17}), false},
        {u"@@Ai" + Bytes({5, 0}), false},
    };
    EXPECT_EQ(m_sender.sent, expected);

    // Shown again next time.
    CManualSatelliteSelect again(&m_sender, nullptr);
    again.LoadSettings();
    EXPECT_EQ(again.m_satelliteId[2], 17);
    EXPECT_EQ(again.m_disable[4], 1);
    EXPECT_EQ(again.m_satelliteId[4], 9);
}

TEST_F(ManualSatelliteSelect, MalformedStoredDataOpensCleared) {
    for (const char16_t* data : {u"2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0", u"0 256 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
                                 u"0 5 0 0 0 0 0 0 0 0 0 0 0 0 0", u"0 5 x 0 0 0 0 0 0 0 0 0 0 0 0 0"}) {
        AppWriteProfileString(u"Manual Satellite Select", u"Data", data);
        CManualSatelliteSelect dlg(&m_sender, nullptr);
        dlg.m_satelliteId[0] = 3;
        dlg.LoadSettings();
        for (int c = 0; c < CManualSatelliteSelect::kChannels; ++c) {
            EXPECT_EQ(dlg.m_satelliteId[c], 0) << Utf16ToUtf8(data);
            EXPECT_EQ(dlg.m_disable[c], 0) << Utf16ToUtf8(data);
        }
    }
    // IDs up to 255 load (only typing is held to 37).
    AppWriteProfileString(u"Manual Satellite Select", u"Data", u"1 255 0 0 0 0 0 0 0 0 0 0 0 0 0 7");
    CManualSatelliteSelect dlg(&m_sender, nullptr);
    dlg.LoadSettings();
    EXPECT_EQ(dlg.m_satelliteId[0], 255);
    EXPECT_EQ(dlg.m_satelliteId[7], 7);
}

TEST_F(ManualSatelliteSelect, AnIdAbove37IsRefusedBeforeAnythingIsSentOrStored) {
    CManualSatelliteSelect dlg(&m_sender, nullptr);
    dlg.m_satelliteId[6] = 38;
    EXPECT_FALSE(dlg.ConfirmSelection());
    EXPECT_TRUE(m_sender.sent.empty());
    EXPECT_EQ(Stored(u"Manual Satellite Select", u"Data"), CString(u"<none>"));
    EXPECT_EQ(m_boxes.texts.size(), 1u);
}

class OncoreId : public dialogtest::ProfileTest {};

TEST_F(OncoreId, EveryChoiceGivesItsIdentity) {
    struct Case {
        int index, model;
        float version;
        const char16_t* text;
        int channels;
        BOOL traim;
    } cases[] = {
        {0, 10, 6.0f, u"6.0", 6, FALSE},   {1, 10, 7.5f, u"7.5", 6, FALSE},  {2, 10, 8.7f, u"8.7", 8, TRUE},
        {3, 10, 10.0f, u"10.0", 8, FALSE}, {4, 8, 1.3f, u"1.3", 8, FALSE},   {5, 8, 1.8f, u"1.8", 8, FALSE},
        {6, 9, 2.3f, u"2.3", 8, TRUE},     {7, 1, 1.3f, u"1.3", 8, FALSE},   {8, 1, 1.8f, u"1.8", 8, FALSE},
        {9, 2, 2.3f, u"2.3", 8, FALSE},    {10, 3, 1.0f, u"1.0", 12, FALSE}, {-1, 9, 2.0f, u"2.0", 8, FALSE},
        {11, 9, 2.0f, u"2.0", 8, FALSE},
    };
    for (const Case& c : cases) {
        const ReceiverIdentity id = COncoreIdDialog::IdentityForChoice(c.index);
        EXPECT_EQ(id.model, c.model) << c.index;
        EXPECT_EQ(id.firmwareVersion, c.version) << c.index;
        EXPECT_EQ(id.versionText, CString(c.text)) << c.index;
        EXPECT_EQ(id.activeChannels, c.channels) << c.index;
        EXPECT_EQ(id.nativeChannels, c.channels) << c.index;
        EXPECT_EQ(id.hasTraim, c.traim) << c.index;
        EXPECT_FALSE(id.hasDgps) << c.index;
    }
}

TEST_F(OncoreId, TheStoredChoiceIsReadAtConstructionAndWrittenOnConfirm) {
    {
        COncoreIdDialog fresh;
        EXPECT_EQ(fresh.m_choiceIndex, -1);
        ReceiverIdentity id;
        EXPECT_TRUE(fresh.GetIdentity(id));
        EXPECT_EQ(id.model, 9);
        ASSERT_TRUE(fresh.ConfirmChoice());
        EXPECT_EQ(StoredInt(u"Oncore Id Dialog", u"Rx Type Index"), -1);
    }
    AppWriteProfileInt(u"Oncore Id Dialog", u"Rx Type Index", 2);
    COncoreIdDialog dlg;
    ReceiverIdentity id;
    ASSERT_TRUE(dlg.GetIdentity(id));
    EXPECT_EQ(id.model, 10);
    EXPECT_EQ(id.versionText, CString(u"8.7"));
    EXPECT_TRUE(id.hasTraim);

    dlg.m_choiceIndex = 10;
    ASSERT_TRUE(dlg.ConfirmChoice());
    EXPECT_EQ(dlg.m_identity.activeChannels, 12);
    EXPECT_EQ(StoredInt(u"Oncore Id Dialog", u"Rx Type Index"), 10);
}

} // namespace
