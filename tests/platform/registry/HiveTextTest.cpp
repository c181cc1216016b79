#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"

#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

using namespace doliva::registry;
using regtest::SzBytes;

namespace {

std::shared_ptr<KeyNode> KeyAt(const HiveParseResult& r, std::initializer_list<std::u16string_view> path) {
    std::shared_ptr<KeyNode> node = r.forest;
    for (auto part : path) {
        if (!node) {
            break;
        }
        node = node->FindSubkey(part);
    }
    return node;
}

std::string Utf16File(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

void ExpectRoundTrip(const HiveParseResult& r) {
    ASSERT_TRUE(r.Ok());
    std::string text = FormatHiveText(*r.forest);
    HiveParseResult again = ParseHiveText(text);
    ASSERT_TRUE(again.Ok()) << again.errorLine << ": " << again.error << "\n" << text;
    EXPECT_TRUE(again.forest->SameContent(*r.forest)) << text;
    EXPECT_EQ(FormatHiveText(*again.forest), text);
}

void ExpectStable(const KeyNode& forest) {
    std::string text = FormatHiveText(forest);
    HiveParseResult r = ParseHiveText(text);
    ASSERT_TRUE(r.Ok()) << r.errorLine << ": " << r.error << "\n" << text;
    EXPECT_TRUE(r.forest->SameContent(forest)) << text;
    EXPECT_EQ(FormatHiveText(*r.forest), text);
}

} // namespace

TEST(HiveText, ReadsAHandWrittenRegedit4File) {
    const char* text = "REGEDIT4\n"
                       "\n"
                       "; settings of the GPS interface\n"
                       "[HKEY_CURRENT_USER\\Software\\Halvorn\\Doliva\\GPS Interface]\n"
                       "\"Port\"=\"COM1\"\n"
                       "\"Path\"=\"C:\\\\Logs\\\\\\\"GPS\\\"\"\n"
                       "\"Lone\"=\"C:\\temp\"\n"
                       "@=\"default\"\n"
                       "\"Baud\"=dword:00002580\n"
                       "\"Mask\"=hex:01,02,\\\n"
                       "  03,0A\n"
                       "\"Expand\"=hex(2):25,54,45,4d,50,25,00\n"
                       "\"Multi\"=hex(7):61,00,62,00,00\n"
                       "\"Q\"=hex(b):01,00,00,00,00,00,00,80\n"
                       "   \"Spaced\" = \"x\"   \r\n"
                       "\"Gone\"=\"y\"\n"
                       "\"Gone\"=-\n"
                       "\"PORT\"=\"COM2\"\n"
                       "\n"
                       "[HKEY_CURRENT_USER\\Software\\Old]\n"
                       "\"x\"=\"y\"\n"
                       "[-HKEY_CURRENT_USER\\Software\\Old]\n"
                       "\"ignored\"=\"under a deleted key\"\n"
                       "[HKEY_CURRENT_USER\\Software\\Empty]\n";
    HiveParseResult r = ParseHiveText(text);
    ASSERT_TRUE(r.Ok()) << r.errorLine << ": " << r.error;
    auto gps = KeyAt(r, {u"HKEY_CURRENT_USER", u"software", u"HALVORN", u"Doliva", u"gps interface"});
    ASSERT_TRUE(gps);
    EXPECT_EQ(gps->Name(), u"GPS Interface");

    struct Expected {
        std::u16string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const std::vector<Expected> expected = {
        {u"Port", REG_SZ, SzBytes(u"COM2")}, // rewritten later in the file: keeps its place and its case
        {u"Path", REG_SZ, SzBytes(u"C:\\Logs\\\"GPS\"")},
        {u"Lone", REG_SZ, SzBytes(u"C:\\temp")},
        {u"", REG_SZ, SzBytes(u"default")},
        {u"Baud", REG_DWORD, {0x80, 0x25, 0, 0}},
        {u"Mask", REG_BINARY, {1, 2, 3, 10}},
        {u"Expand", REG_EXPAND_SZ, SzBytes(u"%TEMP%")},
        {u"Multi", REG_MULTI_SZ, SzBytes(std::u16string(u"a\0b\0", 4))},
        {u"Q", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0x80}},
        {u"Spaced", REG_SZ, SzBytes(u"x")},
    };
    ASSERT_EQ(gps->Values().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const RegValue& v = gps->Values()[i];
        EXPECT_EQ(v.name, expected[i].name) << i;
        EXPECT_EQ(v.type, expected[i].type) << i;
        EXPECT_EQ(v.data, expected[i].data) << i;
    }
    EXPECT_FALSE(KeyAt(r, {u"HKEY_CURRENT_USER", u"Software", u"Old"}));
    ASSERT_TRUE(KeyAt(r, {u"HKEY_CURRENT_USER", u"Software", u"Empty"}));
    ExpectRoundTrip(r);
}

TEST(HiveText, ReadsWindows1252WhenTheFileIsNotUtf8) {
    HiveParseResult r = ParseHiveText("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Caf\xE9]\r\n"
                                      "\"Temp\"=\"25\xB0\x80\"\r\n\"E\"=hex(2):e9,00\r\n");
    ASSERT_TRUE(r.Ok()) << r.error;
    auto key = KeyAt(r, {u"HKEY_CURRENT_USER", u"Software", u"CAF\u00C9"});
    ASSERT_TRUE(key);
    EXPECT_EQ(key->Name(), u"Caf\u00E9");
    EXPECT_EQ(key->FindValue(u"temp")->data, SzBytes(u"25\u00B0\u20AC"));
    EXPECT_EQ(key->FindValue(u"E")->data, SzBytes(u"\u00E9"));
    ExpectRoundTrip(r);
}

TEST(HiveText, ReadsAUtf16Version5Export) {
    HiveParseResult r = ParseHiveText(Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                                u"[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM]\r\n"
                                                u"\"\\\\Device\\\\Serial0\"=\"COM1\"\r\n"
                                                u"\"\u03A9\"=hex(2):25,00,41,00,25,00,00,00\r\n"
                                                u"\"Odd\"=hex(7):41,00,42\r\n"));
    ASSERT_TRUE(r.Ok()) << r.error;
    auto key = KeyAt(r, {u"HKEY_LOCAL_MACHINE", u"HARDWARE", u"DEVICEMAP", u"SERIALCOMM"});
    ASSERT_TRUE(key);
    EXPECT_EQ(key->FindValue(u"\\Device\\Serial0")->data, SzBytes(u"COM1"));
    EXPECT_EQ(key->FindValue(u"\u03C9")->type, REG_EXPAND_SZ); // Greek folds too
    EXPECT_EQ(key->FindValue(u"\u03A9")->data, SzBytes(u"%A%"));
    EXPECT_EQ(key->FindValue(u"Odd")->data, (std::vector<BYTE>{0x41, 0, 0x42}));
    ExpectRoundTrip(r);
    // Data the narrow form cannot carry keeps the file in the 5.00 form.
    EXPECT_EQ(FormatHiveText(*r.forest).rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
}

TEST(HiveText, WritesReadableRegedit4) {
    KeyNode forest(u"");
    auto key = forest.AddSubkey(u"HKEY_CURRENT_USER")->AddSubkey(u"Software")->AddSubkey(u"Doliva");
    key->SetValue(u"Port", REG_SZ, SzBytes(u"C:\\a \"b\" \u00B0"));
    key->SetValue(u"", REG_SZ, SzBytes(u"d"));
    key->SetValue(u"Baud", REG_DWORD, {0x0a, 0, 0, 0});
    key->SetValue(u"Mask", REG_BINARY, {1, 2});
    key->SetValue(u"Expand", REG_EXPAND_SZ, SzBytes(u"%T%\u00E9"));
    key->SetValue(u"Q", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8});
    key->AddSubkey(u"Empty");
    EXPECT_EQ(FormatHiveText(forest), "REGEDIT4\n"
                                      "\n"
                                      "[HKEY_CURRENT_USER\\Software]\n"
                                      "\n"
                                      "[HKEY_CURRENT_USER\\Software\\Doliva]\n"
                                      "\"Port\"=\"C:\\\\a \\\"b\\\" \xC2\xB0\"\n"
                                      "@=\"d\"\n"
                                      "\"Baud\"=dword:0000000a\n"
                                      "\"Mask\"=hex:01,02\n"
                                      "\"Expand\"=hex(2):25,54,25,c3,a9,00\n"
                                      "\"Q\"=hex(b):01,02,03,04,05,06,07,08\n"
                                      "\n"
                                      "[HKEY_CURRENT_USER\\Software\\Doliva\\Empty]\n"
                                      "\n");
}

