// Internal pieces shared by the session database's sources: the "Sessions" key of the default
// store, paths below it, and telling sessions from folders.
#pragma once

#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <functional>
#include <memory>
#include <set>

namespace rivode::config {

// "Work\Server" → folder "Work", name "Server"; "Server" → folder "", name "Server".
struct ItemPath {
    YUnicodeString folder;
    YUnicodeString name;
};
ItemPath SplitItemPath(const YUnicodeString& path);
YUnicodeString JoinItemPath(const YUnicodeString& folder, const YUnicodeString& name);

// The names of key's subkeys as its listing shows them (the sessions and folders of a folder,
// the entries of a collection).
YStringArray ListSubKeyNames(const YProfileKey& key);

// name when taken(name) is false; otherwise the first of "name (2)", "name (3)", ... that is
// not taken: the variant a new session or folder gets when its name is in use.
YUnicodeString FirstFreeName(const YUnicodeString& name,
                             const std::function<bool(const YUnicodeString&)>& taken);

// The names of one folder's children (sessions and folders, "__FolderData__" included), listed
// once: finding free names for many new items then asks a set in memory instead of the disk
// for every candidate.
class ChildNames {
public:
    // folderKey null: a folder that does not exist yet, which has no children.
    explicit ChildNames(const YProfileKey* folderKey);
    // FirstFreeName among these names; the name given out is added to them.
    YUnicodeString TakeFreeName(const YUnicodeString& name);

private:
    std::set<YUnicodeString, rivode::LessNoCase> names_;
};

// Whether key holds "Is Session".
bool HoldsIsSession(const YProfileKey& key);

// What a child key of a folder is, decided one way for listing, opening, renaming, moving and
// deleting, so that no operation takes for a folder what another showed as a session. A child
// is a session when its key, freshly opened, answers "Is Session" (the INI store answers from
// the value file alone: any file holding bytes, whatever they say), a folder when it exists
// otherwise, and nothing when the store does not hold it (an empty value file, left by a save
// that never wrote its first byte).
enum class ChildKind { None, Folder, Session };
ChildKind KindOfChild(const YProfileKey& folderKey, const YUnicodeString& name);
// The folder predicate of listings: KindOfChild is Folder.
bool IsFolderChild(const YProfileKey& folderKey, const YUnicodeString& name);
// Lists folderKey into listing (ProfileFolderData::LoadListing) without the children the
// store does not hold.
void LoadTreeListing(const YProfileKey& folderKey, ProfileFolderData& listing,
                     int mode = kFolderListStoredOrder);

// The registered default store opened on its "Sessions" key. Keys opened through it are
// committed when destroyed, so open them in a scope that ends before the tree does.
class SessionTree {
public:
    explicit SessionTree(bool create = false);
    SessionTree(const SessionTree&) = delete;
    SessionTree& operator=(const SessionTree&) = delete;

    const YProfileKey& Sessions() const { return sessions_; }
    bool Exists(const YUnicodeString& path) const;
    // The key at path ("" is "Sessions" itself).
    std::unique_ptr<YProfileKey> Open(const YUnicodeString& path) const;
    // The folder key at path; null when path names a session or nothing.
    std::unique_ptr<YProfileKey> OpenFolder(const YUnicodeString& path) const;

private:
    // Mutable: opening a second key on "Sessions" goes through the store's root key.
    mutable YProfileStore store_;
    YProfileKey sessions_;
};

// A folder's order while one of its items changes, stored back when the change is done. Load
// it before the change, so that the order holds the items as they were.
class FolderOrder {
public:
    explicit FolderOrder(const YProfileKey& folderKey);
    // The spelling the store lists for name; name itself when not listed.
    YUnicodeString StoredName(const YUnicodeString& name) const;
    void Append(const YUnicodeString& name, bool isFolder);
    void Rename(const YUnicodeString& name, const YUnicodeString& newName);
    void Remove(const YUnicodeString& name);
    // Stores the order; a failure is not reported (see the definition).
    void Store();

private:
    const YProfileKey& folderKey_;
    ProfileFolderData data_;
    YStringArray folders_;
    YStringArray sessions_;
};

// Calls visit(path, key) for every session below folderKey, whose path is folderPath,
// recursing into folders in key listing order.
void WalkSessions(const YProfileKey& folderKey, const YUnicodeString& folderPath,
                  const std::function<void(const YUnicodeString&, const YProfileKey&)>& visit);

// Fills report with message id (the item as %1, the reason as %2) wrapped around the store's
// reason from status, so the user learns both which item failed and why (the file and the
// system's reason). A status without a reason gives a general one. Returns false for the caller
// to pass on.
bool FailWith(const YReportMessageParams& status, std::uint32_t id, const YUnicodeString& item,
              YReportMessageParams& report);

}  // namespace rivode::config
