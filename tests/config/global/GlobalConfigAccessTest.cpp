// The process's shared global record and moving Global.ini aside.
#include "tests/config/global/GlobalConfigTestSupport.h"

#include "config/GlobalConfigRename.h"
#include "products/HostProduct.h"

#include <RivodeRavudaVU/SiblingProducts.h>

namespace rivode::test {
namespace {

class GlobalAccessTest : public GlobalConfigTest {
protected:
    ~GlobalAccessTest() override {
        SetHostProduct(3, 0);
        SetQuilltermInstalled(false);
        SetQuillfileInstalled(false);
    }
};

TEST_F(GlobalAccessTest, GetWithoutOutCreatesTheSharedRecord) {
    WriteValueFile(GlobalFile(), "D:\"Tab Width\"=0000007b\r\n");
    EXPECT_TRUE(GetGlobalConfig(nullptr));
    GlobalConfig* shared = nullptr;
    GetGlobalConfigObsolete(shared);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->tabWidth, 123u);
    EXPECT_EQ(GetGlobalConfig().get(), shared);

    GlobalConfig* counted = nullptr;
    EXPECT_TRUE(GetGlobalConfig(&counted));
    EXPECT_EQ(counted, shared);
    // The reference handed out keeps the record alive after the library lets go of it.
    FreeGlobalConfig();
    EXPECT_EQ(counted->tabWidth, 123u);
    EXPECT_EQ(counted->Release(), 0u);
    EXPECT_NE(GetGlobalConfig().get(), nullptr);
}

TEST_F(GlobalAccessTest, ReloadLeavesHoldersTheirOldRecord) {
    const YRefPtr<GlobalConfig> holder = GetGlobalConfig();
    holder->tabWidth = 77;  // not saved
    WriteValueFile(GlobalFile(), "D:\"Tab Width\"=00000058\r\n");

    const YRefPtr<GlobalConfig> reloaded = ReloadGlobalConfig();
    EXPECT_NE(reloaded.get(), holder.get());
    EXPECT_EQ(reloaded->tabWidth, 88u);
    EXPECT_EQ(GetGlobalConfig().get(), reloaded.get());
    EXPECT_EQ(holder->tabWidth, 77u);
}

// What merging keeps is shown on a record of its own; here only that the shared one is used.
TEST_F(GlobalAccessTest, SaveAndMergeWorkOnTheSharedRecord) {
    const auto settings = OpenStore();
    const YProfileKey imported(settings->GetRootKey(), u"Imported");
    ASSERT_TRUE(imported.SetString(u"Title Bar Text", u"%S"));
    MergeGlobalConfig(imported);
    YReportMessageParams report;
    ASSERT_TRUE(SaveGlobalConfig(report));
    EXPECT_EQ(StringOf(*Stored(), u"Title Bar Text"), u"%S");
}

// The host's product, flags and installed siblings decide the sub-records of the shared record.
TEST_F(GlobalAccessTest, SharedRecordIsMadeForTheHost) {
    const struct {
        int product;
        int flags;
        bool siblingsInstalled;
        int transferRecordFor;  // 0 for none
        bool gui;
    } cases[] = {
        {3, 0, false, 0, true},
        {3, 0, true, 6, true},
        {3, kHostInitNoUserInterface, true, 6, false},
        {6, 0, true, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.product << " " << c.flags << " " << c.siblingsInstalled);
        SetHostProduct(c.product, c.flags);
        SetQuilltermInstalled(c.siblingsInstalled);
        SetQuillfileInstalled(c.siblingsInstalled);
        const YRefPtr<GlobalConfig> record = ReloadGlobalConfig();
        EXPECT_EQ(record->productConfig.GetProduct(), c.product);
        EXPECT_EQ(
            record->integratedProductConfig ? record->integratedProductConfig->GetProduct() : 0,
            c.transferRecordFor);
        EXPECT_EQ(record->HasUserInterface(), c.gui);
    }
}

TEST_F(GlobalAccessTest, RenameMovesGlobalIniAsideStampedDayBeforeMonth) {
    EXPECT_EQ(config::GlobalIncompleteFileName({1999, 12, 31, 0, 0, 0}),
              "Global-incomplete-19993112_000000.ini");
    const platform::LocalDateTime time{2024, 5, 3, 14, 5, 9};
    const std::string target = Main("Global-incomplete-20240305_140509.ini");

    // Nothing to move: nothing changes.
    std::filesystem::create_directories(MainRoot());
    EXPECT_TRUE(config::RenameGlobalConfigAt(time));
    EXPECT_TRUE(RenameGlobalConfig());
    EXPECT_TRUE(std::filesystem::is_empty(MainRoot()));

    // A file of the target's name from an earlier move is replaced.
    WriteValueFile(GlobalFile(), "D:\"Timeout\"=00000001\r\n");
    WriteFileBytes(target, "older");
    EXPECT_TRUE(config::RenameGlobalConfigAt(time));
    EXPECT_FALSE(std::filesystem::exists(GlobalFile()));
    EXPECT_EQ(ReadFileBytes(target), kBom + "D:\"Timeout\"=00000001\r\n");

    // The store finds the file whatever its case, and so does the move.
    WriteFileBytes(Main("GLOBAL.ini"), "moved");
    EXPECT_TRUE(config::RenameGlobalConfigAt(time));
    EXPECT_EQ(ReadFileBytes(target), "moved");

    // A move that fails says so.
    WriteFileBytes(GlobalFile(), "stays");
    std::filesystem::remove(target);
    std::filesystem::create_directories(target + "/occupied");
    EXPECT_FALSE(config::RenameGlobalConfigAt(time));
    EXPECT_EQ(ReadFileBytes(GlobalFile()), "stays");
}

}  // namespace
}  // namespace rivode::test
