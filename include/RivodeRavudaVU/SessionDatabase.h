// The session database: the library's view of every stored session, a tree of folders and
// sessions under the key "Sessions" of the registered default profile store.
//
// A child key holding the value "Is Session" is a session (its key name is the session's name);
// any other child key is a folder, which may hold further folders and sessions. Each folder keeps
// the user's order of its children in its "__FolderData__" key (ProfileFolderData.h). Paths are
// the folder names and the name below "Sessions" joined by "\" ("Work\Jump\Server"); the empty
// path is the top folder. Names compare without regard to letter case, as the store does.
//
// "Default" directly under "Sessions" is the template of new sessions. It exists even before it
// is first saved: opening it then gives a record of defaults.
//
// One instance per process (GetSessionDatabaseImpl). Its lock serialises its cached collection
// listings and button-bar settings; the store itself serialises access to each stored file.
// Session records it hands out belong to the caller. Item operations never show anything: they
// return false with the reason in a report, which the caller shows.
#pragma once

#include <RivodeRavudaVU/ISessionConfig.h>
#include <RivodeRavudaVU/ProfileFolderData.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

inline constexpr std::u16string_view kIsSessionValueName = u"Is Session";

// Button bars: the current key, and the older keys read (in this order) when it is absent.
inline constexpr std::u16string_view kButtonBarKeyName = u"ButtonBarV5";
inline constexpr std::array<std::u16string_view, 4> kOlderButtonBarKeyNames = {
    u"ButtonBarV4", u"ButtonBarV3", u"ButtonBarV2", u"ButtonBar"};
inline constexpr std::u16string_view kSortAlphabeticallyValueName = u"Sort Alphabetically";

// The named collections stored beside the sessions, each under a key of its own at the root of
// the store.
enum class SessionCollection { ButtonBars, Firewalls, Keywords, ScheduledTasks, Synchronize };
// The key of a collection ("Firewalls", "Keywords", ...; button bars: the key in use).
std::u16string_view GetCollectionKeyName(SessionCollection collection);

// What applying the default session's changes did. Every session met that was not updated is
// counted under exactly one cause.
struct ApplyToAllCounts {
    std::size_t updated = 0;     // sessions that took the changes and were saved, or held them
                                 // already (those are not rewritten)
    std::size_t seen = 0;        // every session met, failed ones included
    std::size_t readOnly = 0;    // read-only sessions (left alone) or a read-only file system
    std::size_t noSpace = 0;     // the disk or the user's quota was full
    std::size_t permission = 0;  // the system refused access to a file or folder
    std::size_t other = 0;       // any other failure (an input/output error, a refused file, ...)
    // Sessions left alone because a protocol they name is offered by no loaded module (a module
    // refused by policy, or a product that does not load that side's modules): saving them would
    // store another protocol in its place.
    std::size_t unknownProtocol = 0;

    std::size_t Failed() const { return readOnly + noSpace + permission + other + unknownProtocol; }
};

// The reports that tell the user why sessions were not updated: one for each cause that has a
// count, in the order read-only, no space, permission, other, unknown protocol (each "Of your N
// sessions, M could not be updated because ..."). Empty when nothing failed.
std::vector<YReportMessageParams> DescribeApplyToAllFailures(const ApplyToAllCounts& counts);

// Called with the path of each session whose save failed and the report that says why (the
// session, its file and the system's reason). Read-only sessions are not tried, so they are only
// counted.
using ApplyToAllFailureSink =
    std::function<void(const YUnicodeString& path, YReportMessageParams& report)>;

// One session of a batch (a text import) ready to be stored.
struct PreparedSession {
    YUnicodeString name;
    // The folder path it goes into ("Work\Jump"; empty: the top folder).
    YUnicodeString folder;
    // Text of the source line that fitted no field; reported, the session is still stored.
    YUnicodeString extraText;
    // The folder could not be used: the session goes into the top folder instead.
    bool folderInvalid = false;
    YRefPtr<ISessionConfig> session;
};

// Receives the reports of a batch, in batch order: a warning for an invalid folder or extra
// text, a line for each session created, an error for each session that could not be stored.
class ISessionBatchSink {
public:
    virtual ~ISessionBatchSink() = default;
    virtual void Report(const YReportMessageParams& report) = 0;
};

class SessionDatabaseImpl {
public:
    // Opens the button-bar key (converting an older one into "ButtonBarV5") and reads its sort
    // flag. product: the host's product number.
    explicit SessionDatabaseImpl(int product);
    SessionDatabaseImpl(const SessionDatabaseImpl&) = delete;
    SessionDatabaseImpl& operator=(const SessionDatabaseImpl&) = delete;

    int GetProduct() const { return product_; }

    // ---- Sessions

    // A new record loaded from the session at path and given its path; null when path is not a
    // session. "Default" (exactly so) when not stored gives a record of defaults.
    YRefPtr<ISessionConfig> OpenSession(const YUnicodeString& path) const;
    // The same, telling why: null with report filled when path is not a session, or when its
    // file could not be read (a record of defaults in its place could later be saved over it).
    YRefPtr<ISessionConfig> OpenSession(const YUnicodeString& path,
                                        YReportMessageParams& report) const;
    // Whether path is a stored key that holds "Is Session" / one that does not. A missing key is
    // neither.
    bool IsSession(const YUnicodeString& path) const;
    bool IsFolder(const YUnicodeString& path) const;
    bool Exists(const YUnicodeString& path) const;

