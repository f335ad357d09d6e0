// Listing folders and the operations on their items. Every operation that adds, renames, moves
// or removes an item updates its folder's stored order in the same call, so session lists keep
// showing the user's arrangement.
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/SessionNameValidation.h>

#include "config/SessionDatabaseTree.h"
#include "storage/ini/ValueFile.h"

#include <algorithm>
#include <string>

namespace msg = rivode::msg;
using namespace rivode::config;

namespace {

bool IsOnlyDots(std::u16string_view name) {
    return std::all_of(name.begin(), name.end(), [](char16_t c) { return c == u'.'; });
}

// The name rules for an item about to be called newName in folderKey.
bool ValidateItemName(const YProfileKey& folderKey, const YUnicodeString& oldName,
                      const YUnicodeString& newName, bool isNew, bool isFolder,
                      YReportMessageParams& report) {
    const YUnicodeString kind =
        LoadMessageString(isFolder ? msg::ItemKindFolder : msg::ItemKindSession);
    // The folder's own data key is never listed, so an item of that name would vanish.
    const bool targetExists =
        rivode::EqualsNoCase(newName, kFolderDataKeyName) || folderKey.SubKeyExists(newName);
    if (!ValidateKeyName(oldName, newName, isNew, kind, targetExists, report)) {
        return false;
    }
    if (IsOnlyDots(newName)) {
        report.SetMessage(msg::NameOnlyDots);
        report.AddString(newName);
        return false;
    }
    YRefPtr<YReportMessageParams> verdict;
    if (!folderKey.CheckSubKeyName(newName, &verdict)) {
        return FailWith(verdict ? *verdict : YReportMessageParams(), msg::SessionItemChangeFailed,
                        newName, report);
    }
    return true;
}

bool ReportNotFound(std::uint32_t id, const YUnicodeString& path, YReportMessageParams& report) {
    report.SetMessage(id);
    report.AddString(path);
    return false;
}

// The folder key holding the existing item at path, and what the item is; null with the report
// when there is none.
std::unique_ptr<YProfileKey> OpenItemFolder(const SessionTree& tree, const ItemPath& item,
                                            const YUnicodeString& path, ChildKind& kind,
                                            YReportMessageParams& report) {
    std::unique_ptr<YProfileKey> folder = tree.OpenFolder(item.folder);
    kind = folder && !item.name.empty() ? KindOfChild(*folder, item.name) : ChildKind::None;
    if (kind == ChildKind::None) {
        ReportNotFound(msg::SessionItemNotFound, path, report);
        return nullptr;
    }
    return folder;
}

// Copies the values of source and, recursively, its subkeys into target, failing with the
// store's reason when any key of source could not be read: a key that fails to read copies as
// empty, and the source is removed after the copy. item names the item in the report.
bool CopyKeyWhole(YProfileKey& target, const YProfileKey& source, const YUnicodeString& item,
                  YReportMessageParams& report) {
    const bool copied = CopyProfileKeyValues(target, source);
    if (!source.GetStatus().IsSuccess()) {
        return FailWith(source.GetStatus(), msg::SessionItemChangeFailed, item, report);
    }
    if (!copied) {
        return FailWith(target.GetStatus(), msg::SessionItemChangeFailed, item, report);
    }
    for (const YUnicodeString& child : ListSubKeyNames(source)) {
        const ChildKind kind = KindOfChild(source, child);
        if (kind == ChildKind::None) {
            continue;
        }
        const YProfileKey from(source, child);
        // A folder must exist even when it holds nothing; a session is only its value file.
        YProfileKey to(target, child, kind == ChildKind::Folder);
        if (!CopyKeyWhole(to, from, item, report)) {
            return false;
        }
        if (!to.Flush()) {
            return FailWith(to.GetStatus(), msg::SessionItemChangeFailed, item, report);
        }
    }
    return true;
}

// Removes the item name of folderKey as far as listings show it: a session with its key, a
// folder after its children and only when nothing is left in it. The store removes a key with
// all it holds, also what a name spelt another way hides from listings (a folder "both" beside
// the value file "Both.ini" lists as the session alone, and the key "Both" does not reach it):
// that was never copied, so it must not go either. It surfaces once the session's file is gone,
// and stays; complete tells whether anything stayed. false when the store refused a removal.
bool RemoveListed(const YProfileKey& folderKey, const YUnicodeString& name, bool& complete) {
    if (KindOfChild(folderKey, name) != ChildKind::Folder) {
        return folderKey.DeleteSubKey(name);
    }
    {
        const YProfileKey folder(folderKey, name);
        for (const YUnicodeString& child : ListSubKeyNames(folder)) {
            if (!RemoveListed(folder, child, complete)) {
                return false;
            }
        }
    }
    // Listed afresh: a key keeps the spellings it listed, the removed ones included.
    if (!ListSubKeyNames(YProfileKey(folderKey, name)).empty()) {
        complete = false;
        return true;
    }
    return folderKey.DeleteSubKey(name);
}

// Copies the item name of sourceFolder (with everything in it) to newName in targetFolder, then
// removes the source. The source goes only when the copy holds all of it: every key was read
// whole and the copy is an item of the same kind (a session whose file holds nothing the store
// can read would not come out as one). A failure leaves the source as it was.
bool MoveKey(const YProfileKey& sourceFolder, const YUnicodeString& name,
             const YProfileKey& targetFolder, const YUnicodeString& newName,
             YReportMessageParams& report) {
    const ChildKind kind = KindOfChild(sourceFolder, name);
    bool copied = false;
    {
        // A folder of thousands of sessions is copied without a sync per session; the copy is
        // all on the disk (the batch's end) before any of the source goes.
        rivode::storage::ValueFileSyncBatch batch;
        {
            const YProfileKey source(sourceFolder, name);
            YProfileKey target(targetFolder, newName, kind == ChildKind::Folder);
            copied = CopyKeyWhole(target, source, name, report);
            if (copied && !target.Flush()) {
                copied = FailWith(target.GetStatus(), msg::SessionItemChangeFailed, name, report);
            }
        }
        if (const rivode::storage::ValueFileError error = batch.End(); copied && error) {
            YReportMessageParams status;
            SetFileErrorReport(status, error.error, error.path);
            copied = FailWith(status, msg::SessionItemChangeFailed, name, report);
        }
    }
    if (copied && KindOfChild(targetFolder, newName) != kind) {
        report.SetMessage(msg::SessionItemNotCopiedWhole);
        report.AddString(name);
        copied = false;
    }
    // The half-made copy goes only after its key object is gone, which would write it again.
    if (!copied) {
        targetFolder.DeleteSubKey(newName);
        return false;
    }
    if (kind == ChildKind::Session) {
        if (!sourceFolder.DeleteSubKey(name)) {
            // Two copies would confuse the user more than the move not happening.
            FailWith(sourceFolder.GetStatus(), msg::SessionItemChangeFailed, name, report);
            targetFolder.DeleteSubKey(newName);
            return false;
        }
        return true;
    }
    // A folder goes child by child: once part of it is gone, the copy is all that holds that
    // part, so a failure keeps both.
    bool complete = true;
    if (!RemoveListed(sourceFolder, name, complete)) {
        return FailWith(sourceFolder.GetStatus(), msg::SessionItemChangeFailed, name, report);
    }
    if (!complete) {
        report.SetMessage(msg::SessionFolderMovedInPart);
        report.AddString(name);
        return false;
    }
    return true;
}

// Whether the session key name of folderKey holds subkeys of its own: a folder of the same
// name stored with it, whose children no listing shows (the name lists as the session).
bool SessionHoldsFolder(const YProfileKey& folderKey, const YUnicodeString& name) {
    const YStringArray children = ListSubKeyNames(YProfileKey(folderKey, name));
    return std::any_of(children.begin(), children.end(), [](const YUnicodeString& child) {
        return !rivode::EqualsNoCase(child, kFolderDataKeyName);
    });
}

// A name that only changes letter case names the same key in the store: it moves through a
// free temporary name first. The second step opens the folder afresh, because a folder key keeps
// the spellings it listed, the removed one included.
bool RenameKey(const SessionTree& tree, const YUnicodeString& folderPath,
               const YProfileKey& folderKey, const YUnicodeString& name,
               const YUnicodeString& newName, YReportMessageParams& report) {
    if (!rivode::EqualsNoCase(name, newName)) {
        return MoveKey(folderKey, name, folderKey, newName, report);
    }
    YUnicodeString temporary = newName + u'~';
    while (folderKey.SubKeyExists(temporary)) {
        temporary += u'~';
    }
    if (!MoveKey(folderKey, name, folderKey, temporary, report)) {
        return false;
    }
    const std::unique_ptr<YProfileKey> fresh = tree.Open(folderPath);
    if (!MoveKey(*fresh, temporary, *fresh, newName, report)) {
        YReportMessageParams ignored;
        static_cast<void>(MoveKey(*fresh, temporary, *fresh, name, ignored));
        return false;
    }
    return true;
}

bool IsWithin(const YUnicodeString& path, const YUnicodeString& folder) {
    return rivode::EqualsNoCase(path, folder) ||
           (path.size() > folder.size() && path[folder.size()] == u'\\' &&
            rivode::StartsWithNoCase(path, folder));
}

}  // namespace

