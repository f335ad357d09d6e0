// The reference modules as the host loads them: every protocol of the module table is served by
// its own module file with its own defaults, and every other module refuses it.
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace rivode::test {
namespace {

struct ProtocolRow {
    const char16_t* protocol;
    std::string moduleFile;
    std::uint32_t port;
    bool savedCredentials;
};

// The module table's protocols with the file that must serve each.
const ProtocolRow kRows[] = {
    {u"SSH2", "SSH2", 22, true},
    {u"SSH1", "SSH2", 22, false},
    {u"Telnet", "Telnet", 23, false},
    {u"Telnet/SSL", "TelnetSSL", 992, false},
    {u"Local Shell", "Local", 0, false},
    {u"RDP", "RDP", 3389, false},
    {u"Serial", "Serial", 0, false},
    {u"TAPI", "TAPI", 0, false},
    {u"RLogin", "RLogin", 513, false},
    {u"Raw", "Raw", 23, false},
    {u"Marks", "Marks", 0, false},
    {u"SFTP", "SFTP", 22, true},
    {u"FTP", "FTP", 21, false},
    {u"FTP/SSL (implicit)", "FTPSSL", 990, false},
    {u"FTP/SSL (explicit)", "FTPSSL", 21, false},
    {u"HTTP", "HTTP", 80, false},
    {u"HTTPS", "HTTPS", 443, false},
    {u"HTTPS (S3)", "HTTPS", 443, false},
    {u"SCP", "SCP", 22, true},
};

// The modules are built where hosts look for them by default.
YUnicodeString ModulePath(const std::string& file) {
    return GetDefaultConnectModuleFolder() + u"/" + FromUtf8(file) + u".so";
}

TEST(ProtocolModuleLoad, EachProtocolIsServedByItsOwnModuleAndRefusedByTheOthers) {
    std::set<std::string> files;
    for (const ProtocolRow& row : kRows) {
        files.insert(row.moduleFile);
    }
    ASSERT_EQ(files.size(), 16u);
    const YAppFnTable table{LoadConnectProtocolModule};
    for (const std::string& file : files) {
        for (const ProtocolRow& row : kRows) {
            SCOPED_TRACE(file + " for " + ToUtf8(row.protocol));
            ConnectProtocolEntry entry;
            entry.name = row.protocol;
            entry.product = 3;
            entry.modulePath = ModulePath(file);
            YReportMessageParams report;
            const bool loaded = LoadConnectProtocolModule(table, entry, report);
            ASSERT_EQ(loaded, file == row.moduleFile);
            if (!loaded) {
                EXPECT_EQ(report.GetMessageId(), msg::ProtocolNotAvailable);
                EXPECT_EQ(report.GetStrings(), YStringArray{row.protocol});
                continue;
            }
            const ConnectProtocolFunctions& functions = entry.functions;
            EXPECT_EQ(functions.defaultPort(entry), row.port);
            EXPECT_EQ(functions.offersSavedCredentials(entry), row.savedCredentials);
            {
                ConnectConfigPtr config = ConnectConfigPtr::Adopt(functions.createConfig(entry));
                ASSERT_TRUE(config);
                EXPECT_EQ(config->GetProtocolName(), row.protocol);
                EXPECT_EQ(config->GetPort(), row.port);
                EXPECT_EQ(config->OffersSavedCredentials(), row.savedCredentials);
                EXPECT_FALSE(config->IsChanged());
            }
            functions.unload(entry);
            platform::CloseDynamicLibrary(entry.moduleHandle);
        }
    }
}

}  // namespace
}  // namespace rivode::test
