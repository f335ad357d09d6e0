// rivode global list|get|set.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>

namespace rivode::test {
namespace {

using nlohmann::json;

class RivodeGlobalTest : public RivodeCommandFixture {
protected:
    RivodeRun Global(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "global");
        return Rivode(arguments);
    }
    // The listing as name -> {type, source, value}.
    std::map<std::string, json> Listing(std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {"list", "--json"});
        const RivodeRun run = Global(extra);
        EXPECT_EQ(run.status, 0) << run.err;
        std::map<std::string, json> byName;
        for (const json& entry : json::parse(run.out)) {
            byName[entry.at("name")] = {entry.at("type"), entry.at("source"), entry.at("value")};
        }
        return byName;
    }
};

TEST_F(RivodeGlobalTest, ListShowsEveryValueWithItsDefaultAndChangesNothing) {
    const std::map<std::string, json> listing = Listing();
    // One value of each type. (Which values a product's record holds is GlobalSchemaTest's.)
    const std::map<std::string, json> expected = {
        {"Version", {"text", "default", "7B2F2717-85C8-4729-8394-3B7697039CEB"}},
        {"Config Passphrase", {"encrypted", "default", ""}},
        {"Show Connect Dialog", {"boolean", "default", true}},
        {"Chat Window Height", {"number", "default", -1}},
        {"Status Bar Item List",
         {"list",
          "default",
          {"Protocol Information", "Cursor Position", "Rows and Columns", "Emulation",
           "Elapsed Time"}}},
        {"QuickSync\\Include Subfolders", {"boolean", "default", true}},
        {"Custom Colors", {"binary", "default", ""}},
    };
    for (const auto& [name, row] : expected) {
        ASSERT_EQ(listing.count(name), 1u) << name;
        EXPECT_EQ(listing.at(name), row) << name;
    }
    EXPECT_EQ(listing.count("Color Schemes"), 0u);  // a GUI value: rivode has no user interface
    EXPECT_FALSE(std::filesystem::exists(config_));

    const RivodeRun text = Global({"list"});
    EXPECT_NE(text.out.find("Show Connect Dialog\tboolean\tdefault\ttrue\n"), std::string::npos);
}

TEST_F(RivodeGlobalTest, SetStoresOneTypedValueThatGetAndListThenShow) {
    const struct {
        std::vector<std::string> set;
        std::string get;
        json asJson;
    } cases[] = {
        {{"set", "Tab Width", "0x100"}, "256\n", 256},
        {{"set", "Chat Window Height", "-5"}, "-5\n", -5},
        {{"set", "Copy On Select", "false"}, "false\n", false},
        {{"set", "Paste On Middle Button", "1"}, "true\n", true},
        {{"set", "Open With Program Title", "gedit"}, "gedit\n", "gedit"},
        {{"set", "Status Bar Item List", "Emulation", "Elapsed Time"},
         "Emulation\nElapsed Time\n",
         {"Emulation", "Elapsed Time"}},
        {{"set", "Quillfile Bookmarks", "/srv\n/home"}, "/srv\n/home\n", {"/srv", "/home"}},
        {{"set", "Quillfile Bookmarks"}, "", json::array()},
        {{"set", "Quillterm Tab State V2", "0,1,2;3,4"}, "0,1,2;3,4\n", "0,1,2;3,4"},
        {{"set", "QuickSync\\Remote Folder", "/var/www"}, "/var/www\n", "/var/www"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set[1]);
        const RivodeRun set = Global(c.set);
        ASSERT_EQ(set.status, 0) << set.err;
        EXPECT_EQ(Global({"get", c.set[1]}).out, c.get);
        const json entry = json::parse(Global({"get", c.set[1], "--json"}).out);
        EXPECT_EQ(entry.at("value"), c.asJson);
        EXPECT_EQ(entry.at("source"), "store");
    }
    // Only the values that were set are stored; the QuickSync record is stored whole, in its
    // own key.
    std::map<std::string, int> stored;
    for (const auto& [name, row] : Listing()) {
        stored[name.rfind("QuickSync\\", 0) == 0 ? "QuickSync" : "Global"] += row[1] == "store";
    }
    EXPECT_EQ(stored["Global"], 8);
    EXPECT_EQ(stored["QuickSync"], 6);
    EXPECT_TRUE(std::filesystem::exists(ConfigFile("Global/QuickSync.ini")));
}

TEST_F(RivodeGlobalTest, WrongNamesAndValuesAreRefusedWithoutWriting) {
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string says;
    } cases[] = {
        {{"set", "No Such Value", "1"}, 2, "No Such Value"},
        {{"set", "tab width", "1"}, 2, "tab width"},
        {{"set", "Tab Width", "ten"}, 2, "not a number"},
        {{"set", "Chat Window Height", "3000000000"}, 2, "out of the range"},
        {{"set", "Tab Width", "1", "2"}, 2, "exactly one"},
        {{"set", "Copy On Select", "yes"}, 2, "not a boolean"},
        {{"set", "Quillterm Tab State V2", "left"}, 2, "1,1,0;"},
        {{"set", "QTM Update Prompt Date", "yesterday"}, 2, "1601:01:01"},
        {{"set", "Config Passphrase", "secret"}, 2, "passphrase"},
        {{"set", "Quillterm Tab State", "1,1,0;"}, 2, "Quillterm Tab State V2"},
        {{"set", "Window Placement", "00 01"}, 2, "44 bytes"},
        {{"get", "No Such Value"}, 1, "No Such Value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[1]);
        const RivodeRun run = Global(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(config_));
}

}  // namespace
}  // namespace rivode::test
