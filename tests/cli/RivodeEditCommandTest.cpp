// The changing side of rivode: set, delete, delete-key, what they write and what they refuse.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace rivode::test {
namespace {

const std::string kByteOrderMark = "\xEF\xBB\xBF";

using RivodeEditTest = RivodeCommandFixture;

TEST_F(RivodeEditTest, SetWritesEachKindInTheStoredFormatByteForByte) {
    Succeed({"set", "Sessions\\Server", "Port", "--dword", "0x16"});
    EXPECT_EQ(ReadFileBytes(ConfigFile("Sessions/Server.ini")),
              kByteOrderMark + "D:\"Port\"=00000016\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(ConfigFile("Sessions/Server")));

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
    EXPECT_EQ(ReadFileBytes(ConfigFile("Key.ini")), kByteOrderMark + "D:\"List\"=00000007\r\n");
}

TEST_F(RivodeEditTest, EmptyTextsAndListsAreValues) {
    Succeed({"set", "Key", "Empty", "--string", ""});
    Succeed({"set", "Key", "No Bytes", "--binary", ""});
    Succeed({"set", "Key", "No Items", "--multi"});
    const RivodeRun run = Rivode({"get", "Key", "No Items", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out), nlohmann::json::array());
    EXPECT_EQ(Rivode({"get", "Key", "Empty"}).out, "\n");
    EXPECT_EQ(Rivode({"get", "Key", "No Bytes"}).out, "\n");
    EXPECT_EQ(Rivode({"get", "Key", "No Items"}).out, "");
}

TEST_F(RivodeEditTest, UnicodeNamesAndTextsRoundTripAsUtf8) {
    Succeed({"set", "Sessions/Caf\xc3\xa9", "Nom \xe2\x82\xac", "--string", "Cr\xc3\xa8me"});
    EXPECT_EQ(ReadFileBytes(ConfigFile("Sessions/Caf\xc3\xa9.ini")),
              kByteOrderMark + "S:\"Nom \xe2\x82\xac\"=Cr\xc3\xa8me\r\n");
    EXPECT_EQ(Rivode({"get", "sessions\\CAF\xc3\x89", "Nom \xe2\x82\xac"}).out, "Cr\xc3\xa8me\n");
}

TEST_F(RivodeEditTest, RootValuesLiveInTheFileBesideTheFolder) {
    Succeed({"set", "", "Top", "--dword", "1"});
    EXPECT_EQ(ReadFileBytes(config_ + ".ini"), kByteOrderMark + "D:\"Top\"=00000001\r\n");
    EXPECT_EQ(Rivode({"get", "\\", "Top"}).out, "1\n");
}

TEST_F(RivodeEditTest, RefusalsExitTwoAndTouchNothing) {
    const std::vector<std::vector<std::string>> commands{
        {"set", "Key", "Value", "--dword", "4294967296"},
        {"set", "Key", "Value", "--dword", "-1"},
        {"set", "Key", "Value", "--dword", "12 monkeys"},
        {"set", "Key", "Value", "--binary", "0 f"},
        {"set", "Key", "Value", "--binary", "xyz"},
        {"set", "Key", "Value", "--multi", "fine", "not\r\nfine"},
        {"set", "Key", "say \"hi\"", "--dword", "1"},
        {"set", "Key", "two\nlines", "--dword", "1"},
        {"set", "Key", "", "--dword", "1"},
        {"set", "Key", "Value"},
        {"set", "Key", "Value", "--dword", "1", "--string", "1"},
        {"set", "Key", "--dword", "1"},
        {"set", "Sessions\\..\\..", "Value", "--dword", "1"},
        {"set", "Sessions\\AUX", "Value", "--dword", "1"},
        {"set", "Sessions\\a:b", "Value", "--dword", "1"},
        {"delete", "Key", "say \"hi\""},
        {"delete-key", ""},
        {"delete-key", "\\"},
        {"frobnicate"},
        {"keys", "a", "b"},
        {"get", "Key"},
        {"set", "Key", "Value", "--string", "two\nlines"},
    };
    RivodeRun run;
    for (const auto& command : commands) {
        run = Rivode(command);
        const std::string shown = command.size() > 3 ? command[3] : command.back();
        EXPECT_EQ(run.status, 2) << command[0] << " " << shown;
        EXPECT_EQ(run.out, "") << command[0] << " " << shown;
        EXPECT_NE(run.err, "") << command[0] << " " << shown;
    }
    EXPECT_NE(run.err.find("line break"), std::string::npos) << run.err;  // the message says why
    EXPECT_FALSE(std::filesystem::exists(config_));
    EXPECT_FALSE(std::filesystem::exists(config_ + ".ini"));
}

TEST_F(RivodeEditTest, DeleteRewritesTheFileAndWhatIsAbsentIsNoFailure) {
    Succeed({"set", "Key", "Keep", "--dword", "1"});
    Succeed({"set", "Key", "Drop", "--string", "x"});
    Succeed({"delete", "Key", "Drop"});
    const std::string kept = kByteOrderMark + "D:\"Keep\"=00000001\r\n";
    EXPECT_EQ(ReadFileBytes(ConfigFile("Key.ini")), kept);
    EXPECT_EQ(Rivode({"get", "Key", "Drop"}).status, 1);

    Succeed({"delete", "Key", "keep"});
    Succeed({"delete", "Absent\\Key", "Value"});
    Succeed({"delete-key", "Absent\\Key"});
    EXPECT_EQ(ReadFileBytes(ConfigFile("Key.ini")), kept);
    EXPECT_FALSE(std::filesystem::exists(ConfigFile("Absent")));
    EXPECT_FALSE(std::filesystem::exists(ConfigFile("Absent.ini")));
}

TEST_F(RivodeEditTest, DeleteKeyRemovesItsFolderFileAndSubkeys) {
    Succeed({"set", "Sessions\\Work\\Server", "Port", "--dword", "22"});
    Succeed({"set", "Sessions\\Work", "Is Folder", "--dword", "1"});
    Succeed({"set", "Sessions\\Home", "Port", "--dword", "23"});
    Succeed({"delete-key", "sessions/WORK"});
    EXPECT_FALSE(std::filesystem::exists(ConfigFile("Sessions/Work")));
    EXPECT_FALSE(std::filesystem::exists(ConfigFile("Sessions/Work.ini")));
    EXPECT_EQ(Rivode({"keys", "Sessions"}).out, "Home\n");
}

TEST_F(RivodeEditTest, AFailedSaveIsReportedAndExitsOne) {
    // A folder where the key's file belongs cannot be opened for writing, even by root.
    std::filesystem::create_directories(ConfigFile("Blocked.ini"));
    const RivodeRun run = Rivode({"set", "Blocked", "Value", "--dword", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Value"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_directory(ConfigFile("Blocked.ini")));
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
