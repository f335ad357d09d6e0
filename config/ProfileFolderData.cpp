#include <RivodeRavudaVU/ProfileFolderData.h>

#include <algorithm>

namespace {

constexpr char16_t kOrderSeparator = u':';

// A folder's children by kind, each set in code-unit order.
struct FolderChildren {
    std::set<YUnicodeString> folders;
    std::set<YUnicodeString> sessions;
};

FolderChildren ReadChildren(const YProfileKey& folderKey,
                            const ProfileFolderData::FolderPredicate& isFolder) {
    FolderChildren children;
    YProfileKeyIterator iterator(folderKey, false);
    YUnicodeString name;
    while (iterator.Next(name)) {
        if (rivode::EqualsNoCase(name, kFolderDataKeyName)) {
            continue;
        }
        (isFolder(folderKey, name) ? children.folders : children.sessions).insert(name);
    }
    return children;
}

YStringArray SortedNoCase(const std::set<YUnicodeString>& names) {
    YStringArray sorted(names.begin(), names.end());
    // Stable over the code-unit order, so names equal but for letter case keep a fixed order.
    std::stable_sort(sorted.begin(), sorted.end(), rivode::LessNoCase());
    return sorted;
}

}  // namespace

FolderOrderMerge MergeFolderOrder(std::u16string_view storedList,
                                  const std::set<YUnicodeString>& existing) {
    FolderOrderMerge merge;
    std::set<YUnicodeString> remaining = existing;
    std::size_t start = 0;
    while (start < storedList.size()) {
        std::size_t end = storedList.find(kOrderSeparator, start);
        if (end == std::u16string_view::npos) {
            end = storedList.size();
        }
        const YUnicodeString name(storedList.substr(start, end - start));
        start = end + 1;
        if (name.empty()) {
            continue;
        }
        if (remaining.erase(name) == 1) {
            merge.names.push_back(name);
        } else {
            merge.changed = true;
        }
    }
    merge.changed = merge.changed || !remaining.empty();
    merge.names.insert(merge.names.end(), remaining.begin(), remaining.end());
    return merge;
}

YUnicodeString JoinFolderOrder(const YStringArray& names) {
    YUnicodeString joined;
    for (const YUnicodeString& name : names) {
        joined += name;
        joined += kOrderSeparator;
    }
    return joined;
}

ProfileFolderData::ProfileFolderData() {
    Init(nullptr);
}

const YProfileTable<ProfileFolderData>& ProfileFolderData::Table() {
    static const auto table = YProfileTable<ProfileFolderData>()
                                  .Add(&ProfileFolderData::folderList, u"Folder List", u"")
                                  .Add(&ProfileFolderData::sessionList, u"Session List", u"")
                                  .Add(&ProfileFolderData::isExpanded, u"Is Expanded", false);
    return table;
}

void ProfileFolderData::LoadListing(const YProfileKey& folderKey, const FolderPredicate& isFolder,
                                    int mode) {
    const FolderChildren children = ReadChildren(folderKey, isFolder);
    const YProfileKey dataKey(folderKey, kFolderDataKeyName);
    Init(&dataKey);
    if (mode == kFolderListAlphabetical) {
        folders_ = SortedNoCase(children.folders);
        sessions_ = SortedNoCase(children.sessions);
        orderChanged_ = false;
        return;
    }
    FolderOrderMerge folders = MergeFolderOrder(folderList.Get(), children.folders);
    FolderOrderMerge sessions = MergeFolderOrder(sessionList.Get(), children.sessions);
    folders_ = std::move(folders.names);
    sessions_ = std::move(sessions.names);
    orderChanged_ = folders.changed || sessions.changed;
}

bool ProfileFolderData::SaveOrder(const YProfileKey& folderKey, YReportMessageParams& report) {
    folderList = JoinFolderOrder(folders_);
    sessionList = JoinFolderOrder(sessions_);
    const YProfileKey dataKey(folderKey, kFolderDataKeyName);
    if (!Save(dataKey) || !dataKey.Flush()) {
        report.Assign(&dataKey.GetStatus());
        return false;
    }
    orderChanged_ = false;
    return true;
}
