// Saved credentials: the process's database object and its sinks, the properties dialog's rules,
// storage under "Credentials", and a rename reaching exactly the sessions that refer to it.
#include "tests/config/session/SessionTestSupport.h"
#include "tests/support/RecordingUserInterface.h"

#include <DavaraZE/YUserInterface.h>
#include <RivodeRavudaVU/CredentialDatabase.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class CredentialTest : public SessionTest {
protected:
    CredentialTest() { YSetUserInterface(ui_); }
    ~CredentialTest() override {
        YSetUserInterface(nullptr);
        FreeCredentialDatabase();
    }

    void NewCredential(const YUnicodeString& title, const YUnicodeString& user,
                       const YUnicodeString& secret) {
        SavedCredential credential;
        credential.SetTitle(title);
        credential.username = user;
        ASSERT_TRUE(UpdateProfileEncryptedString(credential.password, secret));
        YReportMessageParams report;
        ASSERT_TRUE(SaveSavedCredential({}, credential, report)) << ToUtf8(report.GetText());
    }
    // A session of protocol whose remote-host part refers to title.
    void SessionUsing(const YUnicodeString& name, const YUnicodeString& protocol,
                      const YUnicodeString& transfer, const YUnicodeString& title) {
        YRefPtr<SessionConfig> session = CreateSessionConfig();
        session->SetPath(name);
        session->SetProtocolName(protocol);
        session->SetTransferProtocolName(transfer);
        session->remoteHostConfig.credentialTitle = title;
        SaveSession(*session, name);
    }

    std::shared_ptr<RecordingUserInterface> ui_ = std::make_shared<RecordingUserInterface>();
};

struct CountingSink : ISavedCredentialModificationSink {
    void OnSavedCredentialsModified(int event) override { events.push_back(event); }
    std::vector<int> events;
};

TEST_F(CredentialTest, TheDatabaseIsOnePerProcessUntilFreed) {
    EXPECT_TRUE(GetCredentialDatabase(nullptr));
    CredentialDatabase* first = nullptr;
    ASSERT_TRUE(GetCredentialDatabase(&first));
    CredentialDatabase* again = nullptr;
    ASSERT_TRUE(GetCredentialDatabase(&again));
    EXPECT_EQ(first, again);
    again->Release();
    // The holder keeps the freed instance; the process gets a new one.
    FreeCredentialDatabase();
    CredentialDatabase* fresh = nullptr;
    ASSERT_TRUE(GetCredentialDatabase(&fresh));
    EXPECT_NE(fresh, first);
    fresh->Release();
    first->Release();
}

TEST_F(CredentialTest, SinksHearEveryChangeInRegistrationOrder) {
    CountingSink one;
    CountingSink two;
    std::vector<int> order;
    struct OrderSink : ISavedCredentialModificationSink {
        std::vector<int>& order;
        int id;
        OrderSink(std::vector<int>& o, int i) : order(o), id(i) {}
        void OnSavedCredentialsModified(int) override { order.push_back(id); }
    } first(order, 1), second(order, 2);
    const YRefPtr<CredentialDatabase> database = GetCredentialDatabase();
    database->RegisterSink(&one);
    database->RegisterSink(&first);
    database->RegisterSink(&second);
    database->RegisterSink(&one);  // once only
    EXPECT_EQ(database->GetSinkCount(), 3u);

    NewCredential(u"Lab", u"root", u"s3cret");
    SavedCredential lab;
    YReportMessageParams report;
    ASSERT_TRUE(LoadSavedCredential(u"lab", lab, report));
    EXPECT_EQ(lab.GetTitle(), u"Lab");
    lab.username = u"admin";
    ASSERT_TRUE(SaveSavedCredential(u"Lab", lab, report));
    lab.SetTitle(u"Lab2");
    ASSERT_TRUE(SaveSavedCredential(u"Lab", lab, report)) << ToUtf8(report.GetText());
    ASSERT_TRUE(DeleteSavedCredential(u"Lab2", report));
    database->UnregisterSink(&two);  // never registered: nothing happens

    EXPECT_EQ(one.events, (std::vector<int>{kSavedCredentialAdded, kSavedCredentialChanged,
                                            kSavedCredentialRenamed, kSavedCredentialDeleted}));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 1, 2, 1, 2, 1, 2}));
    database->UnregisterSink(&one);
    database->UnregisterSink(&first);
    database->UnregisterSink(&second);
}

