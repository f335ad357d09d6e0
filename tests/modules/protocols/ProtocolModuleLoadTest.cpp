// The reference modules as the host loads them: every protocol of the module table is served by
// its own module file with its own defaults, and every other module refuses it.
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <set>

namespace rivode::test {
namespace {

TEST(ProtocolModuleLoad, EachProtocolIsServedByItsOwnModuleAndRefusedByTheOthers) {
    struct Row {
        const char16_t* protocol;
        const char16_t* file;
        std::uint32_t port;
        bool savedCredentials;
    };
    const Row rows[] = {
        {u"SSH2", u"SSH2", 22, true},
        {u"SSH1", u"SSH2", 22, false},
        {u"Telnet", u"Telnet", 23, false},
        {u"Telnet/SSL", u"TelnetSSL", 992, false},
        {u"Local Shell", u"Local", 0, false},
        {u"RDP", u"RDP", 3389, false},
        {u"Serial", u"Serial", 0, false},
        {u"TAPI", u"TAPI", 0, false},
        {u"RLogin", u"RLogin", 513, false},
        {u"Raw", u"Raw", 23, false},
        {u"Marks", u"Marks", 0, false},
        {u"SFTP", u"SFTP", 22, true},
        {u"FTP", u"FTP", 21, false},
        {u"FTP/SSL (implicit)", u"FTPSSL", 990, false},
        {u"FTP/SSL (explicit)", u"FTPSSL", 21, false},
        {u"HTTP", u"HTTP", 80, false},
        {u"HTTPS", u"HTTPS", 443, false},
        {u"HTTPS (S3)", u"HTTPS", 443, false},
        {u"SCP", u"SCP", 22, true},
    };
    std::set<YUnicodeString> files;
    for (const Row& row : rows) {
        files.insert(row.file);
    }
    ASSERT_EQ(files.size(), 16u);
    const YAppFnTable table{LoadConnectProtocolModule};
    for (const YUnicodeString& file : files) {
        for (const Row& row : rows) {
            SCOPED_TRACE(ToUtf8(file + u" for " + row.protocol));
            ConnectProtocolEntry entry;
            entry.name = row.protocol;
            // The modules are built where hosts look for them by default.
            entry.modulePath = GetDefaultConnectModuleFolder() + u"/" + file + u".so";
            YReportMessageParams report;
            const bool loaded = LoadConnectProtocolModule(table, entry, report);
            ASSERT_EQ(loaded, file == row.file);
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
            }
            functions.unload(entry);
            platform::CloseDynamicLibrary(entry.moduleHandle);
        }
    }
}

}  // namespace
}  // namespace rivode::test
