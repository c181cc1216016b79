#include "dialogs/CManualCommandDialog.h"

#include "DialogRecorders.h"
#include "DialogTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using dialogtest::Bytes;
using dialogtest::SentCommand;

class ManualCommand : public dialogtest::ProfileTest {
protected:
    // The dialog as its opening leaves it for this receiver.
    CManualCommandDialog& Open(int model, int mode) {
        g_receiverIdentity.model = model;
        g_interfaceMode = mode;
        m_dialog.ChooseTable();
        return m_dialog;
    }

    dialogtest::RecordingSender m_sender;
    dialogtest::RecordedMessageBoxes m_boxes;
    CManualCommandDialog m_dialog{&m_sender};
};

TEST(ManualCommandTables, EveryTableHasUniqueNamesAndTheBinaryTemplatesEqualTheirNames) {
    auto unique = [](const ManualCommandEntry* table, int rows) {
        std::set<std::u16string> names;
        for (int i = 0; i < rows; ++i) {
            names.insert(table[i].name);
        }
        return static_cast<int>(names.size()) == rows;
    };
    EXPECT_TRUE(unique(g_motorolaBinaryCommandTable, 102));
    EXPECT_TRUE(unique(g_motorolaNmeaCommandTable, 8));
    EXPECT_TRUE(unique(g_ubxCommandTable, 9));
    EXPECT_TRUE(unique(g_ubxNmeaRateCommandTable, 13));
    EXPECT_TRUE(unique(g_otherReceiverCommandTable, 5));
    for (const ManualCommandEntry& row : g_motorolaBinaryCommandTable) {
        EXPECT_EQ(std::u16string(row.name), std::u16string(row.sendTemplate));
        EXPECT_EQ(std::u16string(row.name).substr(0, 2), u"@@");
    }
}