TEST(HiveText, LongHexDataIsContinuedOnShortLines) {
    KeyNode forest(u"");
    auto key = forest.AddSubkey(u"HKEY_CURRENT_USER")->AddSubkey(u"K");
    std::vector<BYTE> blob(300);
    for (size_t i = 0; i < blob.size(); ++i) {
        blob[i] = static_cast<BYTE>(i * 7);
    }
    key->SetValue(u"Blob", REG_BINARY, blob);
    std::string text = FormatHiveText(forest);
    std::istringstream lines(text);
    std::string line;
    size_t continued = 0;
    while (std::getline(lines, line)) {
        EXPECT_LE(line.size(), 80u) << line;
        continued += !line.empty() && line.back() == '\\';
    }
    EXPECT_GT(continued, 3u);
    HiveParseResult r = ParseHiveText(text);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(KeyAt(r, {u"HKEY_CURRENT_USER", u"K"})->FindValue(u"Blob")->data, blob);
}

TEST(HiveText, EmptyAndBlankTextsAreEmptyHives) {
    for (const char* text : {"", "\n\n", "REGEDIT4\n", "\xEF\xBB\xBFREGEDIT4\r\n\r\n"}) {
        HiveParseResult r = ParseHiveText(text);
        ASSERT_TRUE(r.Ok()) << text;
        EXPECT_TRUE(r.forest->Subkeys().empty());
    }
}

