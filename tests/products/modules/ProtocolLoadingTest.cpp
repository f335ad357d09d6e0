// Loading a product's rows of the module table with the library's own loader, from the
// reference modules and from folders made to fail.
#include <RivodeRavudaVU/ConnectProtocolModules.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include "products/ProtocolModuleLoading.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

namespace rivode::test {
namespace {

namespace fs = std::filesystem;

struct Failure {
    YUnicodeString protocol;
    std::uint32_t id;
    YStringArray strings;
    std::uint32_t portAfterwards;
};

YStringArray Names(const ConnectProtocolTable& protocols) {
    YStringArray names;
    for (std::size_t index = 0; index < protocols.GetCount(); ++index) {
        names.push_back(protocols.GetEntry(index).name);
    }
    return names;
}

class ProtocolLoading : public ::testing::Test {
protected:
    // Puts a reference module into the test's folder under its own name.
    void Install(const std::string& module, const std::string& asName = {}) {
        fs::copy_file(std::string(MODULE_FOLDER) + "/" + module + ".so",
                      folder_ / ((asName.empty() ? module : asName) + ".so"));
    }

    bool Load(int product, const YUnicodeString& folder, FipsSettings fips = {}) {
        return LoadProductModules(protocols_, table_, product, folder, fips, report_);
    }

    static void RecordFailure(const YAppFnTable& table, const ConnectProtocolEntry& entry,
                              const YReportMessageParams& report) {
        auto* self = static_cast<ProtocolLoading*>(table.hostData);
        // A declining module is closed by now: the entry must not point into it any more.
        self->failures_.push_back({entry.name, report.GetMessageId(), report.GetStrings(),
                                   entry.functions.defaultPort(entry)});
    }

