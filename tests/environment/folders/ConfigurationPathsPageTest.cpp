// The Configuration Paths page's OK and the "Personal Data Folder" question: what is recorded
// for the next start, what the user is told, and that a refusal records nothing.
#include "tests/environment/folders/ProductFoldersTestSupport.h"

#include <DavaraZE/YDialog.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YwsPaths.h>
#include <RivodeRavudaVU/ConfigFolders.h>
#include <RivodeRavudaVU/GlobalConfigurationPathsPage.h>
#include <RivodeRavudaVU/PersonalDataDialogs.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <tuple>

namespace rivode::test {
namespace {

using Ids = std::vector<std::uint32_t>;

class ConfigurationPathsPageTest : public ProductFoldersTest {
protected:
    // Everything the page records, for comparing before and after.
    static auto Recorded(const YUnicodeString& app) {
        return std::make_tuple(GetAppConfigPath(app), GetAppPersonalDataPathStored(app),
                               UsePersonalDataPath(app), DoPersonalDataMigration(app),
                               DoPersonalDataMerge(app));
    }

    YUnicodeString Folder(const char* name) const { return FromUtf8(folder_ / name); }
};

TEST_F(ConfigurationPathsPageTest, ChangedFoldersAreRecordedForBothProductsAndAnnounced) {
    SetQuilltermInstalled(true);
    SetQuillfileInstalled(true);
    YReportMessageParams report;
    ASSERT_TRUE(SaveAppConfigPath(u"/old", 3, true, report));

    GlobalConfigurationPathsPage page(3, u"/old");
    EXPECT_EQ(page.personalDataFolder, u"/old.personal");
    page.configFolder = Folder("New") + u"/";  // created later, at the next start
    page.personalDataFolder = Folder("Private");
    Ids notices;
    ASSERT_TRUE(page.Apply(notices, report)) << ToUtf8(report.GetText());
    EXPECT_EQ(notices,
              (Ids{msg::ConfigFolderChangeAtRestart, msg::PersonalDataFolderChangeAtRestart}));
    for (const char16_t* app : {u"Quillterm", u"Quillfile"}) {
        // Saved with force: the sibling's older value is replaced too.
        EXPECT_EQ(GetAppConfigPath(app), Folder("New")) << ToUtf8(app);
        EXPECT_EQ(GetAppPersonalDataPathStored(app), Folder("Private"));
    }

    // OK again without changes records and announces nothing.
    GlobalConfigurationPathsPage same(3, Folder("New"));
    notices.clear();
    ASSERT_TRUE(same.Apply(notices, report));
    EXPECT_TRUE(notices.empty());
}

TEST_F(ConfigurationPathsPageTest, RefusalsRecordNothing) {
    const auto before = Recorded(u"Quillterm");
    const struct {
        const char* why;
        YUnicodeString config;
        bool separately;
        YUnicodeString personal;
        std::uint32_t refusal;
    } cases[] = {
        {"relative configuration folder", u"relative/cfg", false, {}, 0},
        {"personal folder is the configuration folder", Folder("Cfg"), true, Folder("Cfg") + u"//",
         msg::PersonalDataFolderSameAsConfig},
        {"personal folder is the unchanged configuration folder", u"/cfg", true, u"/cfg",
         msg::PersonalDataFolderSameAsConfig},
        {"relative personal folder", u"/cfg", true, u"relative/personal", 0},
    };
    for (const auto& c : cases) {
        GlobalConfigurationPathsPage page(3, u"/cfg");
        page.configFolder = c.config;
        page.OnStorePersonalDataSeparately(c.separately);
        if (!c.personal.empty()) {
            page.personalDataFolder = c.personal;
        }
        Ids notices;
        YReportMessageParams report;
        EXPECT_FALSE(page.Apply(notices, report)) << c.why;
        if (c.refusal != 0) {
            EXPECT_EQ(report.GetMessageId(), c.refusal) << c.why;
        }
        EXPECT_NE(report.GetMessageId(), 0u) << c.why;
        EXPECT_EQ(Recorded(u"Quillterm"), before) << c.why;
    }
}

TEST_F(ConfigurationPathsPageTest, TheCheckBoxMovesThePendingFlagsAndTogglingBackRestoresThem) {
    YReportMessageParams report;
    ASSERT_TRUE(SaveDoPersonalDataMerge(true, 3, true, report));  // a merge is pending

    GlobalConfigurationPathsPage page(3, Folder("Cfg"));
    page.OnStorePersonalDataSeparately(true);
    EXPECT_TRUE(page.GetPendingMigration());
    EXPECT_FALSE(page.GetPendingMerge());
    page.OnStorePersonalDataSeparately(false);
    EXPECT_FALSE(page.GetPendingMigration());
    EXPECT_TRUE(page.GetPendingMerge());
    Ids notices;
    ASSERT_TRUE(page.Apply(notices, report));
    EXPECT_EQ(Recorded(u"Quillterm"),
              std::make_tuple(YUnicodeString(), YUnicodeString(), false, false, true));

    // Set by the form without the toggle hook, the flags still follow.
    GlobalConfigurationPathsPage on(3, Folder("Cfg"));
    on.storePersonalDataSeparately = true;
    ASSERT_TRUE(on.Apply(notices, report));
    EXPECT_EQ(Recorded(u"Quillterm"),
              std::make_tuple(YUnicodeString(), YUnicodeString(), true, true, false));
}

// Answers "Personal Data Folder" with OK or Cancel, after the user typed typed (when set).
class FolderAnswer final : public YUserInterface {
public:
    FolderAnswer(int answer, YUnicodeString typed) : answer_(answer), typed_(std::move(typed)) {}
    int ShowMessageBox(const YMessageBoxRequest&) override { return YID_OK; }
    int RunProgress(YProgressDialog&) override { return 0; }
    int RunDialog(YDialog& dialog) override {
        auto& folderDialog = dynamic_cast<PersonalDataFolderDialogBase&>(dialog);
        proposed = folderDialog.path;
        text = folderDialog.GetText();
        if (!typed_.empty()) {
            folderDialog.path = typed_;
        }
        return answer_;
    }
    YUnicodeString proposed;
    YUnicodeString text;

private:
    int answer_;
    YUnicodeString typed_;
};

TEST_F(ConfigurationPathsPageTest, PersonalDataFolderQuestionProposesTheStoredOrDefaultFolder) {
    SetYwsConfigPathSub(Folder("Cfg"));
    auto accept = std::make_shared<FolderAnswer>(YID_OK, YUnicodeString());
    YSetUserInterface(accept);
    YUnicodeString path;
    ASSERT_TRUE(GetPersonalDataFolderAsk(u"Quillterm", path));
    EXPECT_EQ(path, Folder("Cfg.personal"));
    EXPECT_NE(accept->text.find(u"Quillterm needs"), YUnicodeString::npos);

    YReportMessageParams report;
    ASSERT_TRUE(SaveAppPersonalDataPath(u"/kept", 3, true, report));
    auto typed = std::make_shared<FolderAnswer>(YID_OK, u"/typed");
    YSetUserInterface(typed);
    ASSERT_TRUE(GetPersonalDataFolderAsk(u"Quillterm", path));
    EXPECT_EQ(typed->proposed, u"/kept");
    EXPECT_EQ(path, u"/typed");

    YSetUserInterface(std::make_shared<FolderAnswer>(YID_CANCEL, u"/ignored"));
    path = u"unchanged";
    EXPECT_FALSE(GetPersonalDataFolderAsk(u"Quillterm", path));
    EXPECT_EQ(path, u"unchanged");
    SetYwsConfigPathSub({});
}

}  // namespace
}  // namespace rivode::test
