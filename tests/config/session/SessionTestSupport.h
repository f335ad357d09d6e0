// Shared pieces of the session record tests: a configuration folder of its own registered as the
// default store, the reference protocol modules of both products in the process's table, a
// configuration passphrase, and session keys written and read through the INI folder store.
#pragma once

#include "tests/config/global/GlobalConfigTestSupport.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/SessionConfig.h>

#include <functional>
#include <variant>
#include <vector>

namespace rivode::test {

using StoredValue = std::variant<std::uint32_t, YUnicodeString>;
using StoredValues = std::vector<std::pair<YUnicodeString, StoredValue>>;

class SessionTest : public GlobalConfigTest {
protected:
    static void SetUpTestSuite() {
        // The table lives as long as the process, so the modules are loaded once.
        if (GetConnectProtocolTable().GetCount() != 0) {
            return;
        }
        const YAppFnTable table{LoadConnectProtocolModule};
        for (const int product : {3, 6}) {
            bool fips = false;
            YReportMessageParams report;
            ASSERT_TRUE(LoadSingleProductConnectionProtocolDlls(
                table, product, GetDefaultConnectModuleFolder(), fips, report))
                << ToUtf8(report.GetText());
        }
    }

    SessionTest() {
        SetConfigPassphraseDisabled(false);
        SetConfigPassphrase(u"session secret");
    }
    ~SessionTest() override { SetConfigPassphrase(nullptr); }

    // Runs use with the key "Sessions\<name>" of the folder (created when missing); what use
    // writes is stored when it returns.
    void WithKey(const YUnicodeString& name, const std::function<void(const YProfileKey&)>& use) {
        const auto store = OpenStore();
        const YProfileKey sessions(store->GetRootKey(), kSessionsKeyName, true);
        const YProfileKey key(sessions, name, true);
        use(key);
    }
    void Store(const YUnicodeString& name, const StoredValues& values) {
        WithKey(name, [&](const YProfileKey& key) {
            for (const auto& [valueName, value] : values) {
                if (const auto* number = std::get_if<std::uint32_t>(&value)) {
                    ASSERT_TRUE(key.SetDword(valueName, *number));
                } else {
                    ASSERT_TRUE(key.SetString(valueName, std::get<YUnicodeString>(value)));
                }
            }
        });
    }
    // A record named name loaded from its stored key.
    YRefPtr<SessionConfig> LoadSession(const YUnicodeString& name) {
        YRefPtr<SessionConfig> session = CreateSessionConfig();
        session->SetPath(name);
        WithKey(name, [&](const YProfileKey& key) { session->Load(&key); });
        return session;
    }
    void SaveSession(SessionConfig& session, const YUnicodeString& name) {
        WithKey(name, [&](const YProfileKey& key) { ASSERT_TRUE(session.Save(key)); });
    }
    std::optional<YUnicodeString> StoredString(const YUnicodeString& name,
                                               std::u16string_view value) {
        std::optional<YUnicodeString> text;
        WithKey(name, [&](const YProfileKey& key) { text = StringOf(key, value); });
        return text;
    }
};

}  // namespace rivode::test