    TempFolder folder_;
    ConnectProtocolTable protocols_;
    YReportMessageParams report_;
    std::vector<Failure> failures_;
    YAppFnTable table_{LoadConnectProtocolModule, RecordFailure, this};
};

TEST_F(ProtocolLoading, FipsModeLeavesOutSsh1AndTheTlsProtocolsUnlessTlsIsExempt) {
    const YStringArray transfer{u"SFTP", u"FTP",   u"FTP/SSL (implicit)", u"FTP/SSL (explicit)",
                                u"HTTP", u"HTTPS", u"HTTPS (S3)",         u"SCP"};
    const YStringArray terminalFips{u"SSH2", u"Telnet", u"Local Shell", u"RDP",  u"Serial",
                                    u"TAPI", u"RLogin", u"Raw",         u"Marks"};
    YStringArray terminalTlsExempt = terminalFips;
    terminalTlsExempt.insert(terminalTlsExempt.begin() + 2, u"Telnet/SSL");
    const struct {
        int product;
        FipsSettings fips;
        YStringArray expected;
    } cases[] = {
        {6, {false, false}, transfer},
        {6, {true, false}, {u"SFTP", u"FTP", u"HTTP", u"SCP"}},
        {6, {true, true}, transfer},
        {3, {true, false}, terminalFips},
        {3, {true, true}, terminalTlsExempt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.product << " fips " << c.fips.enabled << " exempt " << c.fips.tlsExempt);
        ConnectProtocolTable protocols;
        YReportMessageParams report;
        ASSERT_TRUE(LoadProductModules(protocols, table_, c.product, FromUtf8(MODULE_FOLDER),
                                       c.fips, report));
        EXPECT_EQ(Names(protocols), c.expected);
        EXPECT_TRUE(failures_.empty());
    }
}

TEST_F(ProtocolLoading, EntriesCarryTheRowAndTheSlotsTheModuleFilled) {
    ASSERT_TRUE(Load(6, FromUtf8(MODULE_FOLDER)));
    const ConnectProtocolEntry* implicit = nullptr;
    for (std::size_t index = 0; index < protocols_.GetCount(); ++index) {
        if (protocols_.GetEntry(index).name == u"FTP/SSL (implicit)") {
            implicit = &protocols_.GetEntry(index);
        }
    }
    ASSERT_NE(implicit, nullptr);
    EXPECT_EQ(implicit->displayName, u"FTP/TLS (implicit)");
    EXPECT_EQ(implicit->product, 6);
    EXPECT_EQ(implicit->modulePath, FromUtf8(std::string(MODULE_FOLDER) + "/FTPSSL.so"));
    EXPECT_NE(implicit->moduleHandle, nullptr);
    EXPECT_EQ(implicit->functions.defaultPort(*implicit), 990u);
    EXPECT_EQ(protocols_.Find(u"ftp/ssl (IMPLICIT)"), implicit);
}

TEST_F(ProtocolLoading, EachFailingRowIsReportedAndSkipped) {
    Install("SSH2");
    Install("Telnet");
    WriteFileBytes(folder_ / "RLogin.so", "not a module\n");
    fs::copy_file(REFUSING_MODULE, folder_ / "Raw.so");

    ASSERT_TRUE(Load(3, folder_.Path16())) << ToUtf8(report_.GetText());
    EXPECT_EQ(Names(protocols_), (YStringArray{u"SSH2", u"SSH1", u"Telnet"}));

    const auto missing = [&](const char* file) {
        return std::pair(msg::UnableToOpenFile, FromUtf8(folder_ / file));
    };
    const std::pair<const char16_t*, std::pair<std::uint32_t, YUnicodeString>> expected[] = {
        {u"Telnet/SSL", missing("TelnetSSL.so")},
        {u"Local Shell", missing("Local.so")},
        {u"RDP", missing("RDP.so")},
        {u"Serial", missing("Serial.so")},
        {u"TAPI", missing("TAPI.so")},
        {u"RLogin", missing("RLogin.so")},  // there, but not a shared library
        {u"Raw", {msg::ProtocolNotAvailable, u"Raw"}},
        {u"Marks", missing("Marks.so")},
    };
    ASSERT_EQ(failures_.size(), std::size(expected));
    for (std::size_t index = 0; index < failures_.size(); ++index) {
        const Failure& failure = failures_[index];
        SCOPED_TRACE(ToUtf8(failure.protocol));
        EXPECT_EQ(failure.protocol, expected[index].first);
        EXPECT_EQ(failure.id, expected[index].second.first);
        ASSERT_FALSE(failure.strings.empty());
        EXPECT_EQ(failure.strings[0], expected[index].second.second);
        EXPECT_EQ(failure.portAfterwards, 0u);
    }
}

TEST_F(ProtocolLoading, AModuleThatOthersCouldReplaceStopsTheLoadingAtOnce) {
    Install("SSH2");
    Install("Telnet");
    fs::permissions(folder_ / "Telnet.so", fs::perms::others_write, fs::perm_options::add);

    EXPECT_FALSE(Load(3, folder_.Path16()));
    EXPECT_EQ(report_.GetMessageId(), msg::ProtocolModuleRejected);
    EXPECT_EQ(Names(protocols_), (YStringArray{u"SSH2", u"SSH1"}));
    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_EQ(failures_[0].protocol, u"Telnet");
}

TEST_F(ProtocolLoading, AModuleFromAnotherBuildIsRefusedBeforeItRunsAndTheRestLoads) {
    Install("SSH2");
    fs::copy_file(STALE_MODULE, folder_ / "Telnet.so");
    fs::copy_file(UNSTAMPED_MODULE, folder_ / "RLogin.so");

    // Either module's entry function would end the test process.
    ASSERT_TRUE(Load(3, folder_.Path16())) << ToUtf8(report_.GetText());
    EXPECT_EQ(Names(protocols_), (YStringArray{u"SSH2", u"SSH1"}));
    for (const auto& [file, id, inserts] :
         {std::tuple("Telnet.so", msg::ProtocolModuleBuiltForOtherLibrary, 3u),
          std::tuple("RLogin.so", msg::ProtocolModuleWithoutStamp, 1u)}) {
        const auto failure =
            std::find_if(failures_.begin(), failures_.end(), [&](const Failure& f) {
                return !f.strings.empty() && f.strings[0] == FromUtf8(folder_ / file);
            });
        ASSERT_NE(failure, failures_.end()) << file;
        EXPECT_EQ(failure->id, id);
        EXPECT_EQ(failure->strings.size(), inserts);
    }
}

TEST_F(ProtocolLoading, NoModuleAtAllIsReportedWithTheFolder) {
    EXPECT_FALSE(Load(6, folder_.Path16()));
    EXPECT_EQ(report_.GetMessageId(), msg::NoProtocolModules);
    EXPECT_EQ(report_.GetStrings(), YStringArray{folder_.Path16()});
    EXPECT_FALSE(failures_.empty()) << "every row is reported";
    EXPECT_EQ(protocols_.GetCount(), 0u);
}

TEST_F(ProtocolLoading, LoadingAgainAddsOnlyWhatWasMissing) {
    Install("SFTP");
    ASSERT_TRUE(Load(6, folder_.Path16()));
    ASSERT_TRUE(Load(6, FromUtf8(MODULE_FOLDER)));
    ConnectProtocolTable whole;
    ASSERT_TRUE(LoadProductModules(whole, table_, 6, FromUtf8(MODULE_FOLDER), {}, report_));
    EXPECT_EQ(Names(protocols_), Names(whole));

    // The first load's entry stays, with its module.
    EXPECT_EQ(protocols_.GetEntry(0).modulePath, FromUtf8(folder_ / "SFTP.so"));
}

TEST_F(ProtocolLoading, TheModuleQueryShowsWhatTheProcessLoadedAndWhereTheRestWouldComeFrom) {
    Install("SFTP");
    bool fipsMode = true;
    ASSERT_TRUE(
        LoadSingleProductConnectionProtocolDlls(table_, 6, folder_.Path16(), fipsMode, report_));
    const std::vector<ConnectProtocolModuleState> modules =
        GetConnectProtocolModules(6, u"/elsewhere");
    ASSERT_EQ(modules.size(), 8u);
    EXPECT_EQ(modules[0].name, u"SFTP");
    EXPECT_TRUE(modules[0].loaded);
    EXPECT_EQ(modules[0].modulePath, FromUtf8(folder_ / "SFTP.so"));
    EXPECT_EQ(modules[2].displayName, u"FTP/TLS (implicit)");
    EXPECT_FALSE(modules[2].loaded);
    EXPECT_EQ(modules[2].modulePath, u"/elsewhere/FTPSSL.so");
    for (const ConnectProtocolModuleState& module : modules) {
        EXPECT_EQ(module.product, 6);
        EXPECT_TRUE(module.allowed) << "no FIPS policy";
    }
}

}  // namespace
}  // namespace rivode::test
