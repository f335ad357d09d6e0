// Migration of personal values into the personal-data folder and the merge back: nothing is
// lost on the way, and each value ends in the file it belongs to.
#include "tests/davaraze/ScopedEnvironment.h"
#include "tests/support/TempFolder.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YDialog.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YUserInterface.h>
#include <DavaraZE/YwsPaths.h>
#include <RivodeRavudaVU/ConfigFolders.h>
#include <RivodeRavudaVU/PersonalData.h>
#include <RivodeRavudaVU/PersonalDataDialogs.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YIniFileStore.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace rivode::test {
namespace {

// Every value of a tree as "key path" -> "name" -> "kind:text".
using Snapshot = std::map<std::string, std::map<std::string, std::string>>;

void Collect(const YProfileKey& key, const std::string& path, Snapshot& snapshot) {
    {
        YProfileKeyIterator values(key, true);
        YUnicodeString name;
        int kind = 0;
        while (values.Next(name, kind)) {
            std::string text;
            if (kind == ValueKindDword) {
                std::uint32_t number = 0;
                EXPECT_TRUE(key.GetDword(name, number));
                text = std::to_string(number);
            } else if (kind == ValueKindMultiString) {
                YStringArray items;
                EXPECT_TRUE(key.GetStringArray(name, items));
                for (const auto& item : items) {
                    text += ToUtf8(item) + "|";
                }
            } else {
                YUnicodeString value;
                EXPECT_TRUE(key.GetString(name, value));
                text = ToUtf8(value);
            }
            snapshot[path][ToUtf8(name)] = std::to_string(kind) + ":" + text;
        }
    }
    YProfileKeyIterator subKeys(key, false);
    YUnicodeString name;
    while (subKeys.Next(name)) {
        Collect(YProfileKey(key, name), path + "\\" + ToUtf8(name), snapshot);
    }
}

Snapshot Read(const std::string& main, const std::string& personal = {}) {
    YIniFileStoreFactory factory(FromUtf8(main), FromUtf8(personal));
    YProfileStore store(true, &factory);
    Snapshot snapshot;
    Collect(store.GetRootKey(), "", snapshot);
    return snapshot;
}

class PersonalDataMoveTest : public ::testing::Test {
protected:
    PersonalDataMoveTest() {
        environment_.Set("YARROWBY_REGISTRY", registry_.Path().c_str());
        YSetAppName(u"Quillterm");
        YSetUserInterface(YCreateSilentUserInterface());
        SetYwsConfigPathSub(FromUtf8(main_));
        YIniFileStoreFactory factory(FromUtf8(main_));
        YProfileStore store(&factory);
        for (int i = 0; i < 12; ++i) {
            const std::string folder = i % 3 == 0 ? "" : "Team" + std::to_string(i % 3) + "\\";
            const YProfileKey session(store.GetRootKey(),
                                      FromUtf8("Sessions\\" + folder + "s" + std::to_string(i)),
                                      true);
            EXPECT_TRUE(session.SetDword(u"Is Session", 1));
            EXPECT_TRUE(session.SetString(u"Hostname", FromUtf8("host" + std::to_string(i))));
            EXPECT_TRUE(session.SetString(u"Username", FromUtf8("user" + std::to_string(i))));
            EXPECT_TRUE(session.SetString(u"Password V2", u"02:abcdef"));
            EXPECT_TRUE(session.SetDword(u"Use Login Script", i % 2));
            EXPECT_TRUE(session.SetStringArray(u"Login Script V3", {u"ogin:", u"name"}));
            EXPECT_TRUE(session.Flush());
        }
        const YProfileKey folderData(store.GetRootKey(), u"Sessions\\Team1\\__FolderData__", true);
        EXPECT_TRUE(folderData.SetString(u"Order", u"s1"));
        EXPECT_TRUE(folderData.Flush());
        const YProfileKey credential(store.GetRootKey(), u"Credentials\\Work", true);
        EXPECT_TRUE(credential.SetString(u"Username", u"alice"));
        EXPECT_TRUE(credential.Flush());
    }
    ~PersonalDataMoveTest() override {
        SetYwsConfigPathSub({});
        YSetUserInterface(nullptr);
    }

