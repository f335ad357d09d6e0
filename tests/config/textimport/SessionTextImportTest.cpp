// The text import wizard over a session database: options, the preview's entries, and the
// sessions the import creates as copies of "Default".
#include "tests/config/session/SessionTestSupport.h"
#include "tests/support/TempFolder.h"

#include <DavaraZE/YProgressDialog.h>
#include <DavaraZE/YUserInterface.h>
#include <RivodeRavudaVU/FileSessionCreationWizard.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

// Keeps what each progress window showed when it closed.
class ProgressRecorder final : public YUserInterface {
public:
    int ShowMessageBox(const YMessageBoxRequest&) override { return YID_OK; }
    int RunProgress(YProgressDialog& progress) override {
        YProgressDialog::State state = progress.GetState();
        while (!state.closed) {
            state = progress.WaitForChange(state.generation, std::chrono::milliseconds(50));
        }
        windows.push_back(state);
        return state.result;
    }
    std::vector<YProgressDialog::State> windows;
};

using F = ImportField;

class SessionTextImportTest : public SessionTest {
protected:
    SessionTextImportTest() { YSetUserInterface(recorder_); }
    ~SessionTextImportTest() override {
        YSetUserInterface(nullptr);
        FreeSessionDatabaseImpl();
    }

    SessionDatabaseImpl& Database() { return *GetSessionDatabaseImpl(); }

    // A UTF-8 file with mark holding text; its path.
    YUnicodeString File(const std::string& text) {
        const std::string path = files_ / "sessions.txt";
        WriteFileBytes(path, "\xEF\xBB\xBF" + text);
        return FromUtf8(path);
    }
    // A wizard on text with fields, its entries read.
    void Read(const std::string& text, const std::vector<ImportField>& fields,
              ImportDelimiter delimiter = ImportDelimiter::Comma) {
        YReportMessageParams report;
        ASSERT_TRUE(wizard_.SetFile(File(text), report)) << ToUtf8(report.GetText());
        wizard_.SetFields(fields);
        wizard_.SetDelimiter(delimiter);
        ASSERT_TRUE(wizard_.ReadEntries(report)) << ToUtf8(report.GetText());
    }
    YRefPtr<SessionConfig> Open(const YUnicodeString& path) {
        YRefPtr<ISessionConfig> session = Database().OpenSession(path);
        return YRefPtr<SessionConfig>::Share(dynamic_cast<SessionConfig*>(session.get()));
    }
    YRefPtr<SessionConfig> Default() { return Open(YUnicodeString(kDefaultSessionName)); }
    void SaveDefault(SessionConfig& defaults) {
        YReportMessageParams report;
        ASSERT_TRUE(Database().SaveSession(defaults, true, report)) << ToUtf8(report.GetText());
    }

    std::shared_ptr<ProgressRecorder> recorder_ = std::make_shared<ProgressRecorder>();
    FileSessionCreationWizardBase wizard_;
    TempFolder files_;
};