bool SessionDatabaseImpl::ListFolder(const YUnicodeString& path, ProfileFolderData& listing,
                                     int mode) const {
    const SessionTree tree;
    const std::unique_ptr<YProfileKey> folder = tree.OpenFolder(path);
    if (!folder) {
        return false;
    }
    LoadTreeListing(*folder, listing, mode);
    return true;
}

bool SessionDatabaseImpl::SaveFolderOrder(const YUnicodeString& path, ProfileFolderData& listing,
                                          YReportMessageParams& report) {
    const SessionTree tree;
    const std::unique_ptr<YProfileKey> folder = tree.OpenFolder(path);
    if (!folder) {
        return ReportNotFound(msg::SessionFolderNotFound, path, report);
    }
    return listing.SaveOrder(*folder, report);
}

bool SessionDatabaseImpl::ValidateNewItemPath(const YUnicodeString& path, bool isFolder,
                                              YReportMessageParams& report) const {
    const ItemPath item = SplitItemPath(path);
    const SessionTree tree;
    const std::unique_ptr<YProfileKey> parent = tree.OpenFolder(item.folder);
    if (!parent) {
        return ReportNotFound(msg::SessionFolderNotFound, item.folder, report);
    }
    return ValidateItemName(*parent, {}, item.name, true, isFolder, report);
}