TEST_F(CredentialTest, TheSecretIsStoredEncipheredAndSurvivesARename) {
    NewCredential(u"Lab", u"root", u"s3cret");
    const std::optional<YUnicodeString> stored = [&] {
        std::optional<YUnicodeString> text;
        const auto store = OpenStore();
        const YProfileKey key(store->GetRootKey(), u"Credentials\\Lab");
        text = StringOf(key, u"Password V2");
        return text;
    }();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->substr(0, 3), u"02:");

    SavedCredential lab;
    YReportMessageParams report;
    ASSERT_TRUE(LoadSavedCredential(u"Lab", lab, report));
    lab.SetTitle(u"Bench");
    ASSERT_TRUE(SaveSavedCredential(u"Lab", lab, report));
    EXPECT_EQ(GetSavedCredentialTitles(), (YStringArray{u"Bench"}));
    SavedCredential bench;
    ASSERT_TRUE(LoadSavedCredential(u"Bench", bench, report));
    EXPECT_EQ(bench.username.Get(), u"root");
    EXPECT_EQ(GetProfileEncryptedPlaintextString(bench.password), u"s3cret");

    EXPECT_FALSE(LoadSavedCredential(u"Lab", lab, report));
    EXPECT_EQ(report.GetMessageId(), msg::CredentialNotFound);
    EXPECT_FALSE(DeleteSavedCredential(u"Lab", report));
}

TEST_F(CredentialTest, PropertiesRulesRefuseBadTitlesAndEmptyUserNames) {
    NewCredential(u"Taken", u"u", u"p");
    const struct {
        const char16_t* original;
        const char16_t* title;
        const char16_t* user;
        std::uint32_t expected;
    } cases[] = {
        {u"", u"", u"u", msg::CredentialTitleRequired},
        {u"", u"a/b", u"u", msg::CredentialTitleIllegalCharacter},
        {u"", u"a|b", u"u", msg::CredentialTitleIllegalCharacter},
        {u"", u"taken", u"u", msg::CredentialTitleInUse},
        {u"", u"NUL", u"u", msg::ItemNameReservedDevice},
        {u"", u"Free", u"", msg::CredentialUsernameRequired},
        {u"Other", u"TAKEN", u"u", msg::CredentialTitleInUse},
        {u"Taken", u"TAKEN", u"u", 0},  // a change of letter case keeps its own title
        {u"Taken", u"Taken", u"u", 0},
        {u"", u"Free", u"u", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.title));
        YReportMessageParams report;
        EXPECT_EQ(ValidateSavedCredential(c.original, c.title, c.user, report), c.expected == 0);
        EXPECT_EQ(report.GetMessageId(), c.expected);
    }
    YReportMessageParams illegal;
    EXPECT_FALSE(ValidateSavedCredential({}, u"x:y", u"u", illegal));
    // The text is the host's (its message table); the library names the character.
    EXPECT_EQ(illegal.GetStrings(), (YStringArray{u":"}));
    EXPECT_EQ(GetDeleteSavedCredentialQuestion().GetMessageId(), 0xE1380189u);
}

TEST_F(CredentialTest, ARenameReachesExactlyTheSessionsThatReferToTheOldTitle) {
    SessionUsing(u"A", u"SSH2", u"None", u"Old");
    SessionUsing(u"B", u"SSH2", u"SFTP", u"old");  // titles ignore letter case
    SessionUsing(u"C", u"None", u"SFTP", u"Old");  // transfer side only
    SessionUsing(u"D", u"SSH2", u"None", u"Other");
    SessionUsing(u"E", u"Telnet", u"None", u"Old");  // Telnet keeps no credential
    SessionUsing(u"F", u"SSH2", u"None", u"");
    const auto mtime = [&](const char* name) {
        return std::filesystem::last_write_time(Main(std::string("Sessions/") + name + ".ini"));
    };
    const auto untouchedBefore = std::make_tuple(mtime("D"), mtime("E"), mtime("F"));

    YReportMessageParams text(msg::UpdatingCredentialSessions);
    text.AddString(u"rivode");
    text.AddString(u"Old");
    text.AddString(u"New");
    const CredentialRenameCounts counts =
        UpdateSessionDatabaseWithCredentialChanges(u"Old", u"New", &text, nullptr);
    EXPECT_EQ(counts.seen, 6u);
    EXPECT_EQ(counts.updated, 3u);
    EXPECT_EQ(counts.failed, 0u);
    EXPECT_TRUE(ui_->shown.empty());

    const struct {
        const char16_t* name;
        const char16_t* title;
    } expected[] = {{u"A", u"New"},   {u"B", u"New"}, {u"C", u"New"},
                    {u"D", u"Other"}, {u"E", u"Old"}, {u"F", u""}};
    for (const auto& [name, title] : expected) {
        SCOPED_TRACE(ToUtf8(name));
        const YRefPtr<SessionConfig> session = LoadSession(name);
        EXPECT_EQ(session->remoteHostConfig.credentialTitle.Get(), title);
    }
    EXPECT_EQ(untouchedBefore, std::make_tuple(mtime("D"), mtime("E"), mtime("F")));
}

}  // namespace
}  // namespace rivode::test
