// Stored firewalls: opening and listing, saving under a name, renaming with the propagation into
// the sessions that name the firewall, deleting, and the questions for a missing login.
#include "tests/config/database/SessionDatabaseTestSupport.h"
#include "tests/support/TempFolder.h"

#include <RivodeRavudaVU/FirewallDatabase.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <unistd.h>

namespace rivode::test {
namespace {

class FirewallDatabaseTest : public SessionDatabaseTest {
protected:
    ~FirewallDatabaseTest() override { SetFirewallLoginPrompter(nullptr); }

    void WriteFirewall(const std::string& name, const std::string& lines) {
        WriteValueFile(Main("Firewalls/" + name + ".ini"), lines);
    }
    void WriteFirewallSession(const std::string& relative, const std::string& firewall) {
        WriteSession(relative, "S:\"Firewall Name\"=" + firewall + "\r\nS:\"Hostname\"=h\r\n");
    }
    std::string FirewallOf(const std::string& relative) {
        YReportMessageParams report;
        YUnicodeString path = FromUtf8(relative);
        std::replace(path.begin(), path.end(), u'/', u'\\');
        const YRefPtr<ISessionConfig> session = Database().OpenSession(path, report);
        return session ? ToUtf8(AsRecord(*session).remoteHostConfig.firewallName.Get()) : "?";
    }
    std::string SessionBytes(const std::string& relative) {
        return ReadFileBytes(Main("Sessions/" + relative + ".ini"));
    }
};

TEST_F(FirewallDatabaseTest, OpeningReadsDefaultsAndSkipsKeysWithoutAType) {
    WriteFirewall("Corp", "S:\"Firewall Type\"=SOCKSv5\r\n");
    WriteFirewall("Broken", "S:\"Firewall Address\"=x\r\n");
    YReportMessageParams report;
    const YRefPtr<FirewallConfig> corp = OpenFirewall(u"corp", report);
    ASSERT_TRUE(corp);
    EXPECT_EQ(corp->GetName(), u"Corp");  // the stored spelling
    EXPECT_EQ(corp->port.Get(), 1080u);

    EXPECT_FALSE(OpenFirewall(u"Broken", report));
    EXPECT_EQ(report.GetMessageId(), msg::FirewallNotFound);

    const YRefPtr<FirewallConfig> none = OpenFirewall(u"None", report);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->type.Get(), u"None");
    EXPECT_FALSE(std::filesystem::exists(Main("Firewalls/None.ini")));

