// rivode colors and palettes.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace rivode::test {
namespace {

using nlohmann::json;

class RivodeColorTest : public RivodeCommandFixture {
protected:
    RivodeRun Colors(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "colors");
        return Rivode(arguments);
    }
};

TEST_F(RivodeColorTest, BuiltInsAreListedWithoutWritingAnything) {
    const RivodeRun list = Colors({"list", "--json"});
    ASSERT_EQ(list.status, 0) << list.err;
    const json schemes = json::parse(list.out);
    ASSERT_EQ(schemes.size(), 22u);
    EXPECT_EQ(schemes[0], (json{{"name", "Sand Light"}, {"current", true}}));
    const RivodeRun shown = Colors({"show", "BLACK / CYAN"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("\nNormal\t#000000\t#00FFFF\nBold\t#0000FF\t#00FFFF\n"),
              std::string::npos);
    EXPECT_TRUE(shown.out.ends_with("palette\tStandard\n"));

    const RivodeRun palette = Rivode({"palettes", "show", "standard"});
    ASSERT_EQ(palette.status, 0) << palette.err;
    EXPECT_TRUE(palette.out.starts_with("ANSI Black\t#000000\nANSI Red\t#A00000\n"));
    EXPECT_NE(palette.out.find("\nANSI White\t#C0C0C0\nANSI Black Bold\t#808080\n"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(config_));
}

TEST_F(RivodeColorTest, EditsSurviveAndTheCurrentSchemeFollowsARename) {
    Succeed({"colors", "new", "Mine", "--from", "espresso"});
    Succeed({"colors", "set", "MINE", "Bold", "fg", "#12ab56"});
    Succeed({"colors", "set", "Mine", "7", "bg", "000001"});
    const json mine = json::parse(Colors({"show", "mine", "--json"}).out);
    EXPECT_EQ(mine.at("foreground")[1], "#12AB56");
    EXPECT_EQ(mine.at("foreground")[0], "#E0DBB7");
    EXPECT_EQ(mine.at("background")[7], "#000001");
    EXPECT_EQ(mine.at("palette"), "Espresso");

    Succeed({"colors", "current", "mine"});
    Succeed({"colors", "rename", "Mine", "Yours"});
    EXPECT_EQ(Colors({"current"}).out, "Yours\n");
    const RivodeRun list = Colors({"list"});
    EXPECT_NE(list.out.find("\n*Yours\n"), std::string::npos);
    Succeed({"colors", "delete", "yours"});
    EXPECT_EQ(json::parse(Colors({"list", "--json"}).out).size(), 22u);
    EXPECT_EQ(Colors({"current"}).out, "Sand Light\n");
}

TEST_F(RivodeColorTest, BadInputIsRefusedAndNothingIsWritten) {
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string message;
    } cases[] = {
        // The list's own refusals are ColorListsTest's
        // (ListOperationsKeepNamesUniqueAndOrderStable,
        // SchemesTheProgramReliesOnAreNeitherDeletedNorRenamed): one shows they reach stderr.
        {{"show", "Nothing"}, 1, "no color scheme or palette named 'Nothing'"},
        {{"new", "espresso"}, 1, "'espresso' already exists"},
        {{"set", "Espresso", "8", "fg", "#000000"}, 2, "SLOT"},
        {{"set", "Espresso", "0", "up", "#000000"}, 2, "fg or bg"},
        {{"set", "Espresso", "0", "fg", "#00000G"}, 2, "no color"},
        {{"delete", "Nothing"}, 1, "Nothing"},
        {{"delete", "monochrome"}, 1, "'Monochrome' is one the program relies on"},
        {{"current", "Nothing"}, 1, "Nothing"},
    };
    for (const auto& c : cases) {
        const RivodeRun run = Colors(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments[0];
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_EQ(Rivode({"palettes", "show", "Nothing"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(config_));
}

// 68 bytes: one unused, the three switches, then 8 foregrounds and 8 backgrounds as R G B 0.
std::string LegacySchemeBytes(const std::string& foreground, const std::string& background) {
    std::string hex = "00 01 00 01";
    for (int i = 0; i < 8; ++i) {
        hex += " " + foreground + " 00";
    }
    for (int i = 0; i < 8; ++i) {
        hex += " " + background + " 00";
    }
    return hex;
}

// How older schemes are read and when they become lines is ColorListsTest's
// SchemesOfTheOlderBinaryFormJoinTheBuiltInsUntilLinesAreStored; here, what the commands refuse.
TEST_F(RivodeColorTest, TheSchemeThatFollowsTheSystemIsNeitherEditedNorDeleted) {
    Succeed({"set", "Global\\Color Schemes", "System Colors", "--binary",
             LegacySchemeBytes("00 00 00", "ff ff ff")});
    const RivodeRun edit = Colors({"set", "system colors", "0", "fg", "#123456"});
    EXPECT_EQ(edit.status, 1);
    EXPECT_NE(edit.err.find("follow the system's window colors"), std::string::npos) << edit.err;
    EXPECT_EQ(Colors({"delete", "System Colors"}).status, 1);
}

}  // namespace
}  // namespace rivode::test
