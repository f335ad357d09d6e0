// The passphrase start-up flow and re-encryption over a configuration of sessions and saved
// credentials.
#include "environment/PassphraseStartupTesting.h"
#include "storage/passphrase/ConfigPassphraseBlock.h"
#include "tests/config/session/SessionTestSupport.h"

#include <DavaraZE/YUserInterface.h>
#include <RivodeRavudaVU/ConfigPassphraseDialogs.h>
#include <RivodeRavudaVU/ConfigPassphraseStartup.h>
#include <RivodeRavudaVU/CredentialDatabase.h>
#include <RivodeRavudaVU/FirewallConfig.h>
#include <RivodeRavudaVU/FirewallDatabase.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YRegistryStore.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace rivode::test {
namespace {

// Answers the require and create dialogs with a passphrase.
class DialogAnswers final : public YUserInterface {
public:
    int ShowMessageBox(const YMessageBoxRequest&) override { return YID_CANCEL; }
    int RunProgress(YProgressDialog&) override { return 0; }
    int RunDialog(YDialog& dialog) override {
        shown.push_back(dialog.GetTemplateId());
        auto* entry = dynamic_cast<PassphraseDialogBase*>(&dialog);
        if (entry == nullptr || answer.empty()) {
            return YID_CANCEL;
        }
        entry->passphrase = answer;
        entry->confirmation = answer;
        YReportMessageParams report;
        return entry->Validate(report) ? YID_OK : YID_CANCEL;
    }
    YUnicodeString answer;
    std::vector<unsigned> shown;
};

class PassphraseStartupTest : public SessionTest {
protected:
    PassphraseStartupTest() {
        UsePrivatePassphraseBlock();
        YSetUserInterface(ui_);
        SetPassphraseClaimWaitUnit(std::chrono::milliseconds(1));
    }
    ~PassphraseStartupTest() override {
        SetPassphraseClaimWaitUnit(std::chrono::milliseconds(250));
        YSetUserInterface(nullptr);
        SetPolicy(false);
        FreeCredentialDatabase();
        UsePrivatePassphraseBlock();
    }

    void SetPolicy(bool on) {
        YRegistryStoreFactory factory(YRegistryHive::CurrentUser);
        YProfileStore store(&factory);
        const YProfileKey key(store.GetRootKey(), u"Software\\Policies\\Yarrowby", true);
        if (on) {
            ASSERT_TRUE(key.SetDword(u"Require Configuration Passphrase", 1));
        } else {
            key.DeleteValue(u"Require Configuration Passphrase");
        }
    }

    // Establishes passphrase as the configuration's, with nothing to convert.
    void Establish(const YUnicodeString& passphrase) {
        SensitiveDataResult result;
        YReportMessageParams report;
        ASSERT_TRUE(ChangeConfigPassphrase(3, u"", passphrase, result, report));
        UsePrivatePassphraseBlock();  // as a process starting afresh
        FreeGlobalConfig();
    }

    // count SSH2 sessions "S<i>" with password "pw<i>" and credentials "C<i>" with secret
    // "cs<i>", all under the published passphrase.
    void MakeSecrets(int count) {
        for (int i = 0; i < count; ++i) {
            const YUnicodeString name = FromUtf8("S" + std::to_string(i));
            YRefPtr<SessionConfig> session = CreateSessionConfig();
            session->SetPath(name);
            session->SetProtocolName(u"SSH2");
            ASSERT_TRUE(session->GetTerminalConnectConfig()->SetPassword(
                FromUtf8("pw" + std::to_string(i))));
            SaveSession(*session, name);
            SavedCredential credential;
            credential.SetTitle(FromUtf8("C" + std::to_string(i)));
            credential.username = u"user";
            ASSERT_TRUE(UpdateProfileEncryptedString(credential.password,
                                                     FromUtf8("cs" + std::to_string(i))));
            YReportMessageParams report;
            ASSERT_TRUE(SaveSavedCredential({}, credential, report));
        }
        // One firewall keeps a password too.
        const YRefPtr<FirewallConfig> firewall = CreateFirewallConfig(u"Gate");
        firewall->type = u"SOCKSv5_USERPASS";
        ASSERT_TRUE(firewall->SetPassword(u"fw"));
        YReportMessageParams report;
        ASSERT_TRUE(SaveFirewall(*firewall, report)) << ToUtf8(report.GetText());
    }

