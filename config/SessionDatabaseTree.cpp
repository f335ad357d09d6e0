#include "config/SessionDatabaseTree.h"

#include <RivodeRavudaVU/RivodeMessages.h>

#include <algorithm>
#include <string>

namespace rivode::config {

ItemPath SplitItemPath(const YUnicodeString& path) {
    const std::size_t slash = path.rfind(u'\\');
    if (slash == YUnicodeString::npos) {
        return {YUnicodeString(), path};
    }
    return {path.substr(0, slash), path.substr(slash + 1)};
}

YUnicodeString JoinItemPath(const YUnicodeString& folder, const YUnicodeString& name) {
    return folder.empty() ? name : folder + u'\\' + name;
}

YStringArray ListSubKeyNames(const YProfileKey& key) {
    YStringArray names;
    YProfileKeyIterator iterator(key, false);
    YUnicodeString name;
    while (iterator.Next(name)) {
        names.push_back(name);
    }
    return names;
}

bool HoldsIsSession(const YProfileKey& key) {
    std::uint32_t ignored = 0;
    return key.GetDword(kIsSessionValueName, ignored);
}

ChildKind KindOfChild(const YProfileKey& folderKey, const YUnicodeString& name) {
    if (HoldsIsSession(YProfileKey(folderKey, name))) {
        return ChildKind::Session;
    }
    return folderKey.SubKeyExists(name) ? ChildKind::Folder : ChildKind::None;
}

bool IsFolderChild(const YProfileKey& folderKey, const YUnicodeString& name) {
    return KindOfChild(folderKey, name) == ChildKind::Folder;
}

void LoadTreeListing(const YProfileKey& folderKey, ProfileFolderData& listing, int mode) {
    std::set<YUnicodeString> absent;
    listing.LoadListing(
        folderKey,
        [&absent](const YProfileKey& folder, const YUnicodeString& name) {
            const ChildKind kind = KindOfChild(folder, name);
            if (kind == ChildKind::None) {
                absent.insert(name);
            }
            return kind == ChildKind::Folder;
        },
        mode);
    if (absent.empty()) {
        return;
    }
    YStringArray sessions = listing.GetSessions();
    std::erase_if(sessions,
                  [&absent](const YUnicodeString& name) { return absent.contains(name); });
    listing.SetSessions(std::move(sessions));
}

YUnicodeString FirstFreeName(const YUnicodeString& name,
                             const std::function<bool(const YUnicodeString&)>& taken) {
    YUnicodeString candidate = name;
    for (unsigned number = 2; taken(candidate); ++number) {
        candidate = name + u" (" + rivode::FromAscii(std::to_string(number)) + u")";
    }
    return candidate;
}

ChildNames::ChildNames(const YProfileKey* folderKey) {
    if (folderKey == nullptr) {
        return;
    }
    YProfileKeyIterator iterator(*folderKey, false);
    YUnicodeString name;
    while (iterator.Next(name)) {
        names_.insert(name);
    }
}

YUnicodeString ChildNames::TakeFreeName(const YUnicodeString& name) {
    YUnicodeString free = FirstFreeName(
        name, [this](const YUnicodeString& candidate) { return names_.contains(candidate); });
    names_.insert(free);
    return free;
}

SessionTree::SessionTree(bool create) : sessions_(store_.GetRootKey(), kSessionsKeyName, create) {}

bool SessionTree::Exists(const YUnicodeString& path) const {
    return path.empty() || sessions_.SubKeyExists(path);
}

std::unique_ptr<YProfileKey> SessionTree::Open(const YUnicodeString& path) const {
    if (path.empty()) {
        return std::make_unique<YProfileKey>(store_.GetRootKey(), kSessionsKeyName);
    }
    return std::make_unique<YProfileKey>(sessions_, path);
}

std::unique_ptr<YProfileKey> SessionTree::OpenFolder(const YUnicodeString& path) const {
    if (!Exists(path)) {
        return nullptr;
    }
    std::unique_ptr<YProfileKey> key = Open(path);
    if (!path.empty() && HoldsIsSession(*key)) {
        return nullptr;
    }
    return key;
}

namespace {

// The listing's entry for name (of either kind), matched as the store matches names.
template <class Names>
auto* FindEntry(Names& names, const YUnicodeString& name) {
    const auto found = std::find_if(names.begin(), names.end(), [&](const YUnicodeString& entry) {
        return rivode::EqualsNoCase(entry, name);
    });
    return found == names.end() ? nullptr : &*found;
}

}  // namespace

FolderOrder::FolderOrder(const YProfileKey& folderKey) : folderKey_(folderKey) {
    LoadTreeListing(folderKey, data_);
    folders_ = data_.GetFolders();
    sessions_ = data_.GetSessions();
}

YUnicodeString FolderOrder::StoredName(const YUnicodeString& name) const {
    for (const YStringArray* names : {&folders_, &sessions_}) {
        if (const YUnicodeString* entry = FindEntry(*names, name)) {
            return *entry;
        }
    }
    return name;
}

void FolderOrder::Append(const YUnicodeString& name, bool isFolder) {
    (isFolder ? folders_ : sessions_).push_back(name);
}

void FolderOrder::Rename(const YUnicodeString& name, const YUnicodeString& newName) {
    for (YStringArray* names : {&folders_, &sessions_}) {
        if (YUnicodeString* entry = FindEntry(*names, name)) {
            *entry = newName;
        }
    }
}

void FolderOrder::Remove(const YUnicodeString& name) {
    for (YStringArray* names : {&folders_, &sessions_}) {
        std::erase_if(
            *names, [&](const YUnicodeString& entry) { return rivode::EqualsNoCase(entry, name); });
    }
}

// The item itself has changed already; an order that could not be stored only costs the user
// the arrangement, which the next listing rebuilds from what exists.
void FolderOrder::Store() {
    data_.SetFolders(std::move(folders_));
    data_.SetSessions(std::move(sessions_));
    YReportMessageParams ignored;
    static_cast<void>(data_.SaveOrder(folderKey_, ignored));
}

void WalkSessions(const YProfileKey& folderKey, const YUnicodeString& folderPath,
                  const std::function<void(const YUnicodeString&, const YProfileKey&)>& visit) {
    YStringArray names;
    {
        YProfileKeyIterator iterator(folderKey, false);
        YUnicodeString name;
        while (iterator.Next(name)) {
            if (!rivode::EqualsNoCase(name, kFolderDataKeyName)) {
                names.push_back(name);
            }
        }
    }
    for (const YUnicodeString& name : names) {
        const YUnicodeString path = JoinItemPath(folderPath, name);
        const YProfileKey child(folderKey, name);
        if (HoldsIsSession(child)) {
            visit(path, child);
        } else {
            WalkSessions(child, path, visit);
        }
    }
}

bool FailWith(const YReportMessageParams& status, std::uint32_t id, const YUnicodeString& item,
              YReportMessageParams& report) {
    YReportMessageParams cause =
        status.IsSuccess() ? YReportMessageParams(rivode::msg::ReasonUnknown) : status;
    WrapReport(report, id, {item}, cause);
    return false;
}

}  // namespace rivode::config
