// rivode printer.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

namespace rivode::test {
namespace {

using nlohmann::json;

class RivodePrinterTest : public RivodeCommandFixture {
protected:
    RivodeRun Printer(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "printer");
        return Rivode(arguments);
    }
    void WriteSession(const std::string& name, const std::string& lines) {
        std::filesystem::create_directories(ConfigFile("Sessions"));
        std::ofstream(ConfigFile("Sessions/" + name + ".ini"), std::ios::binary)
            << "\xEF\xBB\xBF"
            << "D:\"Is Session\"=00000001\r\n"
            << lines;
    }
};

TEST_F(RivodePrinterTest, MarginsTheLetterPrinterRefusesExitOneAndBadArgumentsTwo) {
    const struct {
        std::vector<std::string> margins;
        int status;
        const char* message;
    } cases[] = {
        // Each side's limit is PrinterMarginsTest's; here, what the command makes of a verdict.
        {{"0.25", "0.25", "0.25", "0.25"}, 0, ""},
        {{"0.5", "0.249", "0.5", "0.5"}, 1, "The minimum right margin is 0.25"},
        {{"5", "4", "0.5", "0.5"}, 1, "Margins are either off the page or overlap"},
        {{"0.5", "half", "0.5", "0.5"}, 2, "four margins"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"margins"};
        arguments.insert(arguments.end(), c.margins.begin(), c.margins.end());
        const RivodeRun run = Printer(arguments);
        EXPECT_EQ(run.status, c.status) << c.margins[0] << " " << c.margins[1] << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_EQ(Printer({"margins", "1", "1", "1", "1", "--printer", "Elsewhere"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(config_));
}

TEST_F(RivodePrinterTest, ShowGivesTheSettingsInForceAndSetChangesTheChosenSet) {
    Succeed({"printer", "set", "Printer Name", "Global One"});
    Succeed({"printer", "set", "Page Margins", "1", "0.75", "0.5", "0.25"});
    WriteSession("Own", "D:\"Use Global Print Settings\"=00000000\r\n");
    WriteSession("Shared", "");
    Succeed({"printer", "set", "--session", "Own", "Printer Name", "Session One"});

    const json global = json::parse(Printer({"show", "--json"}).out);
    EXPECT_EQ(global["settings"], "global");
    EXPECT_EQ(global["values"][0]["value"],
              (json{{"left", 1.0}, {"right", 0.75}, {"top", 0.5}, {"bottom", 0.25}}));
    const RivodeRun own = Printer({"show", "--session", "Own"});
    EXPECT_TRUE(own.out.starts_with("settings\tsession\n")) << own.out;
    EXPECT_NE(own.out.find("Printer Name\ttext\tstore\tSession One\n"), std::string::npos);
    const RivodeRun shared = Printer({"show", "--session", "Shared"});
    EXPECT_NE(shared.out.find("Printer Name\ttext\tstore\tGlobal One\n"), std::string::npos)
        << shared.out;

    EXPECT_EQ(Printer({"set", "Use Global Print Settings", "false"}).status, 2);
    EXPECT_EQ(Printer({"set", "No Such Value", "1"}).status, 2);
    EXPECT_EQ(Printer({"set", "Page Margins", "1", "1", "1"}).status, 2);
    Succeed({"printer", "set", "--session", "Own", "Use Global Print Settings", "true"});
    EXPECT_TRUE(Printer({"show", "--session", "Own"}).out.starts_with("settings\tglobal\n"));
}

}  // namespace
}  // namespace rivode::test
