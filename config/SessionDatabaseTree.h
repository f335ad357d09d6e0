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
// The folder predicate of listings: the child name of folderKey lacks "Is Session".
bool IsFolderChild(const YProfileKey& folderKey, const YUnicodeString& name);

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
