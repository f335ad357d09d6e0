// Migration of personal values into the personal-data folder and the merge back: nothing is
// lost on the way, and each value ends in the file it belongs to.
#include "tests/environment/folders/ProductFoldersTestSupport.h"
#include "tests/support/ProfileValues.h"
#include "tests/support/RecordingUserInterface.h"

#include <DavaraZE/YwsPaths.h>
#include <RivodeRavudaVU/ConfigFolders.h>
#include <RivodeRavudaVU/PersonalData.h>
#include <RivodeRavudaVU/PersonalDataDialogs.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YIniFileStore.h>

#include <filesystem>

namespace rivode::test {
namespace {

// Every value of the configuration in main, read together with personal when given.
ValueMap Read(const std::string& main, const std::string& personal = {}) {
    YIniFileStoreFactory factory(FromUtf8(main), FromUtf8(personal));
    YProfileStore store(true, &factory);
    ValueMap values;
    CollectValues(store.GetRootKey(), "", values);
    return values;
}

class PersonalDataMoveTest : public ProductFoldersTest {
protected:
    PersonalDataMoveTest() {
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
    ~PersonalDataMoveTest() override { SetYwsConfigPathSub({}); }

    std::string main_ = folder_ / "Config";
    std::string personal_ = folder_ / "Config.personal";
};

TEST_F(PersonalDataMoveTest, MigrateThenMergeLosesNothing) {
    const ValueMap original = Read(main_);
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
    const ValueMap mainOnly = Read(main_);
    const ValueMap personalOnly = Read(personal_);
    for (const auto& [where, value] : original) {
        const std::string key = where.substr(0, where.find('|'));
        if (!original.contains(key + "|Is Session")) {
            continue;
        }
        const std::string name = where.substr(key.size() + 1);
        const bool personal = name == "Username" || name == "Password V2" ||
                              name == "Use Login Script" || name == "Login Script V3";
        EXPECT_EQ(mainOnly.contains(where), !personal) << where;
        EXPECT_EQ((personal ? personalOnly : mainOnly).at(where), value) << where;
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
    EXPECT_EQ(Read(main_, personal_).at("\\Sessions\\s0|Username"), "1:renamed");
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
    EXPECT_EQ(Read(personal_).at("\\Sessions\\Gone|Password V2"), "1:02:kept");
    EXPECT_EQ(Read(main_).at("\\Sessions\\s0|Username"), "1:fromPersonal");
}

TEST_F(PersonalDataMoveTest, PostponeLeavesTheMigrationPendingAndContinueRunsIt) {
    const ValueMap original = Read(main_);
    YReportMessageParams report;
    ASSERT_TRUE(SaveDoPersonalDataMigration(true, 3, true, report));
    ASSERT_TRUE(SaveAppPersonalDataPath(FromUtf8(personal_), 3, true, report));
    // "Personal Data Location" answered with Postpone, then with Continue.
    const std::vector<unsigned> asked{MergeMigratePersonalDataDialogBase::kTemplateId};
    auto postpone = std::make_shared<RecordingUserInterface>();
    YSetUserInterface(postpone);
    MigrateToPersonalDataLocation(3);
    EXPECT_EQ(postpone->dialogs, asked);
    EXPECT_TRUE(DoPersonalDataMigration(u"Quillterm"));
    EXPECT_EQ(Read(main_), original);

    auto proceed = std::make_shared<RecordingUserInterface>();
    proceed->dialogAnswer = YID_OK;
    YSetUserInterface(proceed);
    MigrateToPersonalDataLocation(3);
    EXPECT_EQ(proceed->dialogs, asked);
    EXPECT_FALSE(DoPersonalDataMigration(u"Quillterm"));
    EXPECT_FALSE(Read(main_).contains("\\Sessions\\s0|Username"));
    EXPECT_EQ(Read(main_, personal_), original);
}

}  // namespace
}  // namespace rivode::test
