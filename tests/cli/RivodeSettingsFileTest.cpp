// rivode reading an XML settings file given as --config: the same read commands answer the
// same as on the configuration folder the file was copied from, nothing is ever written to
// the file, and a file that is not a settings document says why.
#include "tests/cli/RivodeRunner.h"

#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YXmlFileStore.h>

#include <filesystem>

namespace rivode::test {
namespace {

class RivodeSettingsFileTest : public RivodeCommandFixture {
protected:
    void SetUp() override {
        Succeed({"set", "Sessions\\Work\\Server", "Is Session", "--dword", "1"});
        Succeed({"set", "Sessions\\Work\\Server", "Port", "--dword", "22"});
        Succeed({"set", "Sessions\\Work\\Server", "Protocol Name", "--string", "SSH2"});
        Succeed({"set", "Sessions\\Work\\Server", "Custom Colors", "--binary", "00 0f ff"});
        Succeed({"set", "Sessions\\Work\\Server", "Keyword List", "--multi", "a b", ""});
        Succeed({"set", "Global", "Language", "--string", "en"});
        // The file holds a copy of the folder, as an export does.
        YIniFileStoreFactory folder(FromUtf8(config_));
        YXmlFileStoreFactory file(FromUtf8(settings_));
        YProfileStore source(true, &folder);
        YProfileStore destination(false, &file);
        ASSERT_TRUE(CopyProfileKey(destination.GetRootKey(), source.GetRootKey()));
    }
    RivodeRun OnFile(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--config", settings_});
        return runner_.Run(arguments);
    }
    std::string settings_ = folder_ / "export.XML";
};

TEST_F(RivodeSettingsFileTest, ReadCommandsAnswerAsOnTheFolderTheFileWasMadeFrom) {
    const std::vector<std::vector<std::string>> commands = {
        {"keys"},
        {"keys", "Sessions\\work"},
        {"values", "Sessions/Work/Server"},
        {"values", "Sessions\\Work\\Server", "--json"},
        {"get", "Sessions\\Work\\Server", "Keyword List", "--json"},
        {"get", "global", "Language"},
        {"sessions", "Work"},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.front());
        const RivodeRun onFolder = Rivode(command);
        const RivodeRun onFile = OnFile(command);
        ASSERT_EQ(onFile.status, 0) << onFile.err;
        EXPECT_EQ(onFile.out, onFolder.out);
    }
    const RivodeRun missingKey = OnFile({"values", "Sessions\\Home"});
    EXPECT_EQ(missingKey.status, 1);
    EXPECT_NE(missingKey.err.find("\"Sessions\\Home\" does not exist"), std::string::npos);
}

TEST_F(RivodeSettingsFileTest, TheFileIsOnlyReadAndWritingCommandsSayWhy) {
    const std::string before = ReadFileBytes(settings_);
    const RivodeRun set = OnFile({"set", "Sessions\\Work\\Server", "Port", "--dword", "23"});
    EXPECT_EQ(set.status, 1);
    EXPECT_NE(set.err.find("open for reading only"), std::string::npos) << set.err;
    EXPECT_EQ(OnFile({"delete-key", "Sessions"}).status, 1);
    EXPECT_EQ(ReadFileBytes(settings_), before);
    EXPECT_EQ(OnFile({"--personal", folder_ / "P", "keys"}).status, 2);
}

TEST_F(RivodeSettingsFileTest, AFileThatIsNotASettingsDocumentOrIsMissingFails) {
    const std::pair<std::string, std::string> cases[] = {
        {"<Other/>", "its root element is 'Other'"},
        {"<Yarrowby>\n<key name=\"a\">\n</Yarrowby", "line 3, column 11"},
    };
    for (const auto& [bytes, reason] : cases) {
        WriteFileBytes(settings_, bytes);
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"keys"}, std::vector<std::string>{}}) {
            const RivodeRun run = OnFile(command);
            EXPECT_EQ(run.status, 1);
            EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        }
    }
    const RivodeRun missing = runner_.Run({"--config", folder_ / "none.xml", "keys"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("XML settings file"), std::string::npos) << missing.err;
    // A folder is a configuration folder, whatever its name ends with.
    std::filesystem::create_directories(folder_ / "Folder.xml");
    EXPECT_EQ(
        runner_.Run({"--config", folder_ / "Folder.xml", "set", "K", "v", "--dword", "1"}).status,
        0);
    EXPECT_TRUE(std::filesystem::exists(folder_ / "Folder.xml/K.ini"));
}

}  // namespace
}  // namespace rivode::test