    EXPECT_EQ(GetFirewallNames(), (YStringArray{u"None", u"Corp"}));
}

TEST_F(FirewallDatabaseTest, NoneIsNeverStoredAndNamesFollowTheItemRules) {
    const YRefPtr<FirewallConfig> none = CreateFirewallConfig(u"None");
    none->type = YUnicodeString(u"HTTP");
    YReportMessageParams report;
    EXPECT_FALSE(SaveFirewall(*none, report));
    EXPECT_FALSE(std::filesystem::exists(Main("Firewalls")));

    WriteFirewall("Corp", "S:\"Firewall Type\"=HTTP\r\n");
    const struct {
        std::u16string_view oldName, newName;
        bool isNew;
        std::uint32_t id;
    } cases[] = {
        // Each item rule is KeyNameTest.RulesFillTheReportWithTheItemKind's; here the reserved
        // "None", a name taken in the store, and one rule passed on.
        {u"", u"none", true, msg::FirewallNameReserved},
        {u"", u"a/b", true, msg::ItemNameIllegalCharacter},
        {u"", u"CORP", true, msg::ItemNameExists},
        {u"Corp", u"CORP", false, 0},  // a change of letter case only
        {u"", u"Other", true, 0},
    };
    for (const auto& c : cases) {
        YReportMessageParams verdict;
        EXPECT_EQ(ValidateFirewallName(YUnicodeString(c.oldName), YUnicodeString(c.newName),
                                       c.isNew, verdict),
                  c.id == 0)
            << ToUtf8(c.newName);
        EXPECT_EQ(verdict.GetMessageId(), c.id) << ToUtf8(c.newName);
    }
}

// Sessions in several folders naming the firewall in every letter case, other firewalls, none,
// and through the older "Use Firewall" switch.
TEST_F(FirewallDatabaseTest, PropagationUpdatesExactlyTheSessionsNamingAnOldNameExactly) {
    std::map<std::string, std::string> expected;
    for (int i = 0; i < 40; ++i) {
        const std::string folder = i % 3 == 0 ? "" : (i % 3 == 1 ? "Work/" : "Work/Deep/");
        const std::string names[] = {"Corp", "corp", "CORP", "Corp2", "Other", "Corp "};
        const std::string& name = names[i % 6];
        const std::string relative = folder + "S" + std::to_string(i);
        WriteFirewallSession(relative, name);
        expected[relative] = name == "Corp" ? "Corp2" : (name == "Corp2" ? "Corp3" : name);
    }
    WriteSession("Legacy", "D:\"Use Firewall\"=00000001\r\n");
    expected["Legacy"] = "Jump";
    WriteSession("Plain");
    expected["Plain"] = "None";

    std::map<std::string, std::string> before;
    for (const auto& [relative, name] : expected) {
        before[relative] = SessionBytes(relative);
    }
    // Chained changes apply once: Corp becomes Corp2, not Corp3.
    const FirewallChangeArray changes{
        {u"Corp", u"Corp2"}, {u"Corp2", u"Corp3"}, {u"DefaultTerminalFirewall", u"Jump"}};
    YReportMessageParams failure;
    const FirewallPropagationCounts counts = PropagateFirewallChanges(changes, failure);
    EXPECT_EQ(counts.seen, 42u);
    EXPECT_EQ(counts.failed, 0u);
    std::size_t changed = 0;
    for (const auto& [relative, name] : expected) {
        EXPECT_EQ(FirewallOf(relative), name) << relative;
        const bool rewritten = SessionBytes(relative) != before[relative];
        changed += rewritten ? 1 : 0;
        // Sessions that keep their firewall are not rewritten at all.
        EXPECT_EQ(rewritten, name == "Corp2" || name == "Corp3" || name == "Jump") << relative;
    }
    EXPECT_EQ(counts.updated, changed);
    EXPECT_EQ(counts.updated, 7u + 7u + 1u);  // 40 sessions: 7 "Corp", 7 "Corp2", the older one
}

TEST_F(FirewallDatabaseTest, AReadOnlySessionFailsAloneAndIsReported) {
    WriteFirewallSession("A", "Corp");
    WriteFirewallSession("B", "Corp");
    std::filesystem::permissions(Main("Sessions/A.ini"), std::filesystem::perms::owner_read);
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes read-only files";
    }
    YReportMessageParams failure;
    const FirewallPropagationCounts counts = PropagateFirewallChanges({{u"Corp", u"X"}}, failure);
    EXPECT_EQ(counts.updated, 1u);
    EXPECT_EQ(counts.failed, 1u);
    EXPECT_EQ(failure.GetMessageId(), msg::SessionSaveFailed);
    EXPECT_EQ(FirewallOf("B"), "X");
    EXPECT_EQ(FirewallOf("A"), "Corp");
}

TEST_F(FirewallDatabaseTest, RenameMovesEveryValueAndUpdatesTheSessions) {
    WriteFirewall("Corp",
                  "S:\"Firewall Type\"=HTTP_BASICAUTH\r\nS:\"Firewall User\"=bob\r\n"
                  "D:\"Firewall Port\"=00000bb8\r\n");
    {
        YReportMessageParams report;
        const YRefPtr<FirewallConfig> corp = OpenFirewall(u"Corp", report);
        ASSERT_TRUE(corp->SetPassword(u"s3cret"));
        ASSERT_TRUE(SaveFirewall(*corp, report));
    }
    WriteFirewallSession("One", "Corp");
    WriteFirewallSession("Two", "corp");
    FirewallPropagationCounts counts;
    YReportMessageParams report;
    ASSERT_TRUE(RenameFirewall(u"CORP", u"Corp2", counts, report)) << ToUtf8(report.GetText());
    EXPECT_EQ(counts.updated, 1u);
    EXPECT_FALSE(std::filesystem::exists(Main("Firewalls/Corp.ini")));
    const YRefPtr<FirewallConfig> renamed = OpenFirewall(u"Corp2", report);
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->user.Get(), u"bob");
    EXPECT_EQ(renamed->port.Get(), 3000u);
    EXPECT_EQ(renamed->GetPassword(), u"s3cret");
    EXPECT_EQ(FirewallOf("One"), "Corp2");
    EXPECT_EQ(FirewallOf("Two"), "corp");
}

TEST_F(FirewallDatabaseTest, ALetterCaseRenameRespellsTheKeyAndTheExactSessions) {
    WriteFirewall("Corp", "S:\"Firewall Type\"=SOCKSv4\r\n");
    WriteFirewallSession("One", "Corp");
    WriteFirewallSession("Two", "CORP");
    FirewallPropagationCounts counts;
    YReportMessageParams report;
    ASSERT_TRUE(RenameFirewall(u"Corp", u"CORP", counts, report)) << ToUtf8(report.GetText());
    EXPECT_EQ(GetFirewallNames(), (YStringArray{u"None", u"CORP"}));
    EXPECT_EQ(counts.updated, 1u);
    EXPECT_EQ(FirewallOf("One"), "CORP");
}