    // Saves session into the key of its path. Without create the key must exist, and the path
    // "Default" is never saved; with create the key is made (its folders included) and a new
    // session is appended to its folder's order. false with the reason in report.
    [[nodiscard]] bool SaveSession(ISessionConfig& session, bool create,
                                   YReportMessageParams& report);

    // Calls visit with the path of every session of the tree, each folder's children in key
    // listing order.
    void EnumerateSessions(const std::function<void(const YUnicodeString& path)>& visit) const;

    // Takes into every stored session (the top folder's "Default" excepted: it is the source)
    // the values that are changed in defaultSession, and saves it. A session keeps its protocols
    // (ISessionConfig::ApplyChangesFrom). Sessions whose keys cannot be written are counted as
    // read-only and left alone, sessions naming a protocol no loaded module offers are counted
    // under unknownProtocol and left alone; a save that fails is counted by its cause and, when
    // given, reported to onFailure. One failure never stops the others. The sessions reach the
    // disk through one sync at the end; when it fails, every session saved counts as failed
    // under its cause.
    ApplyToAllCounts ApplyDefaultSessionChangesToAll(const ISessionConfig& defaultSession,
                                                     const ApplyToAllFailureSink& onFailure = {});
    // The same walk, taking from defaultSession the values called names, changed or not
    // (SessionConfig::ApplyValuesFrom): how a user applies chosen values of the stored default
    // session.
    ApplyToAllCounts ApplyDefaultSessionValuesToAll(const ISessionConfig& defaultSession,
                                                    const std::vector<YUnicodeString>& names,
                                                    const ApplyToAllFailureSink& onFailure = {});

    // ---- Folders and items

    // The children of the folder at path in the user's order (or sorted, mode
    // kFolderListAlphabetical). false when path is not a folder (the top folder always is).
    [[nodiscard]] bool ListFolder(const YUnicodeString& path, ProfileFolderData& listing,
                                  int mode = kFolderListStoredOrder) const;
    // Stores the order of listing for the folder at path (after the user reordered it).
    [[nodiscard]] bool SaveFolderOrder(const YUnicodeString& path, ProfileFolderData& listing,
                                       YReportMessageParams& report);

    // Makes the folder at path ("Work\New") and appends it to its parent's order.
    [[nodiscard]] bool CreateFolder(const YUnicodeString& path, YReportMessageParams& report);
    // Renames the session or folder at path; its entry in the folder's order is renamed in place.
    // A change of letter case only is a rename too.
    [[nodiscard]] bool RenameItem(const YUnicodeString& path, const YUnicodeString& newName,
                                  YReportMessageParams& report);
    // Moves the session or folder at path into the folder at folderPath, keeping its name: it
    // leaves its old folder's order and is appended to the new one's.
    [[nodiscard]] bool MoveItem(const YUnicodeString& path, const YUnicodeString& folderPath,
                                YReportMessageParams& report);
    // Deletes the session or the folder (with everything in it) at path and its order entry.
    [[nodiscard]] bool DeleteItem(const YUnicodeString& path, YReportMessageParams& report);

    // Whether a new session (or folder) may be made at path: its folder exists and the name
    // keeps the name rules and is not taken there. false with the first failure in report.
    [[nodiscard]] bool ValidateNewItemPath(const YUnicodeString& path, bool isFolder,
                                           YReportMessageParams& report) const;

    // name when the folder at folderPath has no child of that name; otherwise the first of
    // "name (2)", "name (3)", ... that it has not.
    YUnicodeString MakeUniqueName(const YUnicodeString& folderPath,
                                  const YUnicodeString& name) const;

    // Stores every session of batch under its folder and name, reporting to sink; a name that is
    // taken gets a unique variant. Returns the number of sessions stored.
    std::size_t CreateSessionsFromFile(std::vector<PreparedSession>& batch,
                                       ISessionBatchSink& sink);

    // ---- Named collections

    // The key that holds the button bars: "ButtonBarV5", or the older key still in use when it
    // could not be converted.
    YUnicodeString GetButtonBarKeyName() const;
    // "Sort Alphabetically" of the button-bar key (default on); setting stores it.
    bool GetButtonBarSortAlphabetically() const;
    [[nodiscard]] bool SetButtonBarSortAlphabetically(bool on, YReportMessageParams& report);

    // The names of a collection's entries (subkeys of its key), read on first use and kept
    // until ForgetCollection.
    YStringArray GetCollectionNames(SessionCollection collection);
    void ForgetCollection(SessionCollection collection);

private:
    int product_;
    mutable std::mutex lock_;
    std::map<SessionCollection, YStringArray> collections_;
    YUnicodeString buttonBarKeyName_;
    bool buttonBarSortAlphabetically_ = true;
};

// The process's database, created on first call for the host's product under a global lock.
// The pointer stays valid until FreeSessionDatabaseImpl; callers never delete it.
SessionDatabaseImpl* GetSessionDatabaseImpl();
// Detaches the process's database under the global lock and destroys it after releasing the
// lock (the library's cleanup on unload). A second call finds nothing to free.
void FreeSessionDatabaseImpl();

// Stores a session that was opened outside the tree as "Sessions\" + name (name may hold
// folders), writing every value, defaults included. The session takes that path. false with
// the reason in report.
[[nodiscard]] bool AdHocSessionSaveToDB(ISessionConfig* session, const YUnicodeString& name,
                                        YReportMessageParams& report);

#pragma GCC visibility pop
