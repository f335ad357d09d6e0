// The reading side of rivode: describing the folder, listing keys and values, get, JSON, help.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>

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

TEST_F(RivodeReadTest, GetPrintsEachKindInItsOwnForm) {
    EXPECT_EQ(Rivode({"get", "Sessions\\Server", "Port"}).out, "22\n");
    EXPECT_EQ(Rivode({"get", "Sessions\\Server", "Protocol Name"}).out, "SSH2\n");
    EXPECT_EQ(Rivode({"get", "Sessions\\Server", "Custom Colors"}).out, "00 0f a0 ff\n");
    EXPECT_EQ(Rivode({"get", "Sessions\\Server", "Keyword List"}).out, "first entry\nsecond\n");
}

TEST_F(RivodeReadTest, KeyPathsTakeEitherSeparatorAndIgnoreCase) {
    const RivodeRun run = Rivode({"get", "/SESSIONS/server/", "Port"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "22\n");
}

TEST_F(RivodeReadTest, ValueNamesMatchExactly) {
    const RivodeRun run = Rivode({"get", "Sessions\\Server", "port"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("port"), std::string::npos) << run.err;
}

TEST_F(RivodeReadTest, KeysListsSubkeysOneALineInNameOrder) {
    EXPECT_EQ(Rivode({"keys"}).out, "Global\nSessions\n");
    EXPECT_EQ(Rivode({"keys", "Sessions"}).out, "alpha\nServer\n");
    EXPECT_EQ(Rivode({"keys", "Sessions\\Server"}).out, "");
}

TEST_F(RivodeReadTest, ValuesListsNameKindAndValueSeparatedByTabs) {
    const RivodeRun run = Rivode({"values", "Sessions\\Server"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* line : {"Port\tdword\t22\n", "Protocol Name\tstring\tSSH2\n",
                             "Custom Colors\tbinary\t00 0f a0 ff\n",
                             "Keyword List\tmulti-string\tfirst entry | second\n"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "in\n" << run.out;
    }
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 4);
}

TEST_F(RivodeReadTest, ValuesJsonCarriesEachKindInItsJsonForm) {
    const RivodeRun run = Rivode({"values", "Sessions\\Server", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::map<std::string, std::pair<std::string, json>> byName;
    for (const json& entry : json::parse(run.out)) {
        byName[entry.at("name")] = {entry.at("kind"), entry.at("value")};
    }
    ASSERT_EQ(byName.size(), 4u);
    EXPECT_EQ(byName["Port"], std::make_pair(std::string("dword"), json(22)));
    EXPECT_EQ(byName["Protocol Name"], std::make_pair(std::string("string"), json("SSH2")));
    EXPECT_EQ(byName["Custom Colors"], std::make_pair(std::string("binary"), json("00 0f a0 ff")));
    EXPECT_EQ(byName["Keyword List"],
              std::make_pair(std::string("multi-string"), json({"first entry", "second"})));
}

TEST_F(RivodeReadTest, GetJsonIsTheValueAlone) {
    EXPECT_EQ(json::parse(Rivode({"get", "Sessions\\Server", "Port", "--json"}).out), json(22));
    EXPECT_EQ(json::parse(Rivode({"get", "Sessions\\Server", "Keyword List", "--json"}).out),
              json({"first entry", "second"}));
}

TEST_F(RivodeReadTest, KeysJsonNamesWhetherAKeyIsAFolderAFileOrBoth) {
    std::filesystem::create_directory(ConfigFile("Folder Only"));
    WriteFileBytes(ConfigFile("File Only.ini"), "\xEF\xBB\xBF");
    Succeed({"set", "Sessions", "Is Folder", "--dword", "1"});

    const RivodeRun run = Rivode({"keys", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out), json::parse(R"([
        {"name": "File Only", "kind": "file"},
        {"name": "Folder Only", "kind": "folder"},
        {"name": "Global", "kind": "folder+file"},
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

TEST_F(RivodeReadTest, FolderOptionsMayFollowTheCommand) {
    const RivodeRun run = runner_.Run({"get", "Global", "Language", "--config", config_});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "en\n");
}

TEST_F(RivodeReadTest, AFailedWriteOfTheResultsIsAFailure) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full to fill";
    }
    const RivodeRun run = runner_.Run({"--config", config_, "keys"}, {}, "/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err, "");
}

class RivodeDescribeTest : public RivodeCommandFixture {
protected:
    RivodeRun DescribeDefault() { return runner_.Run({}, {"XDG_CONFIG_HOME=" + folder_.Path()}); }
    std::string defaultFolder_ = folder_.Path() + "/yarrowby/Config";
};

TEST_F(RivodeDescribeTest, WithoutArgumentsTheDefaultFolderIsDescribed) {
    RivodeRun run = DescribeDefault();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(defaultFolder_ + " (does not exist)"), std::string::npos) << run.out;

    ASSERT_EQ(runner_
                  .Run({"set", "Sessions\\Server", "Port", "--dword", "22"},
                       {"XDG_CONFIG_HOME=" + folder_.Path()})
                  .status,
              0);
    run = DescribeDefault();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(defaultFolder_ + " (exists)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Keys at the top level: 1\n  Sessions (folder)\n"), std::string::npos)
        << run.out;
}

TEST_F(RivodeDescribeTest, AFileInPlaceOfTheFolderIsAFailure) {
    WriteFileBytes(config_, "not a folder");
    const RivodeRun run = Rivode({});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("not a folder"), std::string::npos) << run.err;
}

TEST(RivodeHelpTest, HelpGoesToStandardOutputAndSucceeds) {
    RivodeRunner runner;
    RivodeRun run = runner.Run({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* command : {"keys", "values", "get", "set", "delete", "delete-key"}) {
        EXPECT_NE(run.out.find(command), std::string::npos) << command;
    }
    run = runner.Run({"set", "--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("--multi"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace rivode::test
