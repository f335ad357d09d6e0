// Applying the default session to every session, killed at every call that changes a file: every
// session reads as before or as after, and no value is lost. (A single session's save is one
// key's save: IniFileCrashSafetyTest.KeyKilledAtAnyStepOfASaveReadsWhollyOldOrWhollyNew.)
#include "tests/config/database/SessionDatabaseTestSupport.h"
#include "tests/storage/FaultyFileSystem.h"

#include <RivodeRavudaVU/RivodeMessages.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class SessionCrashSafetyTest : public SessionDatabaseTest {
protected:
    // Title and script arguments of a session, as one text.
    std::string StateOf(const YUnicodeString& path) {
        const YRefPtr<ISessionConfig> session = Database().OpenSession(path);
        if (!session) {
            return "missing";
        }
        return ToUtf8(AsRecord(*session).titleBar.Get()) + "|" +
               ToUtf8(AsRecord(*session).scriptArguments.Get());
    }
};

TEST_F(SessionCrashSafetyTest, ApplyToAllKilledAnywhereLosesNoSessionsOwnValues) {
    int killAt = 1;
    for (bool killed = true; killed && killAt < 400; killAt += 3) {
        std::filesystem::remove_all(MainRoot());
        WriteTenSessions();
        killed = RunKilledAtChange(killAt, [&] {
            const YRefPtr<ISessionConfig> defaults = Database().OpenSession(u"Default");
            AsRecord(*defaults).titleBar = u"from default";
            (void)Database().ApplyDefaultSessionChangesToAll(*defaults);
        });
        for (int i = 0; i < 10; ++i) {
            const std::string state = StateOf(SessionPath(i));
            const std::string own = "|own " + std::to_string(i);
            EXPECT_TRUE(state == own || state == "from default" + own) << state << " at " << killAt;
        }
    }
    EXPECT_GT(killAt, 20);
}

TEST_F(SessionCrashSafetyTest, UnreadableSessionIsRefusedRatherThanShownAsDefaults) {
    WriteSession("Work/Server", "S:\"Title Bar\"=kept\r\n");
    std::filesystem::create_symlink(Main("Sessions/Work/Server.ini"),
                                    Main("Sessions/Work/Link.ini"));
    YReportMessageParams report;
    EXPECT_FALSE(Database().OpenSession(u"Work\\Link", report));
    const std::string reason = ToUtf8(ReasonOf(report));
    EXPECT_NE(reason.find("Work\\Link"), std::string::npos) << reason;
    EXPECT_NE(reason.find("Sessions/Work/Link.ini"), std::string::npos) << reason;
    EXPECT_TRUE(Database().OpenSession(u"Work\\Server", report));
    EXPECT_FALSE(Database().OpenSession(u"Work\\Missing", report));
    EXPECT_EQ(report.GetMessageId(), rivode::msg::SessionItemNotFound);
}

}  // namespace
}  // namespace rivode::test