    // Every secret of MakeSecrets deciphers under passphrase to what was stored.
    void ExpectSecretsUnder(const YUnicodeString& passphrase, int count) {
        for (int i = 0; i < count; ++i) {
            SCOPED_TRACE(i);
            YEncryptedString text;
            text.SetEncryptedText(*StoredString(FromUtf8("S" + std::to_string(i)), u"Password V2"));
            YUnicodeString plain;
            EXPECT_TRUE(text.GetPlaintext(plain, passphrase));
            EXPECT_EQ(ToUtf8(plain), "pw" + std::to_string(i));
            SavedCredential credential;
            YReportMessageParams report;
            ASSERT_TRUE(LoadSavedCredential(FromUtf8("C" + std::to_string(i)), credential, report));
            EXPECT_TRUE(credential.password.GetPlaintext(plain, passphrase));
            EXPECT_EQ(ToUtf8(plain), "cs" + std::to_string(i));
        }
        YReportMessageParams report;
        const YRefPtr<FirewallConfig> firewall = OpenFirewall(u"Gate", report);
        ASSERT_TRUE(firewall) << ToUtf8(report.GetText());
        YUnicodeString plain;
        EXPECT_TRUE(firewall->password.GetPlaintext(plain, passphrase));
        EXPECT_EQ(plain, u"fw");
    }

