// The configuration folder's registry values with the sibling rule, the command-line folder
// check and the redirect of a moved folder.
#include "tests/environment/folders/ProductFoldersTestSupport.h"

#include <DavaraZE/YwsPaths.h>
#include <RivodeRavudaVU/ConfigFolders.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/HostSetup.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YIniFileStore.h>

#include <filesystem>
#include <fstream>

namespace rivode::test {
namespace {

class ConfigFolderTest : public ProductFoldersTest {
protected:
    static void Put(const std::string& folder, std::u16string_view key, std::u16string_view name,
                    std::u16string_view value) {
        YIniFileStoreFactory factory(FromUtf8(folder));
        YProfileStore store(&factory);
        const YProfileKey k(store.GetRootKey(), key);
        ASSERT_TRUE(k.SetString(name, value));
        ASSERT_TRUE(k.Flush());
    }
};

TEST_F(ConfigFolderTest, CommandLineFolderRule) {
    const std::string dir = folder_ / "Cfg";
    std::filesystem::create_directory(dir);
    std::ofstream(folder_ / "file.txt") << "x";
    SetYwsConfigPathSub(folder_.Path16());
    const struct {
        std::string argument;
        std::optional<std::string> used;  // nullopt: refused
    } cases[] = {
        {dir, dir},
        {dir + "/", dir},
        {dir + "/\\//", dir},
        {"/", "/"},
        {"${YWS_CONFIG_PATH}/Cfg/", dir},
        {folder_ / "Missing", std::nullopt},
        {folder_ / "Missing/", std::nullopt},
        {folder_ / "file.txt", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        YReportMessageParams report;
        YUnicodeString path;
        const bool ok = CheckAppConfigPathCommandLine(FromUtf8(c.argument), path, report);
        EXPECT_EQ(ok ? std::optional(ToUtf8(path)) : std::nullopt, c.used) << c.argument;
        if (!ok) {
            EXPECT_EQ(report.GetMessageId(), rivode::msg::InvalidCommandLineConfigFolder);
            // The argument as typed, not the trimmed or expanded form.
            EXPECT_NE(ToUtf8(report.GetText()).find("'" + c.argument + "'"), std::string::npos)
                << ToUtf8(report.GetText());
        }
    }
    SetYwsConfigPathSub({});
}

TEST_F(ConfigFolderTest, SavesReachTheSiblingOnlyWhenIntegratedAndItHasNoneOrForced) {
    YReportMessageParams report;
    ASSERT_TRUE(SaveAppConfigPath(u"/a", 3, false, report));
    EXPECT_EQ(GetAppConfigPath(u"Quillterm"), u"/a");
    EXPECT_EQ(GetAppConfigPath(u"Quillfile"), u"");  // not integrated

    SetQuilltermInstalled(true);
    SetQuillfileInstalled(true);
    ASSERT_TRUE(SaveAppConfigPath(u"/b", 3, false, report));
    EXPECT_EQ(GetAppConfigPath(u"Quillfile"), u"/b");
    ASSERT_TRUE(SaveAppConfigPath(u"/c", 3, false, report));
    EXPECT_EQ(GetAppConfigPath(u"Quillterm"), u"/c");
    EXPECT_EQ(GetAppConfigPath(u"Quillfile"), u"/b");  // the sibling keeps its own
    ASSERT_TRUE(SaveAppConfigPath(u"/d", 3, true, report));
    EXPECT_EQ(GetAppConfigPath(u"Quillfile"), u"/d");

    // The flags follow the same rule.
    ASSERT_TRUE(SaveUsePersonalDataPath(true, 3, false, report));
    EXPECT_TRUE(UsePersonalDataPath(u"Quillfile"));
    ASSERT_TRUE(SaveUsePersonalDataPath(false, 3, false, report));
    EXPECT_FALSE(UsePersonalDataPath(u"Quillterm"));
    EXPECT_TRUE(UsePersonalDataPath(u"Quillfile"));

    EXPECT_EQ(GetAppPersonalDataPath(u"Quillterm", u"/D/Cfg"), u"/D/Cfg.personal");
    ASSERT_TRUE(SaveAppPersonalDataPath(u"/p", 3, false, report));
    EXPECT_EQ(GetAppPersonalDataPath(u"Quillterm", u"/D/Cfg"), u"/p");
}

TEST_F(ConfigFolderTest, TheOlderPlaceIsRecordedForTheApplication) {
    {
        YReportMessageParams report;
        YSetAppName(u"Global");
        ASSERT_TRUE(SaveAppConfigPath(u"/old", 3, false, report));
        YSetAppName(u"Quillterm");
    }
    EXPECT_EQ(GetAppConfigPath(u"Quillterm"), u"");
    EXPECT_EQ(GetAppConfigPathAlpha(3), u"/old");
    EXPECT_EQ(GetAppConfigPath(u"Quillterm"), u"/old");
}

TEST_F(ConfigFolderTest, RedirectCases) {
    const std::string moved = folder_ / "Moved";
    const std::string newer = folder_ / "New";
    Put(moved, u"YWSRedirect", u"New Config Path", FromUtf8(newer));
    Put(moved, u"Global", u"Other", u"1");  // no Version: not a valid folder
    const std::string valid = folder_ / "Valid";
    Put(valid, u"Global", u"Version", kGlobalConfigOlderVersion);
    const std::string unknown = folder_ / "Unknown";
    Put(unknown, u"Global", u"Version", u"something else");
    const std::string fresh = folder_ / "Fresh";
    Put(fresh, u"Sessions", u"Is Session", u"1");

    std::vector<std::uint32_t> notices;
    const auto notify = [&](YReportMessageParams& notice) {
        notices.push_back(notice.GetMessageId());
    };
    for (const std::string& kept : {valid, fresh}) {
        YUnicodeString path = FromUtf8(kept);
        EXPECT_TRUE(CheckAppConfigPathRedirect(true, notify, 3, path));
        EXPECT_EQ(ToUtf8(path), kept);
    }
    YUnicodeString empty;
    EXPECT_TRUE(CheckAppConfigPathRedirect(true, notify, 3, empty));
    EXPECT_TRUE(notices.empty());

    YUnicodeString path = FromUtf8(moved);
    EXPECT_TRUE(CheckAppConfigPathRedirect(true, notify, 3, path));
    EXPECT_EQ(ToUtf8(path), newer);
    EXPECT_EQ(notices, std::vector<std::uint32_t>{rivode::msg::ConfigFolderMigrated});
    EXPECT_EQ(GetAppConfigPath(u"Quillterm"), FromUtf8(newer));
    EXPECT_TRUE(std::filesystem::exists(moved + "/Global.ini"));

    // Without a redirect, the unknown marker means an incomplete migration.
    path = FromUtf8(unknown);
    EXPECT_TRUE(CheckAppConfigPathRedirect(false, notify, 3, path));
    EXPECT_EQ(ToUtf8(path), unknown);
    EXPECT_FALSE(std::filesystem::exists(unknown + "/Global.ini"));
    int asides = 0;
    for (const auto& entry : std::filesystem::directory_iterator(unknown)) {
        asides += entry.path().filename().string().rfind("Global-incomplete-", 0) == 0;
    }
    EXPECT_EQ(asides, 1);
}

TEST_F(ConfigFolderTest, HostsReadFolderArgumentsAndFindTheRecordedElseTheDefaultFolder) {
    const struct {
        std::string argument;
        std::uint32_t refusal;  // 0: accepted as used
        std::u16string_view used;
    } cases[] = {
        {"", rivode::msg::FolderArgumentEmpty, u""},
        {"/srv/\xFF", rivode::msg::FolderArgumentNotText, u""},
        {"/srv/cfg//", 0, u"/srv/cfg"},
        {"/", 0, u"/"},
    };
    for (const auto& test : cases) {
        YUnicodeString path;
        YReportMessageParams report;
        EXPECT_EQ(NormaliseHostFolderArgument(test.argument, path, report), test.refusal == 0)
            << test.argument;
        EXPECT_EQ(test.refusal == 0 ? path : YUnicodeString(), test.used);
        EXPECT_EQ(report.GetMessageId(), test.refusal);
    }

    const auto find = [](HostFolders folders) {
        FindHostFolders(u"HostTest", 3, nullptr, folders);
        return folders;
    };
    HostFolders found = find({});
    EXPECT_EQ(found.source, HostFolderSource::Default);
    EXPECT_EQ(found.main, GetDefaultConfigFolder());

    YReportMessageParams report;
    ASSERT_TRUE(SaveAppConfigPath(FromUtf8(folder_.Path() + "/"), 3, true, report));
    ASSERT_TRUE(SaveUsePersonalDataPath(true, 3, true, report));
    found = find({});
    EXPECT_EQ(found.source, HostFolderSource::Recorded);
    EXPECT_EQ(found.main, folder_.Path16());
    EXPECT_EQ(found.personal, GetAppPersonalDataPathDefault(folder_.Path16()));

    // What the host was given stays; a settings file has no personal folder.
    HostFolders given;
    given.main = u"/given.xml";
    given.source = HostFolderSource::CommandLine;
    given.settingsFile = true;
    found = find(given);
    EXPECT_EQ(found.main, u"/given.xml");
    EXPECT_TRUE(found.personal.empty());
}

}  // namespace
}  // namespace rivode::test