TEST(ManualCommandTables, TheReceiverChoosesTableRowsAndLimits) {
    struct Case {
        int model, mode;
        const ManualCommandEntry* table;
        size_t rows;
        int listLimit, prefixLimit;
    } cases[] = {
        {21, kModeMotorolaBinary, g_motorolaBinaryCommandTable, 95, 4, 4},
        {10, kModeMotorolaRxOnly, g_motorolaBinaryCommandTable, 95, 4, 4},
        {23, kModeMotorolaBinary, g_motorolaBinaryCommandTable, 102, 4, 4},
        {24, kModeMotorolaRxOnly, g_motorolaBinaryCommandTable, 102, 4, 4},
        {1, kModeMotorolaNmea, g_motorolaNmeaCommandTable, 8, 6, 11},
        {23, kModeMotorolaNmea, g_motorolaNmeaCommandTable, 8, 6, 11},
        {19, kModeUbloxUbx, g_ubxCommandTable, 9, 3, 2},
        {19, kModeUbloxNmea, g_ubxNmeaRateCommandTable, 13, 3, 2},
        {0, kModeMotorolaBinary, g_otherReceiverCommandTable, 5, 3, 4},
        {12, kModeGenericNmea, g_otherReceiverCommandTable, 5, 3, 4},
        {16, kModeUbloxUbx, g_otherReceiverCommandTable, 5, 3, 4},
        {10, kModeGenericNmea, nullptr, 0, 0, 0},
        {24, kModeUbloxUbx, nullptr, 0, 0, 0},
        {19, kModeMotorolaBinary, nullptr, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const ManualCommandChoice choice = ChooseManualCommandTable(c.model, c.mode);
        EXPECT_EQ(choice.table, c.table) << c.model << "/" << c.mode;
        EXPECT_EQ(choice.offeredRows.size(), c.rows) << c.model << "/" << c.mode;
        EXPECT_EQ(choice.listLimit, c.listLimit) << c.model << "/" << c.mode;
        EXPECT_EQ(choice.prefixLimit, c.prefixLimit) << c.model << "/" << c.mode;
    }
    // The M8 rows are the ones left out, and the order is the table's.
    const ManualCommandChoice six = ChooseManualCommandTable(21, kModeMotorolaBinary);
    for (int row : six.offeredRows) {
        EXPECT_NE(std::u16string(g_motorolaBinaryCommandTable[row].name).substr(0, 3), u"@@S");
    }
    EXPECT_TRUE(std::is_sorted(six.offeredRows.begin(), six.offeredRows.end()));
}

TEST_F(ManualCommand, SelectingARowFillsPrefixParametersDescriptionAndChecksum) {
    struct Case {
        int model, mode;
        const char16_t* name;
        const char16_t* prefix;
        const char16_t* parameters;
        const char16_t* checksum;
    } cases[] = {
        // 'A' ^ 'a' ^ FF ^ FF ^ FF
        {10, kModeMotorolaBinary, u"@@Aa", u"@@Aa", u"FFFFFF", u"DF"},
        // Fletcher over 06 00 00 00
        {19, kModeUbloxUbx, u"CFG-PRTa", u"B56206000000", u"", u"0618"},
        {19, kModeUbloxNmea, u"$GPGGA", u"B56206010300F000", u"01", u"FB10"},
        {0, kModeGenericNmea, u"$GPALM", u"$GPALM,", u"),,,,,,,,,,,,,,", u"*52"},
        {1, kModeMotorolaNmea, u"FOR", u"$PMOTG,FOR,", u"0", u"*2A"},
    };
    for (const Case& c : cases) {
        CManualCommandDialog& dlg = Open(c.model, c.mode);
        dlg.SelectCommand(c.name);
        EXPECT_EQ(dlg.m_prefix, CString(c.prefix)) << Utf16ToUtf8(c.name);
        EXPECT_EQ(dlg.m_parameters, CString(c.parameters)) << Utf16ToUtf8(c.name);
        EXPECT_EQ(dlg.m_checksum, CString(c.checksum)) << Utf16ToUtf8(c.name);
        EXPECT_FALSE(dlg.m_description.IsEmpty());
    }
    EXPECT_TRUE(m_boxes.texts.empty());
}

TEST_F(ManualCommand, SelectionIsCaseSensitiveAndUnknownTextBecomesThePrefix) {
    CManualCommandDialog& dlg = Open(10, kModeMotorolaBinary);
    dlg.SelectCommand(u"@@AD");
    EXPECT_EQ(dlg.m_description, CString(u"Correction Timer Thresholds"));
    dlg.SelectCommand(u"@@Ad");
    EXPECT_EQ(dlg.m_description, CString(u"Current Latitude"));

    dlg.SelectCommand(u"@@Gk");
    dlg.SelectCommand(u"@@Zz");
    EXPECT_EQ(dlg.m_prefix, CString(u"@@Zz"));
    EXPECT_TRUE(dlg.m_parameters.IsEmpty());
    EXPECT_TRUE(dlg.m_description.IsEmpty());
    EXPECT_EQ(dlg.m_checksum, CString(u"20")); // 'Z' ^ 'z'

    // An "@@S" name is not offered to a six-channel receiver, so it reads as typed text.
    dlg.SelectCommand(u"@@Sm");
    EXPECT_TRUE(dlg.m_parameters.IsEmpty());
}

TEST_F(ManualCommand, HexParametersIgnoreBlanksPadOddCountsAndRefuseOtherCharacters) {
    struct Case {
        const char16_t* text;
        BOOL ok;
        std::u16string bytes;
    } cases[] = {
        {u"1 2 3", TRUE, Bytes({0x01, 0x23})},
        {u"ff\t0a\r\n", TRUE, Bytes({0xFF, 0x0A})},
        {u"", TRUE, u""},
        {u"1G", FALSE, u""},
        {u"0x12", FALSE, u""},
    };
    for (const Case& c : cases) {
        CString bytes;
        EXPECT_EQ(CManualCommandDialog::TryParseHex(c.text, bytes), c.ok) << Utf16ToUtf8(c.text);
        if (c.ok) {
            EXPECT_EQ(bytes.str(), c.bytes) << Utf16ToUtf8(c.text);
        }
    }
}

TEST_F(ManualCommand, BadHexEmptiesTheChecksumAndSendIsRefused) {
    CManualCommandDialog& dlg = Open(10, kModeMotorolaBinary);
    dlg.SelectCommand(u"@@Cg");
    dlg.m_parameters = u"1G";
    EXPECT_FALSE(dlg.UpdatePreview());
    EXPECT_TRUE(dlg.m_checksum.IsEmpty());
    dlg.SendCommand();
    EXPECT_TRUE(m_sender.sent.empty());
    ASSERT_EQ(m_boxes.texts.size(), 2u);
    EXPECT_EQ(m_boxes.texts[0], u"Illegal HEX character in parameter field.");
    EXPECT_EQ(m_boxes.texts[1], u"Improperly formed message, cannot send.");
    EXPECT_TRUE(m_boxes.types[1] & MB_ICONEXCLAMATION);
}

TEST_F(ManualCommand, SendHandsTheMessageWithoutFramingToTheView) {
    CManualCommandDialog& dlg = Open(10, kModeMotorolaBinary);
    dlg.SelectCommand(u"@@Aa");
    dlg.m_parameters = u"01 02 0";
    ASSERT_TRUE(dlg.UpdatePreview());
    dlg.SendCommand();

    Open(19, kModeUbloxUbx).SelectCommand(u"CFG-MSG");
    dlg.SendCommand();

    Open(0, kModeGenericNmea).SelectCommand(u"$PQVR");
    dlg.SendCommand();

    const std::vector<SentCommand> expected = {
        // The odd count is padded in front of the whole text, not of its last group.
        {u"@@Aa" + Bytes({0x00, 0x10, 0x20}), false},
        {Bytes({0xB5, 0x62, 0x06, 0x01, 0x03, 0x00, 0x01, 0x21, 0x01}), false},
        {u"$PQVR,SETUP", false},
    };
    EXPECT_EQ(m_sender.sent, expected);
    EXPECT_TRUE(m_boxes.texts.empty());
}

TEST_F(ManualCommand, TkCarriesItsDataAsTextWithTheSumBytes) {
    CManualCommandDialog& dlg = Open(3, kModeMotorolaBinary);
    dlg.SelectCommand(u"@@Tk");
    dlg.m_parameters = u"AB"; // 0x41 + 0x42 = 0x83
    ASSERT_TRUE(dlg.UpdatePreview());
    const std::u16string message = u"@@TkAB" + Bytes({0xFF, 0x01, 0x83});
    BYTE x = 0;
    for (char16_t c : message) {
        x ^= static_cast<BYTE>(c);
    }
    CString expected;
    expected.Format(u"FF0183%02X", x);
    EXPECT_EQ(dlg.m_checksum, expected);
    dlg.SendCommand();
    ASSERT_EQ(m_sender.sent.size(), 1u);
    EXPECT_EQ(m_sender.sent[0].bytes, message);
}

TEST_F(ManualCommand, NmeaChecksumReplacesAnOldOneAndShortOrForeignTextIsRefused) {
    CManualCommandDialog& dlg = Open(0, kModeGenericNmea);
    dlg.m_prefix = u"$PGRMO,";
    dlg.m_parameters = u"GPGGA,1*00";
    ASSERT_TRUE(dlg.UpdatePreview());
    BYTE x = 0;
    for (char16_t c : std::u16string(u"PGRMO,GPGGA,1")) {
        x ^= static_cast<BYTE>(c);
    }
    CString expected;
    expected.Format(u"*%2.2X", x);
    EXPECT_EQ(dlg.m_checksum, expected);

    for (const char16_t* text : {u"$GPA", u">ABCD", u"GPGGA,1"}) {
        dlg.m_prefix = text;
        dlg.m_parameters.Empty();
        EXPECT_FALSE(dlg.UpdatePreview()) << Utf16ToUtf8(text);
        dlg.SendCommand();
    }
    EXPECT_TRUE(m_sender.sent.empty());
    EXPECT_EQ(m_boxes.texts.size(), 3u);
}

TEST_F(ManualCommand, UbxPreviewNeedsTheSyncBytesAndAWholeHeader) {
    CManualCommandDialog& dlg = Open(19, kModeUbloxUbx);
    for (const char16_t* prefix : {u"B5620A04000", u"B4620A040000", u"@@Aa"}) {
        dlg.m_prefix = prefix;
        dlg.m_parameters.Empty();
        EXPECT_FALSE(dlg.UpdatePreview()) << Utf16ToUtf8(prefix);
        EXPECT_TRUE(dlg.m_checksum.IsEmpty());
    }
}

} // namespace
