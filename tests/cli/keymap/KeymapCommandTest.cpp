// rivode keymap check|show|write|read|functions.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace rivode::test {
namespace {

using nlohmann::json;

class RivodeKeymapTest : public RivodeCommandFixture {
protected:
    RivodeRun Keymap(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "keymap");
        return Rivode(arguments);
    }
    std::string File(const std::string& name, const std::string& content) {
        const std::string path = folder_ / name;
        WriteFileBytes(path, content);
        return path;
    }
};

TEST_F(RivodeKeymapTest, CheckListsEachBadLineAndFailsAtTheThird) {
    const std::string two = File("two.key",
                                 "Version = 2\r\nN\tVK_F5\tMENU_CONNECT\r\n"
                                 "N\tVK_NOPE\tDISABLED\r\nQ\tVK_A\tDISABLED\r\n");
    const RivodeRun warned = Keymap({"check", two});
    EXPECT_EQ(warned.status, 0) << warned.err;
    EXPECT_EQ(warned.out,
              "3\tLine 3: unknown key name 'VK_NOPE'.\n4\tLine 4: unknown modifier 'Q'.\n");

    const std::string three = File("three.key", "N\tVK_A\tBOGUS\nN\tVK_B\tBOGUS\nN\tVK_C\tBOGUS\n");
    const RivodeRun failed = Keymap({"check", three, "--json"});
    EXPECT_EQ(failed.status, 1);
    const json result = json::parse(failed.out);
    EXPECT_EQ(result.at("loaded"), false);
    EXPECT_EQ(result.at("errors").size(), 3u);
    EXPECT_EQ(result.at("errors")[2].at("line"), 3);
    EXPECT_NE(failed.err.find("could not be loaded"), std::string::npos);

    EXPECT_EQ(Keymap({"check", folder_ / "absent.key"}).status, 1);
}

TEST_F(RivodeKeymapTest, FileGoesIntoASessionAndComesBackInStoredOrder) {
    Succeed({"session", "new", "Server"});
    const std::string in = File("in.key",
                                "N\tVK_F5\tLAUNCH(\"xterm -e top\")\r\n"
                                "AC\tVK_DELETE\t\"\\033[3~\"\r\nN\tVK_A\tVT_PF1\r\n");
    const RivodeRun shown = Keymap({"show", in});
    ASSERT_EQ(shown.status, 0) << shown.err;
    // No version line: the LAUNCH command line is split.
    EXPECT_EQ(
        shown.out,
        "VK_A\tVT_PF1\t\t\nVK_F5\tLAUNCH\txterm\t-e top\nAlt-Ctrl-VK_DELETE\tSEND\t\\033[3~\t\n");

    Succeed({"keymap", "read", in, "--session", "Server"});
    const RivodeRun stored = Keymap({"show", "--session", "Server"});
    EXPECT_EQ(stored.out, shown.out);
    const std::string out = folder_ / "out.key";
    Succeed({"keymap", "write", "--session", "Server", out});
    const std::string written = ReadFileBytes(out);
    EXPECT_EQ(written.substr(0, 16), "\xEF\xBB\xBFVersion = 2\r\n");
    EXPECT_NE(written.find("N\tVK_F5               \tLAUNCH(\"xterm\")(\"-e top\")\r\n"),
              std::string::npos);

    // A file with errors is refused and the session keeps its map.
    const std::string bad = File("bad.key", "N\tVK_B\tDISABLED\nN\tVK_NOPE\tDISABLED\n");
    const RivodeRun refused = Keymap({"read", bad, "--session", "Server"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(Keymap({"show", "--session", "Server"}).out, shown.out);
    EXPECT_EQ(Keymap({"show", in, "--session", "Server"}).status, 2);
}

}  // namespace
}  // namespace rivode::test