bool SessionDatabaseImpl::CreateFolder(const YUnicodeString& path, YReportMessageParams& report) {
    const ItemPath item = SplitItemPath(path);
    const SessionTree tree(true);
    const std::unique_ptr<YProfileKey> parent = tree.OpenFolder(item.folder);
    if (!parent) {
        return ReportNotFound(msg::SessionFolderNotFound, item.folder, report);
    }
    if (!ValidateItemName(*parent, {}, item.name, true, true, report)) {
        return false;
    }
    FolderOrder order(*parent);
    {
        const YProfileKey created(*parent, item.name, true);
        if (!parent->SubKeyExists(item.name)) {
            return FailWith(created.GetStatus(), msg::SessionItemChangeFailed, path, report);
        }
    }
    order.Append(item.name, true);
    order.Store();
    return true;
}

bool SessionDatabaseImpl::RenameItem(const YUnicodeString& path, const YUnicodeString& newName,
                                     YReportMessageParams& report) {
    const ItemPath item = SplitItemPath(path);
    const SessionTree tree;
    ChildKind kind = ChildKind::None;
    const std::unique_ptr<YProfileKey> parent = OpenItemFolder(tree, item, path, kind, report);
    if (!parent) {
        return false;
    }
    FolderOrder order(*parent);
    const YUnicodeString oldName = order.StoredName(item.name);
    if (newName == oldName) {
        return true;
    }
    const bool isFolder = kind == ChildKind::Folder;
    if (!ValidateItemName(*parent, oldName, newName, false, isFolder, report) ||
        !RenameKey(tree, item.folder, *parent, oldName, newName, report)) {
        return false;
    }
    order.Rename(oldName, newName);
    order.Store();
    return true;
}

bool SessionDatabaseImpl::MoveItem(const YUnicodeString& path, const YUnicodeString& folderPath,
                                   YReportMessageParams& report) {
    const ItemPath item = SplitItemPath(path);
    const SessionTree tree;
    ChildKind kind = ChildKind::None;
    const std::unique_ptr<YProfileKey> source = OpenItemFolder(tree, item, path, kind, report);
    if (!source) {
        return false;
    }
    const std::unique_ptr<YProfileKey> target = tree.OpenFolder(folderPath);
    if (!target) {
        return ReportNotFound(msg::SessionFolderNotFound, folderPath, report);
    }
    if (rivode::EqualsNoCase(item.folder, folderPath)) {
        return true;
    }
    const bool isFolder = kind == ChildKind::Folder;
    if (isFolder && IsWithin(folderPath, path)) {
        return ReportNotFound(msg::FolderMoveIntoItself, path, report);
    }
    FolderOrder sourceOrder(*source);
    const YUnicodeString name = sourceOrder.StoredName(item.name);
    if (!ValidateItemName(*target, name, name, true, isFolder, report)) {
        return false;
    }
    FolderOrder targetOrder(*target);
    if (!MoveKey(*source, name, *target, name, report)) {
        return false;
    }
    sourceOrder.Remove(name);
    sourceOrder.Store();
    targetOrder.Append(name, isFolder);
    targetOrder.Store();
    return true;
}

bool SessionDatabaseImpl::DeleteItem(const YUnicodeString& path, YReportMessageParams& report) {
    const ItemPath item = SplitItemPath(path);
    const SessionTree tree;
    ChildKind kind = ChildKind::None;
    const std::unique_ptr<YProfileKey> parent = OpenItemFolder(tree, item, path, kind, report);
    if (!parent) {
        return false;
    }
    // The store removes a key with all it holds: the hidden folder would go with the session.
    if (kind == ChildKind::Session && SessionHoldsFolder(*parent, item.name)) {
        return ReportNotFound(msg::SessionDeleteHoldsFolder, path, report);
    }
    FolderOrder order(*parent);
    if (!parent->DeleteSubKey(item.name)) {
        return FailWith(parent->GetStatus(), msg::SessionItemChangeFailed, path, report);
    }
    order.Remove(item.name);
    order.Store();
    return true;
}

YUnicodeString SessionDatabaseImpl::MakeUniqueName(const YUnicodeString& folderPath,
                                                   const YUnicodeString& name) const {
    const SessionTree tree;
    const std::unique_ptr<YProfileKey> folder = tree.OpenFolder(folderPath);
    return FirstFreeName(name, [&folder](const YUnicodeString& candidate) {
        return folder && folder->SubKeyExists(candidate);
    });
}
