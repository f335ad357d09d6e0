// Opening, saving, walking and updating stored sessions, and the process's one database.
#include "tests/config/database/SessionDatabaseTestSupport.h"
#include "tests/storage/FaultyFileSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace rivode::test {
namespace {

TEST_F(SessionDatabaseTest, OpensSessionsOnlyAndTheDefaultAlways) {
    WriteSession("Work/Server", "S:\"Title Bar\"=stored\r\n");
    // In a configuration folder a folder is a key without a value file.
    std::filesystem::create_directories(Main("Sessions/Lab"));

    const YRefPtr<ISessionConfig> server = Database().OpenSession(u"Work\\Server");
    ASSERT_TRUE(server);
    EXPECT_EQ(server->GetPath(), u"Work\\Server");
    EXPECT_EQ(server->GetName(), u"Server");
    EXPECT_EQ(AsRecord(*server).titleBar.Get(), u"stored");

    EXPECT_FALSE(Database().OpenSession(u"default"));  // only the exact name stands for defaults
    const YRefPtr<ISessionConfig> defaults = Database().OpenSession(u"Default");
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->GetName(), u"Default");
    EXPECT_EQ(AsRecord(*defaults).titleBar.Get(), u"");

    for (const char16_t* none : {u"Work", u"Lab", u"Missing", u""}) {
        SCOPED_TRACE(ToUtf8(none));
        EXPECT_FALSE(Database().OpenSession(none));
    }
    EXPECT_TRUE(Database().IsSession(u"work\\server"));
    EXPECT_TRUE(Database().IsFolder(u"Lab"));
    EXPECT_FALSE(Database().IsFolder(u"Work\\Server"));
    EXPECT_FALSE(Database().IsFolder(u"Missing"));
}

TEST_F(SessionDatabaseTest, SavesExistingKeysAndCreatesOthersOnlyWhenAsked) {
    WriteSession("Lab", "S:\"Title Bar\"=old\r\n");
    YReportMessageParams report;

    const YRefPtr<ISessionConfig> lab = Database().OpenSession(u"Lab");
    AsRecord(*lab).titleBar = u"new";
    ASSERT_TRUE(Database().SaveSession(*lab, false, report)) << ToUtf8(report.GetText());
    EXPECT_EQ(AsRecord(*Database().OpenSession(u"Lab")).titleBar.Get(), u"new");

    const YRefPtr<ISessionConfig> copy = lab->Clone();
    copy->SetPath(u"Work\\Jump\\Copy");
    EXPECT_FALSE(Database().SaveSession(*copy, false, report));
    EXPECT_EQ(ToUtf8(report.GetTextTrimmed()), "There is no session or folder 'Work\\Jump\\Copy'.");
    EXPECT_FALSE(OnDisk("Work"));
    ASSERT_TRUE(Database().SaveSession(*copy, true, report)) << ToUtf8(report.GetText());
    EXPECT_EQ(AsRecord(*Database().OpenSession(u"Work\\Jump\\Copy")).titleBar.Get(), u"new");
    EXPECT_TRUE(Database().IsFolder(u"Work\\Jump"));

    const YRefPtr<ISessionConfig> defaults = Database().OpenSession(u"Default");
    AsRecord(*defaults).titleBar = u"template";
    EXPECT_FALSE(Database().SaveSession(*defaults, false, report));
    ASSERT_TRUE(Database().SaveSession(*defaults, true, report)) << ToUtf8(report.GetText());
    EXPECT_EQ(AsRecord(*Database().OpenSession(u"Default")).titleBar.Get(), u"template");
}