TEST_F(SessionTextImportTest, LinesBecomeCopiesOfTheDefaultWithTheirValues) {
    const YRefPtr<SessionConfig> defaults = Default();
    defaults->terminalConfig.emulation.Set(u"VT220");
    defaults->remoteHostConfig.username.Set(u"template-user");
    SaveDefault(*defaults);

    Read(
        "\"Smith, J\",alpha.example,telnet,vt100,Work\\Lab\r\n"
        "\r\n"
        "beta,beta.example,FTP,vt52\r\n"
        "a/b,gamma.example,Telnet/TLS,,Bad<Folder,extra,more\r\n"
        ",delta.example\r\n",
        {F::SessionName, F::Hostname, F::Protocol, F::Emulation, F::Folder});
    const std::vector<SessionImportEntry>& entries = wizard_.GetEntries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].lineNumber, 1u);
    EXPECT_EQ(entries[0].prepared.name, u"Smith, J");
    EXPECT_EQ(entries[0].prepared.folder, u"Work/Lab");
    EXPECT_EQ(entries[0].columns,
              (YStringArray{u"Smith, J", u"alpha.example", u"Telnet", u"VT100", u"Work/Lab"}));
    EXPECT_EQ(entries[1].lineNumber, 3u);
    EXPECT_EQ(entries[2].prepared.name, u"a_b");
    EXPECT_TRUE(entries[2].prepared.folderInvalid);
    EXPECT_EQ(entries[2].columns[4], u"[Invalid]");
    EXPECT_EQ(entries[2].prepared.extraText, u"extra,more,");
    EXPECT_EQ(entries[3].prepared.name, u"delta.example");

    std::vector<std::uint32_t> reported;
    const SessionImportResult result = wizard_.Import(
        nullptr, [&](const YReportMessageParams& r) { reported.push_back(r.GetMessageId()); });
    EXPECT_EQ(result.created, 4u);
    EXPECT_TRUE(result.skipped.empty());
    EXPECT_EQ(reported,
              (std::vector<std::uint32_t>{msg::ImportingFromFile, msg::ImportedSessionCreated,
                                          msg::ImportedSessionCreated, msg::ImportedFolderInvalid,
                                          msg::ImportedExtraData, msg::ImportedSessionCreated,
                                          msg::ImportedSessionCreated, msg::TextImportFinished}));

    const struct {
        YUnicodeString path;
        YUnicodeString host;
        YUnicodeString protocol;
        YUnicodeString emulation;
    } expected[] = {
        {u"Work\\Lab\\Smith, J", u"alpha.example", u"Telnet", u"VT100"},
        // Outside the importable protocols: SSH2; an unknown emulation keeps the template's.
        {u"beta", u"beta.example", u"SSH2", u"VT220"},
        {u"a_b", u"gamma.example", u"Telnet/SSL", u"VT220"},
        {u"delta.example", u"delta.example", u"SSH2", u"VT220"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(ToUtf8(e.path));
        const YRefPtr<SessionConfig> session = Open(e.path);
        ASSERT_TRUE(session);
        EXPECT_EQ(session->remoteHostConfig.hostname.Get(), e.host);
        EXPECT_EQ(session->GetProtocolName(), e.protocol);
        EXPECT_EQ(session->terminalConfig.emulation.Get(), e.emulation);
        // A field the file does not hold keeps the template's value.
        EXPECT_EQ(session->remoteHostConfig.username.Get(), u"template-user");
    }
}

TEST_F(SessionTextImportTest, PasswordsAreEncipheredExceptForProtocolsWithoutALogon) {
    Read("one,ssh2,u1,secret1\ntwo,telnet,u2,secret2\nthree,scp,u3,secret3\n",
         {F::Hostname, F::Protocol, F::Username, F::Password});
    ASSERT_EQ(wizard_.GetEntries().size(), 3u);
    EXPECT_EQ(wizard_.GetEntries()[0].columns[3], u"********");
    EXPECT_EQ(wizard_.Import().created, 3u);

    const YRefPtr<SessionConfig> one = Open(u"one");
    EXPECT_EQ(one->GetTerminalConnectConfig()->GetUsername(), u"u1");
    EXPECT_EQ(one->GetTerminalConnectConfig()->GetPassword(), u"secret1");
    const auto stored = StoredString(u"one", u"Password V2");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->find(u"secret1"), YUnicodeString::npos);
    EXPECT_EQ(Open(u"two")->GetTerminalConnectConfig()->GetPassword(), u"");
    // A file-transfer protocol goes to the transfer side, which takes the password.
    const YRefPtr<SessionConfig> three = Open(u"three");
    EXPECT_EQ(three->GetTransferProtocolName(), u"SCP");
    EXPECT_EQ(three->GetTransferConnectConfig()->GetPassword(), u"secret3");
}

TEST_F(SessionTextImportTest, NamesTakenAlreadyGetAFreeVariant) {
    Read("Server\n", {F::SessionName}, ImportDelimiter::None);
    ASSERT_EQ(wizard_.Import().created, 1u);
    // Within one file too: the second "Server" of the file is stored under the next free name.
    Read("Server,h1\nserver,h2\n", {F::SessionName, F::Hostname});
    EXPECT_EQ(wizard_.GetEntries()[0].prepared.name, u"Server (2)");
    EXPECT_EQ(wizard_.GetEntries()[1].prepared.name, u"server (3)");
    ASSERT_EQ(wizard_.Import().created, 2u);
    EXPECT_EQ(Open(u"Server (2)")->remoteHostConfig.hostname.Get(), u"h1");
    EXPECT_EQ(Open(u"server (3)")->remoteHostConfig.hostname.Get(), u"h2");
}

