// The reference modules as the host loads them: every protocol is served by the module file its
// traits name, with the traits' defaults, and every other module refuses it.
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include "modules/ConnectProtocols.h"
#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <set>

namespace rivode::test {
namespace {

TEST(ProtocolModuleLoad, EachProtocolIsServedByItsOwnModuleAndRefusedByTheOthers) {
    const auto protocols = modules::GetConnectProtocols();
    std::set<YUnicodeString> files;
    for (const modules::ConnectProtocolTraits& protocol : protocols) {
        files.emplace(protocol.moduleFile);
    }
    ASSERT_FALSE(files.empty());

    const YAppFnTable table{LoadConnectProtocolModule};
    for (const YUnicodeString& file : files) {
        for (const modules::ConnectProtocolTraits& row : protocols) {
            SCOPED_TRACE(ToUtf8(file + u" for " + YUnicodeString(row.name)));
            ConnectProtocolEntry entry;
            entry.name = row.name;
            // The modules are built where hosts look for them by default.
            entry.modulePath = GetDefaultConnectModuleFolder() + u"/" + file + u".so";
            YReportMessageParams report;
            const bool loaded = LoadConnectProtocolModule(table, entry, report);
            ASSERT_EQ(loaded, file == row.moduleFile);
            if (!loaded) {
                EXPECT_EQ(report.GetMessageId(), msg::ProtocolNotAvailable);
                EXPECT_EQ(report.GetStrings(), YStringArray{YUnicodeString(row.name)});
                continue;
            }
            const ConnectProtocolFunctions& functions = entry.functions;
            EXPECT_EQ(functions.defaultPort(entry), row.defaultPort);
            EXPECT_EQ(functions.offersSavedCredentials(entry),
                      row.Keeps(modules::kSavedCredential));
            {
                ConnectConfigPtr config = ConnectConfigPtr::Adopt(functions.createConfig(entry));
                ASSERT_TRUE(config);
                EXPECT_EQ(config->GetProtocolName(), row.name);
                EXPECT_EQ(config->GetPort(), row.defaultPort);
                EXPECT_EQ(config->OffersSavedCredentials(), row.Keeps(modules::kSavedCredential));
            }
            functions.unload(entry);
            platform::CloseDynamicLibrary(entry.moduleHandle);
        }
    }
}

}  // namespace
}  // namespace rivode::test
