// The text import wizard's logic: sessions made in bulk from a delimited text file, one session
// a line. FileSessionCreationWizardBase holds the choices of the Options page (the file, the
// fields the file holds in their order, the delimiter), reads the file into the entries the
// Preview page lists, and creates them in the session database, each a copy of the session
// "Default" with the line's values applied. It shows nothing itself but the progress windows of
// the companion library's user-interface back end; forms bind to it.
//
// Reading and creating run on a worker thread while the calling thread shows a progress window
// (YRunWithProgress); everything else runs on the caller's thread. One object is used by one
// thread at a time.
#pragma once

#include <RivodeRavudaVU/ISessionConfig.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

class QWidget;

// The fields a line can hold. Ignored stands for a selected label that names none of them: its
// values are dropped.
enum class ImportField {
    Hostname,
    Folder,
    SessionName,
    Username,
    Password,
    Protocol,
    Emulation,
    Ignored
};
inline constexpr std::size_t kImportFieldCount = 7;

// The field's label in the user's language ("Hostname/IP Address"); empty for Ignored.
YUnicodeString GetImportFieldLabel(ImportField field);
// The field a label names, letter case ignored; Ignored when none.
ImportField FindImportField(std::u16string_view label);
// The title of the field's column in the preview ("Hostname", "Name", "Protocol", else the label).
YUnicodeString GetImportColumnTitle(ImportField field);

// The delimiter choices of the Options page.
enum class ImportDelimiter { Comma, Tab, Space, Semicolon, None };
// The character that separates values; 0 for None.
char16_t GetDelimiterCharacter(ImportDelimiter delimiter);

// One line of the file as it will be imported.
struct SessionImportEntry {
    std::size_t lineNumber = 0;  // 1-based, in the file
    // The text of each selected field as the preview shows it, in the order of the fields: the
    // folder with "/" between its names ("[Invalid]" for an invalid folder), the protocol and
    // emulation in their canonical forms, the name after its fix-ups, a password as stars.
    YStringArray columns;
    // Problems of the line that do not stop it: an unclosed quote, a password that could not be
    // stored. Each is a complete message; the import still creates the session.
    std::vector<YReportMessageParams> notes;
    // Name, folder ("Work/Jump": the file's folder with every "\" turned into "/"), extra text,
    // the invalid-folder flag and the new session record.
    PreparedSession prepared;
};

// What the import did: the lines it created sessions from, the lines it left out (with why, in
// file order), and every report of the import in order (warnings, created sessions, failures).
struct SessionImportResult {
    std::size_t created = 0;
    std::vector<YReportMessageParams> skipped;
    std::vector<YReportMessageParams> log;
};

class FileSessionCreationWizardBase {
public:
    FileSessionCreationWizardBase();
    virtual ~FileSessionCreationWizardBase();
    FileSessionCreationWizardBase(const FileSessionCreationWizardBase&) = delete;
    FileSessionCreationWizardBase& operator=(const FileSessionCreationWizardBase&) = delete;

    // ---- Options

    // Opens the file (its encoding detected from a byte-order mark) and reads up to its first
    // line that is not empty, which the Options page shows. false with 0xE1380177 (the path and
    // the system's reason) when it cannot be opened, 0x61380179 when it has no such line.
    [[nodiscard]] bool SetFile(const YUnicodeString& path, YReportMessageParams& report);
    const YUnicodeString& GetFile() const { return path_; }
    const YUnicodeString& GetFirstLine() const { return firstLine_; }

    // The fields in the order the file holds them, as labels (letter case ignored) or directly.
    void SetFieldLabels(const YStringArray& labels);
    void SetFields(const std::vector<ImportField>& fields) { fields_ = fields; }
    const std::vector<ImportField>& GetFields() const { return fields_; }
    // Initially Comma.
    void SetDelimiter(ImportDelimiter delimiter) { delimiter_ = delimiter; }
    ImportDelimiter GetDelimiter() const { return delimiter_; }

    // Leaving the Options page: false with 0xE1380181 when None is chosen with two or more
    // fields, 0xE1380540 when no field is chosen.
    [[nodiscard]] bool ValidateOptions(YReportMessageParams& report) const;

    // ---- Preview

    // Reads every line of the file into entries under a progress window titled 0x61380174 over
    // parent, replacing earlier entries. Empty lines are left out; lines that cannot become a
    // session (no name and no host name) are counted as skipped with the reason. false (no
    // entries) with the report when the options are not valid, the file cannot be read to its
    // end (a text not valid in its encoding: 0xE1380542 with the line and column), or a
    // protocol has no configuration in the loaded protocol modules (0xE1380541): nothing is
    // then to be imported.
    [[nodiscard]] bool ReadEntries(YReportMessageParams& report, QWidget* parent = nullptr);
    const std::vector<SessionImportEntry>& GetEntries() const { return entries_; }
    // The lines ReadEntries left out, each with its reason (0xE1380543), in file order.
    const std::vector<YReportMessageParams>& GetSkippedLines() const { return skipped_; }
    // The titles of the preview's columns, one for each selected field.
    YStringArray GetColumnTitles() const;

    // ---- Import

    // Creates the sessions of the entries in order under a progress window over parent (first
    // line 0x61380178 with the path, last 0x61380185). Per entry: a warning for an invalid
    // folder (the session goes to the top folder) and for extra text, then the session is
    // stored under a free name and reported as created; a session that cannot be stored is
    // reported and counted as skipped. The files reach the disk through one sync at the end;
    // when it fails every session counts as failed. Each report also goes to onReport, when
    // given, as it is made. The entries are consumed.
    SessionImportResult Import(
        QWidget* parent = nullptr,
        const std::function<void(const YReportMessageParams&)>& onReport = {});

private:
    [[nodiscard]] bool ParseLine(const YUnicodeString& line, std::size_t lineNumber,
                                 const ISessionConfig& defaults, YReportMessageParams& report);
    YUnicodeString UniqueName(const YUnicodeString& folderPath, const YUnicodeString& name);
    void ForgetFolderNames();

    YUnicodeString path_;
    YUnicodeString firstLine_;
    std::vector<ImportField> fields_;
    ImportDelimiter delimiter_ = ImportDelimiter::Comma;
    std::vector<SessionImportEntry> entries_;
    std::vector<YReportMessageParams> skipped_;
    // The names in each folder the file names: the database's, then those of earlier lines.
    struct FolderNames;
    std::unique_ptr<FolderNames> folderNames_;
};

#pragma GCC visibility pop