TEST(HiveText, DamageIsReportedWithItsLine) {
    struct Case {
        std::string text;
        size_t line;
        const char* what;
    };
    const std::string head = "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n";
    const std::vector<Case> cases = {
        {"[HKEY_CURRENT_USER\\A]\n", 1, "REGEDIT4"},
        {"REGEDIT4\n\n[HKEY_CURRENT_USER\\A\n", 3, "header"},
        {"REGEDIT4\n\n[Software\\A]\n", 3, "root"},
        {"REGEDIT4\n\n[HKEY_CURRENT_USER\\\\A]\n", 3, "empty key name"},
        {"REGEDIT4\n\n\"x\"=\"y\"\n", 3, "outside a key"},
        {head + "\"x\"=hex:01,zz\n", 4, "hex"},
        {head + "\"x\"=hex:01,,02\n", 4, "hex"},
        {head + "\"x\"=hex:01,\\\n  0g\n", 4, "hex"},
        {head + "\"x\"=hex(q):01\n", 4, "hex type"},
        {head + "\"x\"=\"abc\n", 4, "unterminated"},
        {head + "\"x\"=\"a\\\"\n", 4, "unterminated"},
        {head + "\"x\"=\"a\" junk\n", 4, "after"},
        {head + "\"x=\"a\"\n", 4, ""},
        {head + "\"x\"=dword:123456789\n", 4, "dword"},
        {head + "\"x\"=dword:\n", 4, "dword"},
        {head + "\"x\"=\n", 4, "missing"},
        {head + "\"x\"=str:abc\n", 4, "unknown value data"},
        {head + "x=1\n", 4, "unrecognised"},
        {head + std::string("\"a\"=\"b\"\0\n", 9), 4, "NUL"},
        {std::string("\xFF\xFEW\0i\0\n\0x", 9), 2, "truncated UTF-16"},
        {Utf16File(u"REGEDIT4\n\n[HKEY_CURRENT_USER\\\xD800]\n"), 3, "surrogate"},
    };
    for (const Case& c : cases) {
        HiveParseResult r = ParseHiveText(c.text);
        ASSERT_FALSE(r.Ok()) << c.text;
        EXPECT_EQ(r.errorLine, c.line) << c.text;
        EXPECT_NE(r.error.find(c.what), std::string::npos) << c.text << " -> " << r.error;
    }
}

TEST(HiveText, EveryStoredFormReadsBackUnchanged) {
    KeyNode forest(u"");
    auto key = forest.AddSubkey(u"HKEY_CURRENT_USER")->AddSubkey(u"Odd \"names\" ]");
    key->SetValue(u"NoTerminator", REG_SZ, SzBytes(u"abc", false));
    key->SetValue(u"Lines", REG_SZ, SzBytes(u"a\r\nb"));
    key->SetValue(u"Inner NUL", REG_SZ, SzBytes(std::u16string(u"a\0b", 3)));
    key->SetValue(u"Empty", REG_SZ, {});
    key->SetValue(u"ShortDword", REG_DWORD, {1, 2});
    key->SetValue(u"BigEndian", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1});
    key->SetValue(u"None", REG_NONE, {});
    key->SetValue(u"Custom", 0x12345678, {9});
    key->SetValue(u"Emoji \U0001F600", REG_MULTI_SZ, SzBytes(std::u16string(u"\U0001F600\0\0", 4), false));
    forest.AddSubkey(u"HKEY_LOCAL_MACHINE")->SetValue(u"kept", REG_SZ, SzBytes(u"other roots are kept"));
    ExpectStable(forest);
    EXPECT_EQ(FormatHiveText(forest).rfind("REGEDIT4\n", 0), 0u);

    key->SetValue(u"Lone surrogate", REG_EXPAND_SZ, SzBytes(u"\xDC00"));
    ExpectStable(forest);
    EXPECT_EQ(FormatHiveText(forest).rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
}
