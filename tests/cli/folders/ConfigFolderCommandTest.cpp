// rivode config-folder: showing, checking and recording the configuration folder, and later
// runs using the recorded one; rivode personal: moving personal data out and back.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

namespace rivode::test {
namespace {

class ConfigFolderCommandTest : public ::testing::Test {
protected:
    // rivode without --config, on the test's own registry and configuration home.
    RivodeRun Run(const std::vector<std::string>& arguments) {
        return runner_.Run(arguments, {"YARROWBY_REGISTRY=" + registry_.Path(),
                                       "XDG_CONFIG_HOME=" + home_.Path()});
    }
    nlohmann::json Show() {
        const RivodeRun run = Run({"config-folder", "--json"});
        EXPECT_EQ(run.status, 0) << run.err;
        return nlohmann::json::parse(run.out);
    }

    TempFolder registry_;
    TempFolder home_;
    TempFolder folder_;
    RivodeRunner runner_;
};

TEST_F(ConfigFolderCommandTest, ARecordedFolderIsUsedByLaterRuns) {
    nlohmann::json shown = Show();
    EXPECT_EQ(shown["source"], "default");
    EXPECT_EQ(shown["folder"], home_ / "yarrowby/Config");
    EXPECT_EQ(shown["recorded"], "");

    const std::string chosen = folder_ / "Chosen";
    RivodeRun run = Run({"config-folder", "set", chosen + "/"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "The change to the Configuration Folder will take effect the next time you start "
              "rivode.\n");

    shown = Show();
    EXPECT_EQ(shown["source"], "recorded");
    EXPECT_EQ(shown["folder"], chosen);
    EXPECT_EQ(shown["recorded"], chosen);
    // Commands work on it.
    run = Run({"set", "Global", "Probe", "--string", "here"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(chosen + "/Global.ini"));
    // --config still wins.
    run = runner_.Run({"--config", folder_ / "Other", "config-folder", "--json"},
                      {"YARROWBY_REGISTRY=" + registry_.Path()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["source"], "command line");
}

TEST_F(ConfigFolderCommandTest, CheckPrintsTheFolderAsUsedAndRefusalsRecordNothing) {
    std::filesystem::create_directory(folder_ / "Here");
    // Which folders are refused, and why, is the folder rules' test (davaraze ConfigFolderTest,
    // CommandLineFolderRule); here check and set pass one refusal each on.
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string errPart;
    } cases[] = {
        {{"config-folder", "check", folder_ / "Here//"}, 0, folder_ / "Here" + "\n", ""},
        {{"config-folder", "check", folder_ / "Missing/"},
         1,
         "",
         "The folder specified using /F on the command line is not valid:\n\n'" +
             folder_ / "Missing/" + "'"},
        {{"config-folder", "set", "relative/path"}, 1, "", "relative/path"},
    };
    for (const auto& c : cases) {
        RivodeRun run = Run(c.arguments);
        // Library messages end their lines with CR LF.
        std::erase(run.err, '\r');
        EXPECT_EQ(run.status, c.status) << c.arguments.back() << ": " << run.err;
        EXPECT_EQ(run.out, c.out);
        EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
    }
    EXPECT_EQ(Show()["recorded"], "");
}

TEST_F(ConfigFolderCommandTest, PersonalDataMovesOutAndBackWithoutLosingAValue) {
    const std::string config = folder_ / "Cfg";
    const std::string personal = folder_ / "Private";
    const auto inConfig = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--config", config});
        RivodeRun run = Run(arguments);
        std::erase(run.err, '\r');
        return run;
    };
    const auto fileHas = [](const std::string& file, const std::string& text) {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {}).find(text) != std::string::npos;
    };
    ASSERT_EQ(inConfig({"session", "new", "S"}).status, 0);
    ASSERT_EQ(inConfig({"session", "set", "S", "Username", "root"}).status, 0);

    // The configuration folder itself is refused, and nothing is recorded.
    RivodeRun run = inConfig({"personal", "enable", config + "/"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot be the same folder"), std::string::npos) << run.err;
    EXPECT_EQ(
        nlohmann::json::parse(inConfig({"personal", "status", "--json"}).out)["storeSeparately"],
        false);

    ASSERT_EQ(inConfig({"personal", "enable", personal}).status, 0);
    nlohmann::json status = nlohmann::json::parse(inConfig({"personal", "status", "--json"}).out);
    EXPECT_EQ(status["storeSeparately"], true);
    EXPECT_EQ(status["migrationPending"], true);
    EXPECT_EQ(status["folder"], personal);
    run = inConfig({"personal", "migrate"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fileHas(personal + "/Sessions/S.ini", "root"));
    EXPECT_FALSE(fileHas(config + "/Sessions/S.ini", "Username"));
    EXPECT_EQ(inConfig({"session", "get", "S", "Username"}).out, "root\n");

    ASSERT_EQ(inConfig({"personal", "disable"}).status, 0);
    status = nlohmann::json::parse(inConfig({"personal", "status", "--json"}).out);
    EXPECT_EQ(status["mergePending"], true);
    EXPECT_EQ(status["migrationPending"], false);
    run = inConfig({"personal", "merge"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fileHas(config + "/Sessions/S.ini", "root"));
    EXPECT_FALSE(fileHas(personal + "/Sessions/S.ini", "root"));
    EXPECT_EQ(inConfig({"session", "get", "S", "Username"}).out, "root\n");
}

}  // namespace
}  // namespace rivode::test