    std::shared_ptr<DialogAnswers> ui_ = std::make_shared<DialogAnswers>();
};

TEST_F(PassphraseStartupTest, AClaimHeldElsewhereForTheWholeWaitGivesUpWhenPromptingIsNotAllowed) {
    ASSERT_TRUE(ClaimPassphraseEntry());
    YReportMessageParams report;
    EXPECT_EQ(InitializeConfigPassphrase(3, kConfigPassphraseNoPrompt, report, nullptr), 1223u);
    EXPECT_EQ(report.GetMessageId(), msg::PassphraseBusyElsewhere);
    ReleasePassphraseEntry();
    // Once published by the other process, nobody is asked.
    SetConfigPassphrase(u"known");
    EXPECT_EQ(InitializeConfigPassphrase(3, kConfigPassphraseNoPrompt, report, nullptr), 0u);
    // and the flow gave its claim back.
    EXPECT_TRUE(ClaimPassphraseEntry());
    ReleasePassphraseEntry();
}

TEST_F(PassphraseStartupTest, AHostPassphraseIsUsedOnlyWhenItDeciphersTheCheckValue) {
    Establish(u"right");
    YReportMessageParams report;
    EXPECT_EQ(InitializeConfigPassphrase(3, kConfigPassphraseNoPrompt, report, u"wrong"), 1223u);
    EXPECT_EQ(report.GetMessageId(), msg::PassphrasePromptNotAllowed);
    EXPECT_EQ(GetConfigPassphrase(), u"");
    EXPECT_EQ(InitializeConfigPassphrase(3, kConfigPassphraseNoPrompt, report, u"right"), 0u);
    EXPECT_EQ(report.GetMessageId(), 0u);
    EXPECT_EQ(GetConfigPassphrase(), u"right");
}

TEST_F(PassphraseStartupTest, FlowResultsByCase) {
    const struct {
        const char* name;
        const char16_t* established;  // nullptr: never established
        bool changePending;
        unsigned flags;
        unsigned result;
        std::uint32_t message;
    } cases[] = {
        {"fresh, no prompting", nullptr, false, kConfigPassphraseNoPrompt, 1223,
         msg::PassphrasePromptNotAllowed},
        {"empty passphrase in use is not asked", u"", false, kConfigPassphraseNoPrompt, 0, 0},
        {"change pending on the console", u"pw", true, kConfigPassphraseConsoleMode, 50,
         msg::PassphraseChangeNeedsGui},
        {"change pending, no prompting", u"pw", true, kConfigPassphraseNoPrompt, 1223,
         msg::PassphrasePromptNotAllowed},
        {"go on with secrets off", u"pw", false, kConfigPassphraseContinueDisabled, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(MainRoot());
        FreeGlobalConfig();
        UsePrivatePassphraseBlock();
        if (c.established != nullptr) {
            Establish(c.established);
        }
        if (c.changePending) {
            GetGlobalConfig()->changeConfigPassphrase = true;
        }
        YReportMessageParams report;
        EXPECT_EQ(InitializeConfigPassphrase(3, c.flags, report, nullptr), c.result);
        EXPECT_EQ(report.GetMessageId(), c.message);
    }
    EXPECT_TRUE(IsConfigPassphraseDisabled());
}

TEST_F(PassphraseStartupTest, ThePolicyForcesAPassphraseOntoAConfigurationWithoutOne) {
    SetConfigPassphrase(u"");
    MakeSecrets(3);
    Establish(u"");
    SetPolicy(true);
    ui_->answer = u"forced";
    YReportMessageParams report;
    EXPECT_EQ(InitializeConfigPassphrase(3, 0, report, nullptr), 0u);
    EXPECT_EQ(ui_->shown, (std::vector<unsigned>{RequirePassphraseDialogBase::kTemplateId}));
    EXPECT_EQ(GetConfigPassphrase(), u"forced");
    EXPECT_TRUE(IsConfigPassphraseCorrect(u"forced"));
    ExpectSecretsUnder(u"forced", 3);
}

TEST_F(PassphraseStartupTest, ChangeConvertsEveryValueAndLeavesForeignOnesCounted) {
    SetConfigPassphrase(u"old");
    MakeSecrets(25);
    Establish(u"old");
    SetConfigPassphrase(u"someone else's");
    YRefPtr<SessionConfig> foreign = CreateSessionConfig();
    foreign->SetPath(u"Foreign");
    foreign->SetProtocolName(u"SSH2");
    ASSERT_TRUE(foreign->GetTerminalConnectConfig()->SetPassword(u"x"));
    SaveSession(*foreign, u"Foreign");
    const YUnicodeString foreignText = *StoredString(u"Foreign", u"Password V2");

    SensitiveDataResult result;
    YReportMessageParams report;
    ASSERT_TRUE(ChangeConfigPassphrase(3, YUnicodeString(u"old"), u"new", result, report));
    EXPECT_EQ(result.converted, 51u);
    EXPECT_EQ(result.notConverted, 1u);
    EXPECT_EQ(result.records, 52u);
    ExpectSecretsUnder(u"new", 25);
    EXPECT_EQ(*StoredString(u"Foreign", u"Password V2"), foreignText);
    EXPECT_TRUE(IsConfigPassphraseCorrect(u"new"));
    EXPECT_FALSE(GetConfigPassphraseState(3).conversionPending);

    // A reset keeps no secret: every value is the empty value under the reset passphrase.
    ASSERT_TRUE(ChangeConfigPassphrase(3, std::nullopt, u"again", result, report));
    YEncryptedString text;
    text.SetEncryptedText(*StoredString(u"S7", u"Password V2"));
    YUnicodeString plain = u"?";
    EXPECT_TRUE(text.GetPlaintext(plain, u"again"));
    EXPECT_EQ(plain, u"");
}

TEST_F(PassphraseStartupTest, AChangeThatCouldNotSaveARecordIsFinishedAtTheNextStart) {
    SetConfigPassphrase(u"old");
    MakeSecrets(4);
    Establish(u"old");
    const std::string locked = Main("Sessions/S2.ini");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
    SensitiveDataResult result;
    YReportMessageParams report;
    EXPECT_FALSE(ChangeConfigPassphrase(3, YUnicodeString(u"old"), u"new", result, report));
    EXPECT_EQ(result.recordsFailed, 1u);
    EXPECT_TRUE(GetConfigPassphraseState(3).conversionPending);
    // The new passphrase opens the configuration now; the start-up finishes the conversion.
    std::filesystem::permissions(
        locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    UsePrivatePassphraseBlock();
    FreeGlobalConfig();
    EXPECT_EQ(InitializeConfigPassphrase(3, kConfigPassphraseNoPrompt, report, u"new"), 0u);
    EXPECT_FALSE(GetConfigPassphraseState(3).conversionPending);
    ExpectSecretsUnder(u"new", 4);
}

}  // namespace
}  // namespace rivode::test
