// The changing side of rivode: set, delete, delete-key, what they write and what they refuse.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace rivode::test {
namespace {

namespace fs = std::filesystem;

const std::string kByteOrderMark = "\xEF\xBB\xBF";

using RivodeEditTest = RivodeCommandFixture;

TEST_F(RivodeEditTest, SetAndDeleteWriteEachKindInTheStoredFormatByteForByte) {
    Succeed({"set", "Sessions\\Server", "Port", "--dword", "0x16"});
    EXPECT_EQ(ReadFileBytes(ConfigFile("Sessions/Server.ini")),
              kByteOrderMark + "D:\"Port\"=00000016\r\n");
    EXPECT_FALSE(fs::exists(ConfigFile("Sessions/Server")));  // a key is its value file

    Succeed({"set", "Key", "Text", "--string", "a \"quoted\" = text"});
    Succeed({"set", "Key", "Bytes", "--binary", "00ff 1A"});
    // Every argument after --multi is an item, even an empty one or one that looks like an option.
    Succeed({"set", "Key", "List", "--multi", "one", "", "--three"});
    EXPECT_EQ(ReadFileBytes(ConfigFile("Key.ini")),
              kByteOrderMark + "S:\"Text\"=a \"quoted\" = text\r\n" +
                  "B:\"Bytes\"=00000003\r\n 00 ff 1a\r\n" +
                  "Z:\"List\"=00000003\r\n one\r\n \r\n --three\r\n");

    // A value of another kind replaces the old one.
    Succeed({"set", "Key", "List", "--dword", "7"});
    Succeed({"delete", "Key", "Text"});
    Succeed({"delete", "Key", "Bytes"});
    // Value names keep their case; what is absent is no failure and creates nothing.
    Succeed({"delete", "Key", "list"});
    Succeed({"delete", "Absent\\Key", "Value"});
    Succeed({"delete-key", "Absent\\Key"});
    EXPECT_EQ(ReadFileBytes(ConfigFile("Key.ini")), kByteOrderMark + "D:\"List\"=00000007\r\n");
    EXPECT_FALSE(fs::exists(ConfigFile("Absent")));
    EXPECT_FALSE(fs::exists(ConfigFile("Absent.ini")));
}

TEST_F(RivodeEditTest, EmptyTextsAndListsAreValues) {
    Succeed({"set", "Key", "Empty", "--string", ""});
    Succeed({"set", "Key", "No Items", "--multi"});
    EXPECT_EQ(Rivode({"get", "Key", "Empty"}).out, "\n");
    EXPECT_EQ(Rivode({"get", "Key", "No Items"}).out, "");
    EXPECT_EQ(nlohmann::json::parse(Rivode({"get", "Key", "No Items", "--json"}).out),
              nlohmann::json::array());
}

// The value parsers' own cases are in the unit tests; these show each refusal reaches exit 2.
TEST_F(RivodeEditTest, RefusalsExitTwoAndTouchNothing) {
    const std::vector<std::vector<std::string>> commands{
        {"set", "Key", "Value", "--dword", "4294967296"},
        {"set", "Key", "Value", "--multi", "fine", "not\r\nfine"},
        {"set", "Key", "", "--dword", "1"},
        {"set", "Key", "Value"},
        {"set", "Key", "Value", "--dword", "1", "--string", "1"},
        {"set", "Key", "--dword", "1"},
        {"set", "Sessions\\AUX", "Value", "--dword", "1"},
        {"delete", "Key", "say \"hi\""},
        {"delete-key", "\\"},
        {"frobnicate"},
        {"keys", "a", "b"},
        {"set", "Key", "Value", "--string", "two\nlines"},
    };
    RivodeRun run;
    for (const auto& command : commands) {
        run = Rivode(command);
        SCOPED_TRACE(command[0] + " " + command.back());
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
    EXPECT_NE(run.err.find("line break"), std::string::npos) << run.err;  // the message says why
    EXPECT_FALSE(fs::exists(config_));
    EXPECT_FALSE(fs::exists(config_ + ".ini"));
}

TEST_F(RivodeEditTest, AFailedSaveIsReportedAndExitsOne) {
    // A folder where the key's file belongs cannot be opened for writing, even by root.
    fs::create_directories(ConfigFile("Blocked.ini"));
    const RivodeRun run = Rivode({"set", "Blocked", "Value", "--dword", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Value"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_directory(ConfigFile("Blocked.ini")));
}

TEST_F(RivodeEditTest, PersonalValuesGoToThePersonalFolder) {
    const std::string personal = folder_ / "Personal";
    const RivodeRun run = runner_.Run({"--config", config_, "--personal", personal, "set",
                                       "Sessions\\Server", "Password", "--string", "secret"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(ReadFileBytes(personal + "/Sessions/Server.ini").find("S:\"Password\"=secret"),
              std::string::npos);
    EXPECT_EQ(ReadFileBytes(ConfigFile("Sessions/Server.ini")).find("Password"), std::string::npos);
}

}  // namespace
}  // namespace rivode::test
