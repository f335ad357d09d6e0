// Listing folders and the operations on their items. Every operation that adds, renames, moves
// or removes an item updates its folder's stored order in the same call, so session lists keep
// showing the user's arrangement.
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/SessionNameValidation.h>

#include "config/SessionDatabaseTree.h"

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

// The folder key holding the existing item at path; null with the report when there is none.
std::unique_ptr<YProfileKey> OpenItemFolder(const SessionTree& tree, const ItemPath& item,
                                            const YUnicodeString& path,
                                            YReportMessageParams& report) {
    std::unique_ptr<YProfileKey> folder = tree.OpenFolder(item.folder);
    if (!folder || item.name.empty() || !folder->SubKeyExists(item.name)) {
        ReportNotFound(msg::SessionItemNotFound, path, report);
        return nullptr;
    }
    return folder;
}

// Copies the key name of sourceFolder (with everything in it) to newName in targetFolder, then
// removes the source. A failure leaves the source as it was.
bool MoveKey(const YProfileKey& sourceFolder, const YUnicodeString& name,
             const YProfileKey& targetFolder, const YUnicodeString& newName,
             YReportMessageParams& report) {
    bool copied = false;
    {
        const YProfileKey source(sourceFolder, name);
        // A session is only its value file; a folder must exist even when it holds nothing.
        YProfileKey target(targetFolder, newName, !HoldsIsSession(source));
        copied = CopyProfileKey(target, source) && target.Flush();
        if (!copied) {
            FailWith(target.GetStatus(), msg::SessionItemChangeFailed, name, report);
        }
    }
    // The half-made copy goes only after its key object is gone, which would write it again.
    if (!copied) {
        targetFolder.DeleteSubKey(newName);
        return false;
    }
    if (!sourceFolder.DeleteSubKey(name)) {
        // Two copies would confuse the user more than the move not happening.
        FailWith(sourceFolder.GetStatus(), msg::SessionItemChangeFailed, name, report);
        targetFolder.DeleteSubKey(newName);
        return false;
    }
    return true;
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
    listing.LoadListing(*folder, IsFolderChild, mode);
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
    const std::unique_ptr<YProfileKey> parent = OpenItemFolder(tree, item, path, report);
    if (!parent) {
        return false;
    }
    FolderOrder order(*parent);
    const YUnicodeString oldName = order.StoredName(item.name);
    if (newName == oldName) {
        return true;
    }
    const bool isFolder = IsFolderChild(*parent, oldName);
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
    const std::unique_ptr<YProfileKey> source = OpenItemFolder(tree, item, path, report);
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
    const bool isFolder = IsFolderChild(*source, item.name);
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
    const std::unique_ptr<YProfileKey> parent = OpenItemFolder(tree, item, path, report);
    if (!parent) {
        return false;
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
