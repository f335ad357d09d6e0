// One line of a text import becoming an entry: a copy of the default session with the line's
// values applied, its name and folder fixed so that the session database takes them.
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/FileSessionCreationWizard.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>

#include "config/SessionDatabaseTree.h"
#include "config/SessionImportLine.h"
#include "storage/ciphers/SecretText.h"

#include <map>
#include <memory>
#include <string>

namespace msg = rivode::msg;
using namespace rivode::config;
using rivode::config::ChildNames;
using rivode::config::SessionTree;

namespace {

YReportMessageParams LineReport(std::uint32_t id, std::size_t lineNumber) {
    YReportMessageParams report(id);
    report.AddString(std::to_string(lineNumber));
    return report;
}

// Puts protocol on the side its module serves and returns that side's configuration; nullptr
// when no loaded module offers it. A file-transfer protocol leaves the session without a
// terminal protocol: the file asked for a transfer session.
ConnectConfig* ChooseProtocol(SessionConfig& session, const YUnicodeString& protocol) {
    const ConnectProtocolEntry* entry = GetConnectProtocolTable().Find(protocol);
    if (entry == nullptr) {
        return nullptr;
    }
    if (SessionProtocolSlot::Suits(SessionProtocolSlot::Side::Terminal, entry->product)) {
        session.SetProtocolName(entry->name);
        return session.GetTerminalConnectConfig();
    }
    session.SetTransferProtocolName(entry->name);
    session.SetProtocolName(YUnicodeString(kNoProtocolName));
    return session.GetTransferConnectConfig();
}

// Both sides keep their password under one name in the session's key, and the side saved last
// decides what is stored: each gets it. Whether the protocol's own side took it.
bool SetPasswordOnBothSides(SessionConfig& session, ConnectConfig& config,
                            const YUnicodeString& password) {
    ConnectConfig* other = &config == session.GetTerminalConnectConfig()
                               ? session.GetTransferConnectConfig()
                               : session.GetTerminalConnectConfig();
    if (other != nullptr) {
        (void)other->SetPassword(password);
    }
    return config.SetPassword(password);
}

// What the preview shows of a field: the value the session will have.
YUnicodeString PreviewColumn(ImportField field, const PreparedSession& prepared,
                             const SessionConfig& session, const YUnicodeString& protocol,
                             const YUnicodeString& shownPassword) {
    switch (field) {
        case ImportField::Hostname:
            return session.remoteHostConfig.hostname.Get();
        case ImportField::Folder:
            return prepared.folderInvalid ? LoadMessageString(msg::ImportInvalidFolderMark)
                                          : prepared.folder;
        case ImportField::SessionName:
            return prepared.name;
        case ImportField::Username:
            return session.remoteHostConfig.username.Get();
        case ImportField::Password:
            return shownPassword;
        case ImportField::Protocol:
            return protocol;
        case ImportField::Emulation:
            return session.terminalConfig.emulation.Get();
        case ImportField::Ignored:
            break;
    }
    return {};
}

YUnicodeString Stars(const YUnicodeString& secret) {
    return secret.empty() ? YUnicodeString() : YUnicodeString(8, u'*');
}

}  // namespace

struct FileSessionCreationWizardBase::FolderNames {
    std::map<YUnicodeString, ChildNames, rivode::LessNoCase> byFolder;
};

FileSessionCreationWizardBase::FileSessionCreationWizardBase() = default;
FileSessionCreationWizardBase::~FileSessionCreationWizardBase() = default;

void FileSessionCreationWizardBase::ForgetFolderNames() {
    folderNames_.reset();
}

// name when neither the database nor an earlier line of the file has it in the folder; else the
// first free of "name (2)", "name (3)", ... So the preview shows the names the import will give,
// also to lines of the file that share a name. The name is fixed first: a name with a character
// the store refuses can never be taken, so checking it unfixed would prove nothing.
YUnicodeString FileSessionCreationWizardBase::UniqueName(const YUnicodeString& folderPath,
                                                         const YUnicodeString& name) {
    if (!folderNames_) {
        folderNames_ = std::make_unique<FolderNames>();
    }
    auto found = folderNames_->byFolder.find(folderPath);
    if (found == folderNames_->byFolder.end()) {
        const SessionTree tree;
        const std::unique_ptr<YProfileKey> folder = tree.OpenFolder(folderPath);
        found = folderNames_->byFolder.try_emplace(folderPath, folder.get()).first;
    }
    return found->second.TakeFreeName(name);
}

