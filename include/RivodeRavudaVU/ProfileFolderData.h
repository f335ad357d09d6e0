// ProfileFolderData: the data a session folder keeps about itself, in its key "__FolderData__"
// (the file __FolderData__.ini of an INI configuration folder): the user's order of its child
// folders and sessions, and whether session lists show it expanded.
//
// Each order is stored as one text of names, each followed by ":" (a name never holds ":").
// Listing a folder merges that stored order with the children that really exist: names that
// still exist keep their stored places, names that are gone are dropped, and new children
// follow in code-unit order. A record is used by one thread at a time.
#pragma once

#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileTable.h>

#include <functional>
#include <set>
#include <string_view>

#pragma GCC visibility push(default)

inline constexpr std::u16string_view kFolderDataKeyName = u"__FolderData__";

// The ways of listing a folder.
inline constexpr int kFolderListStoredOrder = 0;
// Children sorted by name without regard to letter case; the stored order is left alone for
// when the user returns to it.
inline constexpr int kFolderListAlphabetical = 1;

// The outcome of merging a stored order with the names that exist.
struct FolderOrderMerge {
    YStringArray names;
    // A stored name was dropped or an existing one appended: the stored order is out of date.
    bool changed = false;
};

// Splits storedList at ":" and keeps, in stored order, each name found in existing (each once);
// the names of existing not listed follow in existing's order.
FolderOrderMerge MergeFolderOrder(std::u16string_view storedList,
                                  const std::set<YUnicodeString>& existing);
// The stored form of an order: every name followed by ":".
YUnicodeString JoinFolderOrder(const YStringArray& names);

class ProfileFolderData : public YProfileTableRecord<ProfileFolderData> {
public:
    YProfileString folderList;   // "Folder List"
    YProfileString sessionList;  // "Session List"
    YProfile<bool> isExpanded;   // "Is Expanded"

    // Tells whether the child of folderKey named name is a folder (rather than a session).
    using FolderPredicate =
        std::function<bool(const YProfileKey& folderKey, const YUnicodeString& name)>;

    // Every value at its default.
    ProfileFolderData();

    static const YProfileTable<ProfileFolderData>& Table();

    // Lists folderKey: enumerates its children (never "__FolderData__"), sorts them into folders
    // and sessions with isFolder, reads the stored values from its "__FolderData__" key and
    // merges (mode kFolderListStoredOrder) or sorts (kFolderListAlphabetical). Afterwards
    // GetFolders/GetSessions hold the listing and IsOrderChanged tells whether it differs from
    // the stored order.
    void LoadListing(const YProfileKey& folderKey, const FolderPredicate& isFolder,
                     int mode = kFolderListStoredOrder);

    const YStringArray& GetFolders() const { return folders_; }
    const YStringArray& GetSessions() const { return sessions_; }
    bool IsOrderChanged() const { return orderChanged_; }

    // Replace the listing (the user reordered it); SaveOrder stores it.
    void SetFolders(YStringArray folders) { folders_ = std::move(folders); }
    void SetSessions(YStringArray sessions) { sessions_ = std::move(sessions); }

    // Writes the listing's order and "Is Expanded" into the "__FolderData__" key of folderKey,
    // and stores the file. false with the reason in report when the key refused the write.
    [[nodiscard]] bool SaveOrder(const YProfileKey& folderKey, YReportMessageParams& report);

private:
    YStringArray folders_;
    YStringArray sessions_;
    bool orderChanged_ = false;
};

#pragma GCC visibility pop
