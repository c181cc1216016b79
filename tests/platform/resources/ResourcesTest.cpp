#include "ResTestSupport.h"
#include "TestResourceIds.h"

#include "platform/base/CString.h"
#include "platform/controls/ControlConstants.h"
#include "platform/dialog/Dialog.h"
#include "platform/display/WindowConstants.h"
#include "platform/resources/ResFile.h"
#include "platform/resources/Resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

namespace {

class HookEnvironment : public ::testing::Environment {
public:
    void SetUp() override { DolivaInstallResourceHooks(); }
};
const auto* const g_hooks = ::testing::AddGlobalTestEnvironment(new HookEnvironment);

std::u16string LoadText(UINT id) {
    WCHAR buffer[128];
    int length = LoadStringW(nullptr, id, buffer, 128);
    return std::u16string(buffer, static_cast<size_t>(length));
}

std::vector<BYTE> Bytes(HMODULE module, LPCWSTR name, LPCWSTR type) {
    HRSRC found = FindResourceW(module, name, type);
    if (!found) {
        return {};
    }
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    return std::vector<BYTE>(data, data + SizeofResource(module, found));
}

TEST(LoadString, FindsIdsAcrossBlocks) {
    EXPECT_EQ(LoadText(IDS_FIRST), u"First");
    EXPECT_EQ(LoadText(IDS_BLOCK_END), u"Last of block one");
    EXPECT_EQ(LoadText(IDS_NEXT_BLOCK), u"Block two");
    EXPECT_EQ(LoadText(IDS_FAR), u"Sat Sort Button 1");
    // The script is UTF-8 and compiled with code page 65001.
    EXPECT_EQ(LoadText(IDS_UNICODE), u"Version 2.7 \u2013 Z\u00fcrich \u00b15 \u00b5s");
}

TEST(LoadString, MissingIdsAnswerZeroAndEmptyBuffer) {
    for (UINT id : {2u, 14u, 17u, 5000u}) {
        WCHAR buffer[8] = {u'x'};
        SetLastError(0);
        EXPECT_EQ(LoadStringW(nullptr, id, buffer, 8), 0) << id;
        EXPECT_EQ(buffer[0], 0) << id;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND)) << id;
    }
}

TEST(LoadString, TruncatesToTheBufferAndLendsAPointerForZero) {
    WCHAR small[4];
    EXPECT_EQ(LoadStringW(nullptr, IDS_FIRST, small, 4), 3);
    EXPECT_EQ(std::u16string(small), u"Fir");

    const char16_t* text = nullptr;
    int length = LoadStringW(nullptr, IDS_NEXT_BLOCK, reinterpret_cast<LPWSTR>(&text), 0);
    ASSERT_EQ(length, 9);
    EXPECT_EQ(std::u16string(text, 9), u"Block two");
}

TEST(LoadString, CStringLoadsThroughTheInstalledHook) {
    CString text;
    EXPECT_TRUE(text.LoadString(IDS_FAR));
    EXPECT_EQ(text, CString(u"Sat Sort Button 1"));
    EXPECT_FALSE(text.LoadString(3));
}

TEST(FindResource, NamesByOrdinalHashFormAndCaseInsensitiveText) {
    EXPECT_EQ(Bytes(nullptr, u"SATSENABLEGRID", u"GXLAYOUT"), (std::vector<BYTE>{0x02, 0x01, 0x04, 0x03}));
    EXPECT_EQ(Bytes(nullptr, u"satsEnableGrid", u"gxlayout"), (std::vector<BYTE>{0x02, 0x01, 0x04, 0x03}));
    std::vector<BYTE> rcdata{'a', 'b', 'c', 0x43, 0x44, 0x54, 0x64, 0x04, 0x00};
    EXPECT_EQ(Bytes(nullptr, MAKEINTRESOURCEW(7), RT_RCDATA), rcdata);
    EXPECT_EQ(Bytes(nullptr, u"#7", u"#10"), rcdata);
    EXPECT_EQ(Bytes(reinterpret_cast<HMODULE>(0x400000), u"#7", RT_RCDATA), rcdata);
    EXPECT_TRUE(IS_INTRESOURCE(RT_TOOLBAR));
    EXPECT_FALSE(IS_INTRESOURCE(u"GXLAYOUT"));
}

