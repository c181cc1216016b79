// The include-layer check: rules read and closed transitively, upward includes found in a small tree with
// their file and line, and rules that cannot be layered refused.
#include "tests/support/TestSupport.h"
#include "tools/include-layers/IncludeChecker.h"
#include "tools/include-layers/LayerRules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using include_layers::CheckTree;
using include_layers::Describe;
using include_layers::Finding;
using include_layers::LayerRules;
using include_layers::RulesError;

namespace {

LayerRules Rules(const std::string& text) {
    std::istringstream in(text);
    return LayerRules::Parse(in, "layers.txt");
}

const char* const kRules = R"(# a small stack with a side branch
low/base:
low/top:    low/base   # comments end a line
mid:        low/top
side:       low/top
high:       mid side
tests:      *
)";

class IncludeTreeTest : public ::testing::Test {
protected:
    IncludeTreeTest()
        : m_root(testsupport::ScratchDir() / ("includes-" + std::string(::testing::UnitTest::GetInstance()
                                                                              ->current_test_info()
                                                                              ->name()))) {
        std::filesystem::remove_all(m_root);
        Write("low/base/Base.h", "#pragma once\n");
        Write("low/top/Top.h", "#pragma once\n#include \"low/base/Base.h\"\n#include <vector>\n");
        Write("mid/Mid.cpp", "#include \"mid/Mid.h\"\n#include \"Local.h\"\n#include \"low/base/Base.h\"\n");
        Write("side/Side.h", "#include \"low/top/Top.h\"\n");
        Write("high/High.cpp", "#include \"mid/Mid.h\"\n  #  include \"side/Side.h\"\n");
        Write("tests/AnyTest.cpp", "#include \"high/High.h\"\n#include \"support/Helper.h\"\n");
    }

    void Write(const std::string& relative, const std::string& text) {
        const std::filesystem::path file = m_root / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }

    std::vector<std::string> Check() {
        std::vector<std::string> lines;
        for (const Finding& finding : CheckTree(m_root, Rules(kRules))) {
            lines.push_back(Describe(finding));
        }
        return lines;
    }

    std::string At(const std::string& relative, int line) {
        return (m_root / relative).string() + ":" + std::to_string(line) + ": ";
    }

    std::filesystem::path m_root;
};

TEST_F(IncludeTreeTest, ATreeThatKeepsItsLayersPasses) {
    EXPECT_TRUE(Check().empty());
}

TEST_F(IncludeTreeTest, UpwardAndSidewaysIncludesAreReportedByFileAndLine) {
    Write("low/base/Base.h", "#pragma once\n\n#include \"low/top/Top.h\"\n");
    Write("side/Side.h", "#include \"low/top/Top.h\"\n// #include \"mid/Mid.h\" (a comment)\n #include \"mid/Mid.h\"\n");
    EXPECT_EQ(Check(), (std::vector<std::string>{
                           At("low/base/Base.h", 3) + "low/base may not include low/top",
                           At("side/Side.h", 3) + "side may not include mid",
                       }));
}

TEST_F(IncludeTreeTest, FilesOutsideEveryRuleFolderAreReported) {
    Write("stray/Stray.cpp", "#include \"low/base/Base.h\"\n");
    EXPECT_EQ(Check(), std::vector<std::string>{At("stray/Stray.cpp", 1) + "no rule names the folder stray"});
}

TEST_F(IncludeTreeTest, BuildTreesAndHiddenFoldersAreNotScanned) {
    Write("build/CMakeCache.txt", "");
    Write("build/include/low/base/Generated.h", "#include \"high/High.h\"\n");
    Write(".cache/low/base/Cached.h", "#include \"high/High.h\"\n");
    EXPECT_TRUE(Check().empty());
}

TEST(LayerRulesTest, WhatAFolderMayIncludeIsClosedTransitively) {
    const LayerRules rules = Rules(kRules);
    EXPECT_TRUE(rules.MayInclude("high", "low/base"));
    EXPECT_TRUE(rules.MayInclude("mid", "mid"));
    EXPECT_FALSE(rules.MayInclude("mid", "side"));
    EXPECT_FALSE(rules.MayInclude("low/top", "high"));
    EXPECT_TRUE(rules.MayInclude("tests", "high"));
    EXPECT_EQ(rules.FolderOf("low/top/deeper/X.h"), "low/top");
    EXPECT_EQ(rules.FolderOf("low/Loose.h"), "");
    EXPECT_EQ(rules.FolderOf("midway/X.h"), "");
}

TEST(LayerRulesTest, RulesThatCannotBeLayeredAreRefusedWithTheirLine) {
    const struct {
        const char* rules;
        const char* message;
    } cases[] = {
        {"a: b\nb: c\nc: a\n", "layers.txt: the rules make a cycle: a -> b -> c -> a"},
        {"a: a\n", "layers.txt: the rules make a cycle: a -> a"},
        {"a:\nb a\n", "layers.txt:2: expected \"folder: folders it may include\""},
        {"a:\na: \n", "layers.txt:2: a already has a rule (line 1)"},
        {"a: missing\n", "layers.txt:1: missing has no rule of its own"},
        {"tests: *\na: tests\n", "layers.txt:2: tests may include anything, so no other folder may include it"},
    };
    for (const auto& c : cases) {
        try {
            Rules(c.rules);
            ADD_FAILURE() << "accepted:\n" << c.rules;
        } catch (const RulesError& error) {
            EXPECT_EQ(std::string(error.what()), c.message) << c.rules;
        }
    }
}

// The project's own rules say what the layering is.
TEST(LayerRulesTest, TheProjectRulesKeepTheLayers) {
    const LayerRules rules = LayerRules::Load(std::filesystem::path(DOLIVA_SOURCE_DIR) / "tools" / "include-layers" /
                                              "layers.txt");
    const struct {
        const char* from;
        const char* to;
        bool allowed;
    } cases[] = {
        {"platform/display", "platform/resources", true},
        {"platform/display", "platform/controls", false},
        {"platform/gdi", "platform/display", false},
        {"platform/clipboard", "platform/sdl", false},
        {"platform/framework", "platform/sdl", false},
        {"platform/sdl", "platform/commdlg", true},
        {"platform/sdl", "platform/framework", false},
        {"toolkit", "platform/framework", true},
        {"grid_features", "grid", true},
        {"grid", "grid_controls", false},
        {"grid_features", "chart", false},
        {"chart", "grid", false},
        {"receiver", "platform/serial", true},
        {"receiver", "toolkit", false},
        {"appframe", "grid_features", true},
        {"dialogs", "resources", true},
        {"dialogs", "platform/sdl", false},
        {"dialogs", "app", false},
        {"app", "platform/sdl", true},
        {"app", "resources", true},
        {"receiver", "resources", false},
        {"tools", "receiver", true},
        {"tools", "dialogs", false},
        {"fuzz", "tests", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rules.MayInclude(c.from, c.to), c.allowed) << c.from << " -> " << c.to;
    }
}

} // namespace
