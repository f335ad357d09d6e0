// The reading side of rivode: describing the folder, listing keys and values, get, JSON, help.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <set>

namespace rivode::test {
namespace {

using nlohmann::json;

class RivodeReadTest : public RivodeCommandFixture {
protected:
    void SetUp() override {
        Succeed({"set", "Sessions\\Server", "Port", "--dword", "22"});
        Succeed({"set", "Sessions\\Server", "Protocol Name", "--string", "SSH2"});
        Succeed({"set", "Sessions\\Server", "Custom Colors", "--binary", "00 0F a0 ff"});
        Succeed({"set", "Sessions\\Server", "Keyword List", "--multi", "first entry", "second"});
        Succeed({"set", "Sessions\\alpha", "Port", "--dword", "23"});
        Succeed({"set", "Global", "Language", "--string", "en"});
    }
};

TEST_F(RivodeReadTest, GetAndValuesShowEachKindInItsOwnFormAndAsJson) {
    const std::tuple<const char*, const char*, const char*, const char*, json> cases[] = {
        {"Port", "dword", "22\n", "22", 22},
        {"Protocol Name", "string", "SSH2\n", "SSH2", "SSH2"},
        {"Custom Colors", "binary", "00 0f a0 ff\n", "00 0f a0 ff", "00 0f a0 ff"},
        {"Keyword List",
         "multi-string",
         "first entry\nsecond\n",
         "first entry | second",
         {"first entry", "second"}},
    };
    const std::string listing = Rivode({"values", "Sessions\\Server"}).out;
    json listingJson = json::array();
    for (const auto& [name, kind, text, listed, asJson] : cases) {
        EXPECT_EQ(Rivode({"get", "Sessions\\Server", name}).out, text);
        EXPECT_EQ(json::parse(Rivode({"get", "Sessions\\Server", name, "--json"}).out), asJson);
        const std::string line = std::string(name) + "\t" + kind + "\t" + listed + "\n";
        EXPECT_NE(listing.find(line), std::string::npos) << line << "in\n" << listing;
        listingJson.push_back({{"name", name}, {"kind", kind}, {"value", asJson}});
    }
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 4);
    const json listed = json::parse(Rivode({"values", "Sessions\\Server", "--json"}).out);
    EXPECT_EQ(std::set<json>(listed.begin(), listed.end()),
              std::set<json>(listingJson.begin(), listingJson.end()));
}

// Key names ignore case and value names do not: ProfileKeyBackEndTest guards both.
TEST_F(RivodeReadTest, TheFolderOptionMayFollowTheCommand) {
    const RivodeRun run = runner_.Run({"get", "/SESSIONS/server/", "Port", "--config", config_});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "22\n");
}

TEST_F(RivodeReadTest, KeysListsSubkeysInNameOrderAndJsonSaysFolderOrFile) {
    EXPECT_EQ(Rivode({"keys"}).out, "Global\nSessions\n");
    EXPECT_EQ(Rivode({"keys", "Sessions"}).out, "alpha\nServer\n");
    EXPECT_EQ(Rivode({"keys", "Sessions\\Server"}).out, "");

    std::filesystem::create_directory(ConfigFile("Folder Only"));
    WriteFileBytes(ConfigFile("File Only.ini"), "\xEF\xBB\xBF");
    Succeed({"set", "Sessions", "Is Folder", "--dword", "1"});
    const RivodeRun run = Rivode({"keys", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out), json::parse(R"([
        {"name": "File Only", "kind": "file"},
        {"name": "Folder Only", "kind": "folder"},
        {"name": "Global", "kind": "file"},
        {"name": "Sessions", "kind": "folder+file"}])"));
}

TEST_F(RivodeReadTest, WhatDoesNotExistFailsWithAMessageAndNoOutput) {
    const std::vector<std::vector<std::string>> commands{
        {"get", "Sessions\\Server", "Absent"},
        {"get", "Sessions\\Absent", "Port"},
        {"values", "Absent"},
        {"keys", "Sessions\\Absent"},
        {"get", "Sessions\\Server", "Absent", "--json"},
    };
    for (const auto& command : commands) {
        const RivodeRun run = Rivode(command);
        EXPECT_EQ(run.status, 1) << command[1];
        EXPECT_EQ(run.out, "") << command[1];
        EXPECT_NE(run.err, "") << command[1];
    }
    EXPECT_FALSE(std::filesystem::exists(ConfigFile("Sessions/Absent.ini")));
}

TEST_F(RivodeReadTest, AFailedWriteOfTheResultsIsAFailure) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full to fill";
    }
    const RivodeRun run = runner_.Run({"--config", config_, "keys"}, {}, "/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err, "");
}

using RivodeDescribeTest = RivodeCommandFixture;

TEST_F(RivodeDescribeTest, WithoutArgumentsTheDefaultFolderIsDescribedAndAFileThereFails) {
    const std::vector<std::string> environment{"XDG_CONFIG_HOME=" + folder_.Path()};
    const std::string folder = folder_.Path() + "/yarrowby/Config";
    EXPECT_NE(runner_.Run({}, environment).out.find(folder + " (does not exist)"),
              std::string::npos);
    ASSERT_EQ(runner_.Run({"set", "Sessions\\Server", "Port", "--dword", "22"}, environment).status,
              0);
    const std::string described = runner_.Run({}, environment).out;
    EXPECT_NE(described.find(folder + " (exists)\n"), std::string::npos) << described;
    EXPECT_NE(described.find("Keys at the top level: 1\n  Sessions (folder)\n"), std::string::npos)
        << described;

    WriteFileBytes(config_, "not a folder");
    const RivodeRun run = Rivode({});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("not a folder"), std::string::npos) << run.err;
}

TEST(RivodeHelpTest, HelpGoesToStandardOutputAndSucceeds) {
    RivodeRunner runner;
    const RivodeRun run = runner.Run({"set", "--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("--multi"), std::string::npos) << run.out;
    const std::string overview = runner.Run({"--help"}).out;
    for (const char* command : {"keys", "values", "get", "set", "delete", "delete-key"}) {
        EXPECT_NE(overview.find(command), std::string::npos) << command;
    }
}

}  // namespace
}  // namespace rivode::test