bool FileSessionCreationWizardBase::ParseLine(const YUnicodeString& line, std::size_t lineNumber,
                                              const ISessionConfig& defaults,
                                              YReportMessageParams& report) {
    if (line.empty()) {
        return true;
    }
    const char16_t delimiter = GetDelimiterCharacter(delimiter_);
    DelimitedLine split;
    SplitDelimitedLine(line, delimiter, split);
    ImportLineValues values;
    AssignImportFields(split, fields_, delimiter, values);
    for (YUnicodeString& value : split.values) {
        rivode::storage::WipeText(value);
    }

    SessionImportEntry entry;
    entry.lineNumber = lineNumber;
    const YRefPtr<ISessionConfig> copy = defaults.Clone();
    auto& session = static_cast<SessionConfig&>(*copy);

    // A protocol outside the ones a file may ask for (the template's own included) gives SSH2.
    const YUnicodeString& asked = values[ImportField::Protocol];
    YUnicodeString protocol =
        CanonicalImportProtocol(asked.empty() ? session.GetProtocolName() : asked);
    if (protocol.empty()) {
        protocol = u"SSH2";
    }
    ConnectConfig* config = ChooseProtocol(session, protocol);
    if (config == nullptr) {
        report = LineReport(msg::ImportProtocolUnavailable, lineNumber);
        report.AddString(protocol);
        return false;
    }

    // The remote-host part owns host and user name and hands them to both protocol sides.
    if (const YUnicodeString& host = values[ImportField::Hostname]; !host.empty()) {
        session.remoteHostConfig.hostname.Set(host);
    }
    if (const YUnicodeString& user = values[ImportField::Username]; !user.empty()) {
        session.remoteHostConfig.username.Set(user);
        config->SetUsername(user);
    }
    YUnicodeString& password = values.fields[static_cast<std::size_t>(ImportField::Password)];
    if (!password.empty() && ImportKeepsPassword(protocol) &&
        !SetPasswordOnBothSides(session, *config, password)) {
        entry.notes.push_back(LineReport(msg::ImportPasswordNotStored, lineNumber));
        entry.notes.back().AddString(protocol);
    }
    const YUnicodeString shownPassword = Stars(password);
    rivode::storage::WipeText(password);

    YUnicodeString name = values[ImportField::SessionName];
    if (name.empty()) {
        name = session.remoteHostConfig.hostname.Get();
    }
    if (name.empty()) {
        YReportMessageParams reason(msg::ImportLineWithoutName);
        YReportMessageParams skipped;
        WrapReport(skipped, msg::ImportLineSkipped, {rivode::FromAscii(std::to_string(lineNumber))},
                   reason);
        skipped_.push_back(skipped);
        return true;
    }

    if (const YUnicodeString emulation = CanonicalImportEmulation(values[ImportField::Emulation]);
        !emulation.empty()) {
        session.terminalConfig.emulation.Set(emulation);
    }

    PreparedSession& prepared = entry.prepared;
    prepared.folder = FixImportedFolder(values[ImportField::Folder]);
    prepared.folderInvalid = !IsImportedFolderValid(prepared.folder);
    prepared.extraText = values.extraText;
    const YUnicodeString folderPath =
        prepared.folderInvalid ? YUnicodeString() : ImportedFolderPath(prepared.folder);
    prepared.name = UniqueName(folderPath, FixImportedName(name));
    prepared.session = copy;
    if (values.unclosedQuoteColumn != 0) {
        entry.notes.push_back(LineReport(msg::ImportUnclosedQuote, lineNumber));
        entry.notes.back().AddString(std::to_string(values.unclosedQuoteColumn));
    }

    for (const ImportField field : fields_) {
        entry.columns.push_back(
            PreviewColumn(field, entry.prepared, session, protocol, shownPassword));
    }
    entries_.push_back(std::move(entry));
    return true;
}