TEST_F(SessionDatabaseTest, DefaultChangesReachWritableSessionsOnly) {
    WriteTenSessions();
    const YRefPtr<ISessionConfig> defaults = Database().OpenSession(u"Default");
    AsRecord(*defaults).titleBar = u"from default";
    const ApplyToAllCounts counts = Database().ApplyDefaultSessionChangesToAll(*defaults);
    EXPECT_EQ(counts.seen, 10u);
    EXPECT_EQ(counts.updated, 7u);
    EXPECT_EQ(counts.readOnly, 3u);
    EXPECT_EQ(counts.Failed(), 3u);

    // Opening the default session above stored nothing: only the ten sessions are walked.
    std::vector<YUnicodeString> walked;
    Database().EnumerateSessions([&](const YUnicodeString& path) { walked.push_back(path); });
    EXPECT_EQ(walked.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(std::find(walked.begin(), walked.end(), SessionPath(i)), walked.end());
        const YRefPtr<ISessionConfig> session = Database().OpenSession(SessionPath(i));
        ASSERT_TRUE(session);
        EXPECT_EQ(AsRecord(*session).titleBar.Get(), i < kReadOnlySessions ? u"" : u"from default");
        EXPECT_EQ(ToUtf8(AsRecord(*session).scriptArguments.Get()), "own " + std::to_string(i));
    }
}

TEST_F(SessionDatabaseTest, FailedSaveNamesTheSessionTheFileAndTheReason) {
    WriteSession("Work/Server");
    const YRefPtr<ISessionConfig> server = Database().OpenSession(u"Work\\Server");
    AsRecord(*server).titleBar = u"changed";
    FaultyFileSystem faulty;
    faulty.writeError = ENOSPC;
    YReportMessageParams report;
    ASSERT_FALSE(Database().SaveSession(*server, false, report));
    // The file is the session's own or its journal beside it.
    EXPECT_THAT(ToUtf8(report.GetTextTrimmed()),
                ::testing::AllOf(::testing::StartsWith("The session 'Work\\Server' could not be "
                                                       "saved: '" +
                                                       Main("Sessions/Work/Server.ini")),
                                 ::testing::EndsWith("': No space left on device")));
    EXPECT_EQ(GetSystemErrorCause(report), ENOSPC);
}