TEST_F(FirewallDatabaseTest, RenamingOntoAnotherFirewallChangesNothing) {
    WriteFirewall("Corp", "S:\"Firewall Type\"=SOCKSv4\r\n");
    WriteFirewall("Home", "S:\"Firewall Type\"=HTTP\r\n");
    WriteFirewallSession("One", "Corp");
    FirewallPropagationCounts counts;
    YReportMessageParams report;
    EXPECT_FALSE(RenameFirewall(u"Corp", u"home", counts, report));
    EXPECT_EQ(report.GetMessageId(), msg::ItemNameExists);
    EXPECT_EQ(FirewallOf("One"), "Corp");
    EXPECT_EQ(GetFirewallNames().size(), 3u);
}

TEST_F(FirewallDatabaseTest, DeletingLeavesTheSessionsThatNameIt) {
    WriteFirewall("Corp", "S:\"Firewall Type\"=SOCKSv4\r\n");
    WriteFirewallSession("One", "Corp");
    const std::string before = SessionBytes("One");
    YReportMessageParams report;
    ASSERT_TRUE(DeleteFirewall(u"corp", report));
    EXPECT_EQ(GetFirewallNames(), (YStringArray{u"None"}));
    EXPECT_EQ(SessionBytes("One"), before);
    EXPECT_FALSE(DeleteFirewall(u"Corp", report));
    EXPECT_EQ(report.GetMessageId(), msg::FirewallNotFound);
}

// The fake dialog answers "typed" and ticks "Save" as told; it counts its questions.
struct FakePrompt {
    static inline int asked = 0;
    static inline bool tickSave = false;
    static inline bool offered = false;
    static bool Answer(const FirewallLoginRequest& request, YUnicodeString& answer, bool& save) {
        ++asked;
        offered = request.offerSave;
        answer = request.field == FirewallLoginField::Username ? u"typed-user" : u"typed-pass";
        save = tickSave;
        return true;
    }
};

TEST_F(FirewallDatabaseTest, AMissingLoginIsAskedOnlyForLoginTypesAndSavedWhenTicked) {
    WriteFirewall("Auth", "S:\"Firewall Type\"=SOCKSv5_USERPASS\r\n");
    WriteFirewall("Open", "S:\"Firewall Type\"=SOCKSv5\r\n");
    SetFirewallLoginPrompter(&FakePrompt::Answer);
    FakePrompt::asked = 0;
    YReportMessageParams report;
    YUnicodeString answer;

    const YRefPtr<FirewallConfig> open = OpenFirewall(u"Open", report);
    ASSERT_TRUE(open->GetLoginUsername(answer, nullptr));
    EXPECT_EQ(answer, u"");
    EXPECT_EQ(FakePrompt::asked, 0);

    // Not ticked: the answer holds for this run only.
    FakePrompt::tickSave = false;
    const YRefPtr<FirewallConfig> auth = OpenFirewall(u"Auth", report);
    ASSERT_TRUE(auth->GetLoginUsername(answer, nullptr));
    EXPECT_EQ(answer, u"typed-user");
    ASSERT_TRUE(auth->GetLoginUsername(answer, nullptr));
    EXPECT_EQ(FakePrompt::asked, 1);
    EXPECT_EQ(OpenFirewall(u"Auth", report)->user.Get(), u"");

    // Ticked: the password is stored enciphered with the firewall.
    FakePrompt::tickSave = true;
    ASSERT_TRUE(auth->GetLoginPassword(answer, nullptr));
    EXPECT_EQ(answer, u"typed-pass");
    EXPECT_TRUE(FakePrompt::offered);
    EXPECT_EQ(FakePrompt::asked, 2);
    const YRefPtr<FirewallConfig> reread = OpenFirewall(u"Auth", report);
    EXPECT_EQ(reread->GetPassword(), u"typed-pass");
    EXPECT_EQ(ReadFileBytes(Main("Firewalls/Auth.ini")).find("typed-pass"), std::string::npos);
    ASSERT_TRUE(reread->GetLoginPassword(answer, nullptr));
    EXPECT_EQ(FakePrompt::asked, 2);
}

TEST_F(FirewallDatabaseTest, WithoutADialogTheQuestionCountsAsCancelled) {
    WriteFirewall("Auth", "S:\"Firewall Type\"=HTTP_BASICAUTH\r\n");
    YReportMessageParams report;
    YUnicodeString answer = u"left";
    EXPECT_FALSE(OpenFirewall(u"Auth", report)->GetLoginUsername(answer, nullptr));
    EXPECT_TRUE(answer.empty());
}

}  // namespace
}  // namespace rivode::test
