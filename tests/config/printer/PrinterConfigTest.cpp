// Printing settings in the global key and a session's key, and which set a session prints with.
#include "tests/config/database/SessionDatabaseTestSupport.h"

#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/Printer.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class PrinterConfigTest : public SessionDatabaseTest {};

TEST_F(PrinterConfigTest, MarginsAreStoredAsFourDoublesAndReadBack) {
    {
        const std::unique_ptr<YProfileStore> store = OpenStore();
        const YProfileKey key(store->GetRootKey(), u"Global");
        PrinterConfig config;
        config.pageMargins = YMarginData{0.25, 1.5, 0.125, 2};
        ASSERT_TRUE(config.Save(key));
        ASSERT_TRUE(key.Flush());
    }
    const std::string text = ReadFileBytes(Main("Global.ini"));
    EXPECT_NE(text.find("B:\"Page Margins\"=00000020\r\n"), std::string::npos);
    // 0.25 as a little-endian double: 00 00 00 00 00 00 d0 3f
    EXPECT_NE(text.find("00 00 00 00 00 00 d0 3f"), std::string::npos) << text;
    const std::unique_ptr<YProfileStore> store = OpenStore();
    const YProfileKey key(store->GetRootKey(), u"Global");
    PrinterConfig config;
    config.Init(&key);
    EXPECT_EQ(config.pageMargins.Get(), (YMarginData{0.25, 1.5, 0.125, 2}));
    EXPECT_EQ(config.printerQuality.Get(), -3);
    EXPECT_EQ(config.printerFont.Get().GetFaceName(), u"Courier New");
}

TEST_F(PrinterConfigTest, ASessionPrintsWithItsOwnSettingsOnlyWhenItSaysSo) {
    WriteValueFile(Main("Global.ini"), "S:\"Printer Name\"=Global Printer\r\n");
    WriteSession("Own",
                 "D:\"Use Global Print Settings\"=00000000\r\n"
                 "S:\"Printer Name\"=Session Printer\r\n");
    WriteSession("Shared", "S:\"Printer Name\"=Ignored\r\n");
    const YRefPtr<GlobalConfig> global = GetGlobalConfig();
    YReportMessageParams report;
    const YRefPtr<ISessionConfig> own = Database().OpenSession(u"Own", report);
    const YRefPtr<ISessionConfig> shared = Database().OpenSession(u"Shared", report);
    EXPECT_EQ(GetEffectivePrinterConfig(AsRecord(*own), *global).printerName.Get(),
              u"Session Printer");
    EXPECT_EQ(GetEffectivePrinterConfig(AsRecord(*shared), *global).printerName.Get(),
              u"Global Printer");

    // The session's own values survive a save of the session.
    AsRecord(*own).printerConfig.paperSize = 9;
    ASSERT_TRUE(Database().SaveSession(*own, false, report));
    const YRefPtr<ISessionConfig> reread = Database().OpenSession(u"Own", report);
    EXPECT_EQ(AsRecord(*reread).printerConfig.paperSize.Get(), 9u);
    EXPECT_EQ(AsRecord(*reread).printerConfig.printerName.Get(), u"Session Printer");
    EXPECT_EQ(AsRecord(*reread).GetForeignValueCount(), 0u);
}

}  // namespace
}  // namespace rivode::test