TEST_F(SessionDatabaseTest, DefaultChangesCountEachFailedSessionUnderItsCause) {
    WriteTenSessions();
    const YRefPtr<ISessionConfig> defaults = Database().OpenSession(u"Default");
    AsRecord(*defaults).titleBar = u"from default";
    const struct {
        FileCall call;
        int error;
        std::size_t ApplyToAllCounts::*count;
        const char* because;
    } cases[] = {
        {FileCall::Write, ENOSPC, &ApplyToAllCounts::noSpace, "because the disk is full."},
        {FileCall::Write, EDQUOT, &ApplyToAllCounts::noSpace, "because the disk is full."},
        {FileCall::Write, EACCES, &ApplyToAllCounts::permission,
         "because you are not permitted to write them."},
        {FileCall::Write, EPERM, &ApplyToAllCounts::permission,
         "because you are not permitted to write them."},
        {FileCall::Write, EIO, &ApplyToAllCounts::other, "because of other errors."},
        {FileCall::Write, EROFS, &ApplyToAllCounts::readOnly,
         "because they are currently read-only."},
        // Written but not on the disk: the one sync at the end fails for every session.
        {FileCall::Sync, EIO, &ApplyToAllCounts::other, "because of other errors."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        FaultyFileSystem faulty;
        faulty.faults = {{c.call, 0, c.error}};
        std::vector<std::string> failures;
        const ApplyToAllCounts counts = Database().ApplyDefaultSessionChangesToAll(
            *defaults, [&](const YUnicodeString& path, YReportMessageParams& report) {
                EXPECT_EQ(GetSystemErrorCause(report), c.error);
                failures.push_back(ToUtf8(path) + ": " + ToUtf8(report.GetTextTrimmed()));
            });
        EXPECT_EQ(counts.seen, 10u);
        EXPECT_EQ(counts.updated, 0u);
        // The three read-only sessions are never tried; the seven others fail under the cause.
        EXPECT_EQ(counts.*c.count, c.count == &ApplyToAllCounts::readOnly ? 10u : 7u);
        EXPECT_EQ(counts.Failed(), 10u);
        ASSERT_EQ(failures.size(), 7u);
        EXPECT_THAT(failures, ::testing::Contains(::testing::StartsWith(
                                  "Work\\S9: The session 'Work\\S9' could not be saved: '" +
                                  Main("Sessions/"))));

        std::vector<std::string> summary;
        for (YReportMessageParams& report : DescribeApplyToAllFailures(counts)) {
            summary.push_back(ToUtf8(report.GetTextTrimmed()));
        }
        EXPECT_EQ(summary.back(), std::string("Of your 10 sessions, ") +
                                      (c.count == &ApplyToAllCounts::readOnly ? "10" : "7") +
                                      " could not be updated " + c.because);
        EXPECT_EQ(summary.size(), c.count == &ApplyToAllCounts::readOnly ? 1u : 2u);
        if (c.call == FileCall::Write) {
            EXPECT_EQ(AsRecord(*Database().OpenSession(SessionPath(9))).titleBar.Get(), u"");
        }
    }
}

TEST_F(SessionDatabaseTest, OlderButtonBarsAreCopiedIntoTheCurrentKey) {
    WriteValueFile(Main("ButtonBarV3/Main.ini"), "S:\"Button 1\"=ls\r\n");
    WriteValueFile(Main("ButtonBarV3.ini"), "D:\"Sort Alphabetically\"=00000000\r\n");
    WriteValueFile(Main("ButtonBar/Old.ini"), "S:\"Button 1\"=older\r\n");

    EXPECT_EQ(Database().GetButtonBarKeyName(), u"ButtonBarV5");
    EXPECT_FALSE(Database().GetButtonBarSortAlphabetically());
    EXPECT_EQ(Database().GetCollectionNames(SessionCollection::ButtonBars),
              (YStringArray{u"Main"}));
    EXPECT_TRUE(std::filesystem::exists(Main("ButtonBarV3/Main.ini")));  // kept

    YReportMessageParams report;
    ASSERT_TRUE(Database().SetButtonBarSortAlphabetically(true, report));
    FreeSessionDatabaseImpl();
    EXPECT_TRUE(Database().GetButtonBarSortAlphabetically());
}

class RecordingSink : public ISessionBatchSink {
public:
    void Report(const YReportMessageParams& report) override {
        ids.push_back(report.GetMessageId());
        inserts.push_back(report.GetStrings().empty() ? u"" : report.GetStrings().front());
    }
    std::vector<std::uint32_t> ids;
    YStringArray inserts;
};

TEST_F(SessionDatabaseTest, BatchStoresEverySessionUnderAFreeNameAndReportsEach) {
    WriteSession("Work/Server");
    WriteSession("Work/Zed");
    std::vector<PreparedSession> batch(3);
    batch[0] = {u"Server", u"Work", u"", false, CreateSessionConfig()};
    batch[1] = {u"Lab", u"Bad<Folder", u"extra", true, CreateSessionConfig()};
    batch[2] = {u"Server", u"Work", u"", false, CreateSessionConfig()};
    RecordingSink sink;
    EXPECT_EQ(Database().CreateSessionsFromFile(batch, sink), 3u);
    EXPECT_EQ(sink.ids, (std::vector<std::uint32_t>{0x613700A6, 0xE13700A7, 0xE13700A8, 0x613700A6,
                                                    0x613700A6}));
    EXPECT_EQ(sink.inserts, (YStringArray{u"Work\\Server (2)", u"Bad<Folder", u"extra", u"Lab",
                                          u"Work\\Server (3)"}));
    // New sessions follow the folder's order instead of taking their sorted places.
    EXPECT_EQ(Listing(u"Work"), "|Server:Zed:Server (2):Server (3):");

    EXPECT_EQ(Database().MakeUniqueName(u"Work", u"server"), u"server (4)");
    EXPECT_EQ(Database().MakeUniqueName(u"", u"Server"), u"Server");
}

TEST_F(SessionDatabaseTest, AdHocSessionIsWrittenWhole) {
    const YRefPtr<SessionConfig> adHoc = CreateSessionConfig();
    YReportMessageParams report;
    ASSERT_TRUE(AdHocSessionSaveToDB(adHoc.get(), u"Kept", report)) << ToUtf8(report.GetText());
    const auto store = OpenStore();
    const YProfileKey kept(store->GetRootKey(), u"Sessions\\Kept");
    // Values still at their defaults are written too.
    EXPECT_EQ(DwordOf(kept, u"Use Title Bar"), 0u);
    EXPECT_EQ(DwordOf(kept, u"Is Session"), 1u);
    EXPECT_TRUE(Database().IsSession(u"Kept"));
}

}  // namespace
}  // namespace rivode::test
