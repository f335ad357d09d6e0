// Saved credentials: a user name and a secret stored once under a title, so that many sessions
// log on with them by referring to the title ("Credential Title" of their protocol part).
//
// Each credential is the key "Credentials\<title>" of the registered default store, holding
// "Username" and the secret enciphered under the configuration passphrase in "Password V2" (the
// names every protocol part uses for the same values). Titles follow the name rules of sessions
// and compare without regard to letter case, as the store's key names do.
//
// Saved credentials exist only when a loaded protocol module offers them: the provider is the
// first entry of the protocol table that does. Without one, the manager is not opened.
//
// The process has at most one CredentialDatabase. It keeps the list of modification sinks and
// tells them, in registration order and under its own lock, what changed; the record operations
// below tell the process's instance (when there is one) after every change they make.
#pragma once

#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileTable.h>
#include <RivodeRavudaVU/YRefPtr.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <mutex>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

class QWidget;
struct ConnectProtocolEntry;

inline constexpr std::u16string_view kCredentialsKeyName = u"Credentials";

// What changed, as the sinks are told it.
enum SavedCredentialEvent : int {
    kSavedCredentialAdded = 1,
    kSavedCredentialChanged = 2,
    kSavedCredentialRenamed = 3,
    kSavedCredentialDeleted = 4,
};

// Told of every change to the saved credentials (a list showing them refreshes itself).
class ISavedCredentialModificationSink {
public:
    virtual void OnSavedCredentialsModified(int event) = 0;

protected:
    ~ISavedCredentialModificationSink() = default;
};

// A deferred procedure: work queued with a code and run later on the owner's thread.
class IYDeferredProcedure : public IYUnknown {
public:
    static constexpr YInterfaceId kInterfaceId{"IYDeferredProcedure"};
    virtual void Run(int code) = 0;

protected:
    ~IYDeferredProcedure() = default;
};

class CredentialDatabase : public YUnknown<IYDeferredProcedure> {
public:
    CredentialDatabase() = default;

    // A sink is registered once (a second registration does nothing) and must stay alive until
    // it is unregistered. Not to be called from inside a notification.
    void RegisterSink(ISavedCredentialModificationSink* sink);
    void UnregisterSink(ISavedCredentialModificationSink* sink);
    std::size_t GetSinkCount() const;

    // Notifies every registered sink with code, in registration order, under the lock.
    void Run(int code) override;

private:
    ~CredentialDatabase() override = default;

    mutable std::mutex mutex_;
    std::vector<ISavedCredentialModificationSink*> sinks_;
};

// Creates the process's instance on the first call (under a global lock); when out is given it
// receives the instance with one added reference. Returns whether an instance exists.
bool GetCredentialDatabase(CredentialDatabase** out);
YRefPtr<CredentialDatabase> GetCredentialDatabase();
// Detaches the instance from the process and releases the process's reference; holders of
// other references keep theirs. The next GetCredentialDatabase makes a new one.
void FreeCredentialDatabase();

// The protocol-table entry that provides saved credentials; nullptr when none does.
const ConnectProtocolEntry* FindSavedCredentialProvider();

// One saved credential as stored.
class SavedCredential : public YProfileTableRecord<SavedCredential> {
public:
    YProfileString username;
    YProfileEncryptedString password;

    SavedCredential();
    static const YProfileTable<SavedCredential>& Table();

    const YUnicodeString& GetTitle() const { return title_; }
    void SetTitle(YUnicodeString title) { title_ = std::move(title); }

private:
    YUnicodeString title_;
};

// The titles, in the store's listing order.
YStringArray GetSavedCredentialTitles();
bool SavedCredentialExists(const YUnicodeString& title);
// Loads the credential stored under title; false with a report when there is none.
[[nodiscard]] bool LoadSavedCredential(const YUnicodeString& title, SavedCredential& credential,
                                       YReportMessageParams& report);

// The rules of the "Credential Properties" dialog's OK: the title as a key name under
// "Credentials" (not empty, no \ / : * ? " < > |, not a reserved device name, not taken by another
// credential, accepted by the store), then a non-empty user name. originalTitle: the title the
// credential had when the dialog opened; empty for a new one. false with the first failure.
[[nodiscard]] bool ValidateSavedCredential(const YUnicodeString& originalTitle,
                                           const YUnicodeString& title,
                                           const YUnicodeString& username,
                                           YReportMessageParams& report);

// Stores credential under its title after validating it (originalTitle as above). A changed
// title moves the stored key: the new key is written before the old one goes, so a failure
// leaves the credential under its old title. Sessions are not touched (see
// UpdateSessionDatabaseWithCredentialChanges).
[[nodiscard]] bool SaveSavedCredential(const YUnicodeString& originalTitle,
                                       SavedCredential& credential, YReportMessageParams& report);
// Removes the credential; false with a report when it does not exist or cannot be removed.
[[nodiscard]] bool DeleteSavedCredential(const YUnicodeString& title, YReportMessageParams& report);
// The question asked before a deletion (0xE1380189): there is no undo.
YReportMessageParams GetDeleteSavedCredentialQuestion();

// What a rename did to the sessions.
struct CredentialRenameCounts {
    std::size_t seen = 0;     // sessions walked
    std::size_t updated = 0;  // sessions that referred to the old title and were saved
    std::size_t failed = 0;   // sessions that referred to it but could not be opened or saved
};

// Replaces the reference to oldTitle by newTitle in every session that refers to it (the
// protocol part of the terminal side when the session has a terminal protocol, else of the
// transfer side; the remote-host value "Credential Title" follows it) and saves those sessions;
// others are not rewritten. Runs on a worker while a seven-line progress window shows
// progressText (0x6138018B filled by the caller) over parent; the first failure is shown in a
// message box once the window has closed, and also left in failure when given.
CredentialRenameCounts UpdateSessionDatabaseWithCredentialChanges(
    const YUnicodeString& oldTitle, const YUnicodeString& newTitle,
    const IReportMessageParams* progressText, QWidget* parent,
    YReportMessageParams* failure = nullptr);

#pragma GCC visibility pop