TEST_F(SessionTextImportTest, SessionsKeepTheFileOrderInNewAndExistingFolders) {
    Read("Zed,Work\nMid,Work\n", {F::SessionName, F::Folder});
    ASSERT_EQ(wizard_.Import().created, 2u);
    // A folder path that is a session cannot take sessions; the other lines go on.
    Read("c,New\na,New\nAlpha,Work\nInside,Work/Zed\nb,New\n", {F::SessionName, F::Folder});
    const SessionImportResult result = wizard_.Import();
    EXPECT_EQ(result.created, 4u);
    ASSERT_EQ(result.skipped.size(), 1u);
    YReportMessageParams skipped = result.skipped[0];
    EXPECT_EQ(skipped.GetMessageId(), msg::ImportLineSkipped);
    EXPECT_EQ(skipped.GetStrings()[0], u"4");
    EXPECT_FALSE(Database().Exists(u"Work\\Zed\\Inside"));

    for (const auto& [folder, order] :
         {std::pair{u"New", YStringArray{u"c", u"a", u"b"}},
          std::pair{u"Work", YStringArray{u"Zed", u"Mid", u"Alpha"}}}) {
        ProfileFolderData listing;
        ASSERT_TRUE(Database().ListFolder(folder, listing));
        EXPECT_EQ(listing.GetSessions(), order) << ToUtf8(folder);
    }
}

TEST_F(SessionTextImportTest, LinesWithoutANameAreSkippedWithTheReason) {
    Read("h1,n1\n,\nh3,\n", {F::Hostname, F::SessionName});
    EXPECT_EQ(wizard_.GetEntries().size(), 2u);
    ASSERT_EQ(wizard_.GetSkippedLines().size(), 1u);
    YReportMessageParams skipped = wizard_.GetSkippedLines()[0];
    EXPECT_EQ(skipped.GetMessageId(), msg::ImportLineSkipped);
    EXPECT_EQ(skipped.GetStrings()[0], u"2");
}

TEST_F(SessionTextImportTest, BadOptionsAndFilesAreRefusedWithTheirMessages) {
    YReportMessageParams report;
    EXPECT_FALSE(wizard_.SetFile(FromUtf8(files_ / "missing.txt"), report));
    EXPECT_EQ(report.GetMessageId(), msg::UnableToOpenFile);
    EXPECT_EQ(report.GetStrings().size(), 2u);

    EXPECT_FALSE(wizard_.SetFile(File("\r\n\n"), report));
    EXPECT_EQ(report.GetMessageId(), msg::FileWasEmpty);

    ASSERT_TRUE(wizard_.SetFile(File("\nfirst,line\n"), report));
    EXPECT_EQ(wizard_.GetFirstLine(), u"first,line");
    wizard_.SetFields({F::Hostname, F::SessionName});
    wizard_.SetDelimiter(ImportDelimiter::None);
    EXPECT_FALSE(wizard_.ValidateOptions(report));
    EXPECT_EQ(report.GetMessageId(), msg::NoneDelimiterInvalid);
    EXPECT_FALSE(wizard_.ReadEntries(report));
    wizard_.SetFields({});
    EXPECT_FALSE(wizard_.ValidateOptions(report));
    EXPECT_EQ(report.GetMessageId(), msg::ImportNoFields);
}

TEST_F(SessionTextImportTest, TextNotValidInItsEncodingStopsTheWholeReadWithWhere) {
    const struct {
        std::string text;
        std::u16string_view line;
        std::u16string_view column;
    } cases[] = {
        {"h1,n1\nh2,n\xFF"
         "2\nh3,n3\n",
         u"2", u"5"},
        {"h1,n1\n\xC3(\n", u"2", u"1"},
    };
    for (const auto& c : cases) {
        YReportMessageParams report;
        ASSERT_TRUE(wizard_.SetFile(File(c.text), report));
        wizard_.SetFields({F::Hostname, F::SessionName});
        EXPECT_FALSE(wizard_.ReadEntries(report));
        EXPECT_EQ(report.GetMessageId(), msg::ImportTextNotValid);
        EXPECT_EQ(report.GetStrings(), (YStringArray{wizard_.GetFile(), YUnicodeString(c.line),
                                                     YUnicodeString(c.column)}));
        EXPECT_TRUE(wizard_.GetEntries().empty());
    }
}

TEST_F(SessionTextImportTest, ReadingAndImportingShowTheirProgress) {
    Read("h1\nh2\n", {F::Hostname}, ImportDelimiter::None);
    (void)wizard_.Import();
    ASSERT_EQ(recorder_->windows.size(), 2u);
    EXPECT_EQ(recorder_->windows[0].title, u"Reading file...");
    const YProgressDialog::State& import = recorder_->windows[1];
    EXPECT_EQ(import.lines[0], u"Importing from " + wizard_.GetFile());
    EXPECT_EQ(import.lines[1], u"Finished text file import");
    EXPECT_EQ(import.done, 2u);
    EXPECT_EQ(import.total, 2u);
}

}  // namespace
}  // namespace rivode::test