TEST(FindResource, MissingNameTypeOrLanguageSayWhich) {
    struct Case {
        LPCWSTR name;
        LPCWSTR type;
        DWORD error;
    } cases[] = {
        {MAKEINTRESOURCEW(8), RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
        {u"NOSUCHLAYOUT", u"GXLAYOUT", ERROR_RESOURCE_NAME_NOT_FOUND},
        {u"#12x", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
        {u"SATSENABLEGRID", u"SRGRAPH_TEMPLATE", ERROR_RESOURCE_TYPE_NOT_FOUND},
        {MAKEINTRESOURCEW(1), RT_VERSION, ERROR_RESOURCE_TYPE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(FindResourceW(nullptr, c.name, c.type), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_NE(FindResourceExW(nullptr, RT_RCDATA, MAKEINTRESOURCEW(7), 0x409), nullptr);
    EXPECT_NE(FindResourceExW(nullptr, RT_RCDATA, MAKEINTRESOURCEW(7), 0), nullptr);
    EXPECT_EQ(FindResourceExW(nullptr, RT_RCDATA, MAKEINTRESOURCEW(7), 0x407), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND));
}

TEST(FindResource, BadHandlesAreRefused) {
    SetLastError(0);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
    int notAResource = 0;
    EXPECT_EQ(SizeofResource(nullptr, reinterpret_cast<HRSRC>(&notAResource)), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(FindResourceW(reinterpret_cast<HMODULE>(0x1234), u"#7", RT_RCDATA), nullptr);
}

BOOL CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<std::u16string>*>(param);
    names->push_back(
        IS_INTRESOURCE(name)
            ? u"#" + std::u16string(1, static_cast<char16_t>(u'0' + reinterpret_cast<ULONG_PTR>(name)))
            : std::u16string(name));
    return TRUE;
}

TEST(ResourceModules, NamedModulesAreSeparateAndSearchedAfterTheProgram) {
    ResBuilder res;
    res.Add(0, u"SRGRAPH_TEMPLATE", 0, u"POLAR", {'G', 'R', 'A', 'P', 'H'})
        .Add(0, u"SRGRAPH_TEMPLATE", 5, u"", {'X'})
        .Add(0, u"GXLAYOUT", 0, u"SATSENABLEGRID", {9});
    HMODULE chart = DolivaRegisterResources(res.Bytes().data(), res.Bytes().size(), u"chart", true);
    ASSERT_NE(chart, nullptr);
    EXPECT_NE(chart, DolivaResourceModule(nullptr));
    EXPECT_EQ(DolivaResourceModule(u"chart"), chart);
    EXPECT_EQ(DolivaResourceModule(u"nothing"), nullptr);

    EXPECT_EQ(FindResourceW(nullptr, u"POLAR", u"SRGRAPH_TEMPLATE"), nullptr);
    EXPECT_EQ(Bytes(chart, u"polar", u"srgraph_template"), (std::vector<BYTE>{'G', 'R', 'A', 'P', 'H'}));
    EXPECT_EQ(DolivaFindResourceModule(u"POLAR", u"SRGRAPH_TEMPLATE"), chart);
    // The program's module comes first.
    EXPECT_EQ(DolivaFindResourceModule(u"SATSENABLEGRID", u"GXLAYOUT"), DolivaResourceModule(nullptr));
    SetLastError(0);
    EXPECT_EQ(DolivaFindResourceModule(u"NONE", u"SRGRAPH_TEMPLATE"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));

    std::vector<std::u16string> names;
    EXPECT_TRUE(
        EnumResourceNamesW(chart, u"SRGRAPH_TEMPLATE", CollectName, reinterpret_cast<LONG_PTR>(&names)));
    EXPECT_EQ(names, (std::vector<std::u16string>{u"POLAR", u"#5"}));
    EXPECT_FALSE(EnumResourceNamesW(chart, RT_DIALOG, CollectName, reinterpret_cast<LONG_PTR>(&names)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
}

TEST(ResFile, ParsesTheCompiledScript) {
    std::vector<BYTE> res = CompiledTestRes();
    ASSERT_FALSE(res.empty());
    std::vector<ResEntry> entries;
    ASSERT_TRUE(ParseResFile(res.data(), res.size(), entries));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries[0].language, 0x409);
    bool sawWave = false;
    for (const ResEntry& entry : entries) {
        EXPECT_GE(entry.data, res.data());
        EXPECT_LE(entry.data + entry.size, res.data() + res.size());
        sawWave |= !entry.type.isOrdinal && entry.type.text == u"WAVE" && entry.size == 52;
    }
    EXPECT_TRUE(sawWave);
}

TEST(ResFile, RefusesEveryTruncationAndLyingSize) {
    std::vector<BYTE> res = CompiledTestRes();
    std::vector<ResEntry> entries;
    // A cut either fails or leaves only whole entries, all inside the bytes kept (the sanitizers watch the
    // reads); a cut inside the first header always fails.
    for (size_t cut = 1; cut < res.size(); ++cut) {
        std::vector<BYTE> prefix(res.begin(), res.begin() + static_cast<long>(cut));
        if (ParseResFile(prefix.data(), prefix.size(), entries)) {
            for (const ResEntry& entry : entries) {
                EXPECT_LE(entry.data + entry.size, prefix.data() + prefix.size()) << cut;
            }
        } else if (cut > 32 && cut < 64) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
        }
        if (cut > 32 && cut < 64) {
            EXPECT_FALSE(ParseResFile(prefix.data(), prefix.size(), entries)) << cut;
        }
    }

    ResBuilder built;
    built.Add(10, u"", 1, u"", {1, 2, 3, 4});
    const std::vector<BYTE>& good = built.Bytes();
    ASSERT_TRUE(ParseResFile(good.data(), good.size(), entries));
    ASSERT_EQ(entries.size(), 1u);
    struct Patch {
        size_t offset;
        DWORD value;
        const char* what;
    } patches[] = {
        {32, 5, "data size past the end"},
        {32, 0xFFFFFFFF, "huge data size"},
        {36, 8, "header smaller than its fields"},
        {36, 0x1000, "header past the end"},
        {40, 0x00410041, "type text running into the fixed fields"},
    };
    for (const Patch& patch : patches) {
        std::vector<BYTE> bad = good;
        std::memcpy(bad.data() + patch.offset, &patch.value, 4);
        SetLastError(0);
        EXPECT_FALSE(ParseResFile(bad.data(), bad.size(), entries)) << patch.what;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << patch.what;
    }
    // A malformed image registers nothing.
    std::vector<BYTE> bad = good;
    bad.resize(bad.size() - 1);
    EXPECT_EQ(DolivaRegisterResources(bad.data(), bad.size(), u"broken", true), nullptr);
    EXPECT_EQ(DolivaResourceModule(u"broken"), nullptr);
}

} // namespace
