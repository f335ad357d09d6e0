#include <RivodeRavudaVU/SiblingProducts.h>

#include "products/VersionRecord.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>

namespace rivode::test {
namespace {

constexpr const char* kCompany = "Yarrowby Software, Inc.";

std::string Record(const std::string& version, const std::string& company = kCompany,
                   const std::string& type = "Application") {
    return "FileType=" + type + "\nFileVersion=" + version + "\nCompanyName=" + company + "\n";
}

// An executable of the folder: its name and its record (none when nullopt).
struct SiblingFile {
    const char* name;
    std::optional<std::string> record;
};

struct DetectionCase {
    const char* title;
    std::vector<SiblingFile> files;
    bool qtm, quillterm, quillfile;
};

// Puts the executables with their records into folder and detects the siblings there.
void DetectIn(const TempFolder& folder, const std::vector<SiblingFile>& files) {
    for (const SiblingFile& file : files) {
        WriteFileBytes(folder / file.name,
                       "\x7F"
                       "ELF");
        if (file.record) {
            WriteFileBytes(folder / file.name + ".version", *file.record);
        }
    }
    DetectSiblingProducts(folder.Path());
}

class SiblingDetection : public ::testing::Test {
protected:
    // Later tests of the process find no siblings.
    void TearDown() override { DetectSiblingProducts(TempFolder().Path()); }
    TempFolder folder_;
};

TEST_F(SiblingDetection, AnExecutableCountsOnlyWithARecordOfOurCompanyAndARecentVersion) {
    const DetectionCase cases[] = {
        {"all three",
         {{"QTM", Record("5.0")}, {"Quillterm", Record("9.1")}, {"Quillfile", Record("3.0.1")}},
         true,
         true,
         true},
        {"older major versions",
         {{"QTM", Record("4.9")}, {"Quillterm", Record("4.2.0.7")}, {"Quillfile", Record("2.9")}},
         false,
         false,
         false},
        {"foreign company",
         {{"Quillterm", Record("9.1", "Yarrowby Software")}},
         false,
         false,
         false},
        {"not an application",
         {{"Quillterm", Record("9.1", kCompany, "Library")}},
         false,
         false,
         false},
        {"no record", {{"Quillterm", std::nullopt}}, false, false, false},
        {"garbled version",
         {{"Quillterm", Record("v9")}, {"Quillfile", Record("")}},
         false,
         false,
         false},
        {"record with mark, CR LF and blanks",
         {{"Quillfile",
           "\xEF\xBB\xBF"
           "CompanyName = Yarrowby Software, Inc.\r\n"
           "FileVersion=12\r\nFileType=Application\r\n"}},
         false,
         false,
         true},
    };
    for (const DetectionCase& c : cases) {
        SCOPED_TRACE(c.title);
        TempFolder folder;
        DetectIn(folder, c.files);
        EXPECT_EQ(IsQtmInstalled(), c.qtm);
        EXPECT_EQ(IsQuilltermInstalled(), c.quillterm);
        EXPECT_EQ(IsQuillfileInstalled(), c.quillfile);
        EXPECT_EQ(GetQuilltermPath(), c.quillterm ? FromUtf8(folder / "Quillterm") : u"");
    }
}

TEST_F(SiblingDetection, ARecordWithoutItsExecutableIsNoInstallation) {
    WriteFileBytes(folder_ / "Quillterm.version", Record("9.0"));
    DetectSiblingProducts(folder_.Path());
    EXPECT_FALSE(IsQuilltermInstalled());
}

// The fixtures were built with their records written by rivode_write_version_record.
TEST_F(SiblingDetection, BothProductsBuiltSideBySideRunIntegrated) {
    DetectSiblingProducts(SIBLING_INSTALLED_FOLDER);
    ASSERT_TRUE(IsQuilltermInstalled());
    ASSERT_TRUE(IsQuillfileInstalled());
    EXPECT_TRUE(HasIntegratedProtocols());
    YUnicodeString sibling;
    EXPECT_TRUE(IsIntegrated(3, sibling));
    EXPECT_EQ(sibling, u"Quillfile");
    EXPECT_TRUE(IsIntegrated(6, sibling));
    EXPECT_EQ(sibling, u"Quillterm");
    EXPECT_FALSE(IsIntegrated(9));
    EXPECT_FALSE(IsIntegrated(8));
    EXPECT_EQ(GetQuillfilePath(), FromUtf8(std::string(SIBLING_INSTALLED_FOLDER) + "/Quillfile"));
}

TEST_F(SiblingDetection, TheTransferProductAloneIsNotIntegratedAndOffersNoTerminalProtocols) {
    DetectIn(folder_, {{"Quillfile", Record("9.0")}});
    EXPECT_TRUE(HasTransferProtocols());
    EXPECT_FALSE(IsIntegrated(6));
    EXPECT_FALSE(HasTerminalProtocols());
    EXPECT_FALSE(CanLaunchTerminalApp());
    EXPECT_FALSE(HasIntegratedProtocols());
}

TEST_F(SiblingDetection, TheOlderTerminalProductOffersTerminalProtocolsButIsNotLaunched) {
    DetectIn(folder_, {{"QTM", Record("6.3")}});
    EXPECT_TRUE(HasTerminalProtocols());
    EXPECT_FALSE(CanLaunchTerminalApp());
}

TEST(VersionRecord, OnlyALeadingNumberIsAMajorVersion) {
    const std::pair<const char*, std::optional<unsigned>> cases[] = {
        {"9", 9u},
        {"9.5.0.1", 9u},
        {"12.0", 12u},
        {"", std::nullopt},
        {"9a", std::nullopt},
        {".9", std::nullopt},
        {"-1", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& [version, major] : cases) {
        EXPECT_EQ(ParseVersionRecord(std::string("FileVersion=") + version).majorVersion, major)
            << version;
    }
}

}  // namespace
}  // namespace rivode::test