    TempFolder registry_;
    TempFolder folder_;
    std::string main_ = folder_ / "Config";
    std::string personal_ = folder_ / "Config.personal";
    ScopedEnvironment environment_;
};

TEST_F(PersonalDataMoveTest, MigrateThenMergeLosesNothing) {
    const Snapshot original = Read(main_);
    YReportMessageParams report;
    ASSERT_TRUE(SaveDoPersonalDataMigration(true, 3, true, report));

    PersonalDataMoveResult migrated;
    ASSERT_TRUE(RunPersonalDataMigration(3, FromUtf8(personal_), migrated, report))
        << ToUtf8(report.GetText());
    // The store answers "Is Session" for every key with a value file: the saved credential
    // moves as well.
    EXPECT_EQ(migrated.keys, 13u);
    EXPECT_FALSE(DoPersonalDataMigration(u"Quillterm"));
    // Read together, the two folders hold what the configuration held.
    EXPECT_EQ(Read(main_, personal_), original);
    // Each session's personal values left the configuration folder, the others stayed.
    const Snapshot mainOnly = Read(main_);
    const Snapshot personalOnly = Read(personal_);
    for (const auto& [path, values] : original) {
        if (!values.contains("Is Session")) {
            continue;
        }
        for (const char* name : {"Username", "Password V2", "Use Login Script", "Login Script V3"}) {
            EXPECT_FALSE(mainOnly.at(path).contains(name)) << path << " " << name;
            EXPECT_EQ(personalOnly.at(path).at(name), values.at(name)) << path;
        }
        EXPECT_EQ(mainOnly.at(path).at("Hostname"), values.at("Hostname"));
    }

    ASSERT_TRUE(SaveDoPersonalDataMerge(true, 3, true, report));
    PersonalDataMoveResult merged;
    ASSERT_TRUE(RunPersonalDataMerge(3, FromUtf8(personal_), merged, report))
        << ToUtf8(report.GetText());
    EXPECT_EQ(merged.keys, 13u);
    EXPECT_FALSE(DoPersonalDataMerge(u"Quillterm"));
    EXPECT_EQ(Read(main_), original);
    // Nothing is left behind in the personal-data folder, not even empty files.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(personal_)) {
        EXPECT_FALSE(entry.is_regular_file()) << entry.path();
    }
    // A later migration starts from what the configuration holds now, not from stale copies.
    {
        YIniFileStoreFactory factory(FromUtf8(main_));
        YProfileStore store(&factory);
        const YProfileKey session(store.GetRootKey(), u"Sessions\\s0");
        EXPECT_TRUE(session.SetString(u"Username", u"renamed"));
        EXPECT_TRUE(session.Flush());
    }
    ASSERT_TRUE(RunPersonalDataMigration(3, FromUtf8(personal_), migrated, report));
    EXPECT_EQ(Read(main_, personal_).at("\\Sessions\\s0").at("Username"), "1:renamed");
}

TEST_F(PersonalDataMoveTest, PersonalKeysWithoutAConfigurationKeyAreKeptAndReported) {
    {
        YIniFileStoreFactory factory(FromUtf8(personal_));
        YProfileStore store(&factory);
        const YProfileKey gone(store.GetRootKey(), u"Sessions\\Gone", true);
        EXPECT_TRUE(gone.SetString(u"Password V2", u"02:kept"));
        EXPECT_TRUE(gone.Flush());
        const YProfileKey known(store.GetRootKey(), u"Sessions\\s0", true);
        EXPECT_TRUE(known.SetString(u"Username", u"fromPersonal"));
        EXPECT_TRUE(known.Flush());
    }
    YReportMessageParams report;
    ASSERT_TRUE(SaveDoPersonalDataMerge(true, 3, true, report));
    PersonalDataMoveResult merged;
    EXPECT_FALSE(RunPersonalDataMerge(3, FromUtf8(personal_), merged, report));
    EXPECT_EQ(report.GetMessageId(), rivode::msg::PersonalDataMismatch);
    EXPECT_EQ(merged.mismatched, 1u);
    EXPECT_EQ(merged.keys, 1u);
    EXPECT_TRUE(DoPersonalDataMerge(u"Quillterm"));  // still pending
    EXPECT_EQ(Read(personal_).at("\\Sessions\\Gone").at("Password V2"), "1:02:kept");
    EXPECT_EQ(Read(main_).at("\\Sessions\\s0").at("Username"), "1:fromPersonal");
}

// Answers "Personal Data Location" with Continue or Postpone.
class LocationAnswer final : public YUserInterface {
public:
    explicit LocationAnswer(int answer) : answer_(answer) {}
    int ShowMessageBox(const YMessageBoxRequest&) override { return YID_OK; }
    int RunProgress(YProgressDialog&) override { return 0; }
    int RunDialog(YDialog& dialog) override {
        asked += dialog.GetTemplateId() == MergeMigratePersonalDataDialogBase::kTemplateId;
        return answer_;
    }
    int asked = 0;

private:
    int answer_;
};

TEST_F(PersonalDataMoveTest, PostponeLeavesTheMigrationPendingAndContinueRunsIt) {
    const Snapshot original = Read(main_);
    YReportMessageParams report;
    ASSERT_TRUE(SaveDoPersonalDataMigration(true, 3, true, report));
    ASSERT_TRUE(SaveAppPersonalDataPath(FromUtf8(personal_), 3, true, report));

    auto postpone = std::make_shared<LocationAnswer>(YID_CANCEL);
    YSetUserInterface(postpone);
    MigrateToPersonalDataLocation(3);
    EXPECT_EQ(postpone->asked, 1);
    EXPECT_TRUE(DoPersonalDataMigration(u"Quillterm"));
    EXPECT_EQ(Read(main_), original);

    auto proceed = std::make_shared<LocationAnswer>(YID_OK);
    YSetUserInterface(proceed);
    MigrateToPersonalDataLocation(3);
    EXPECT_EQ(proceed->asked, 1);
    EXPECT_FALSE(DoPersonalDataMigration(u"Quillterm"));
    EXPECT_FALSE(Read(main_).at("\\Sessions\\s0").contains("Username"));
    EXPECT_EQ(Read(main_, personal_), original);
}

}  // namespace
}  // namespace rivode::test
