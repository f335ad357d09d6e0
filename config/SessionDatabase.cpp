// Opening, saving, walking and updating the sessions of the tree, and the collections kept
// beside them.
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>

#include "config/SessionDatabaseTree.h"

#include <optional>

namespace msg = rivode::msg;
using namespace rivode::config;

namespace {

// The key read for the button bars, converting an older one into the current key. When the
// conversion fails the older key stays in use, so the user's bars are never lost.
YUnicodeString ChooseButtonBarKey(YProfileKey& root) {
    if (root.SubKeyExists(kButtonBarKeyName)) {
        return YUnicodeString(kButtonBarKeyName);
    }
    for (const std::u16string_view older : kOlderButtonBarKeyNames) {
        if (!root.SubKeyExists(older)) {
            continue;
        }
        bool converted = false;
        {
            YProfileKey current(root, kButtonBarKeyName, true);
            const YProfileKey source(root, older);
            converted = CopyProfileKey(current, source) && current.Flush();
        }
        if (converted) {
            return YUnicodeString(kButtonBarKeyName);
        }
        // A half-made copy would be taken for the current key next time.
        root.DeleteSubKey(kButtonBarKeyName);
        return YUnicodeString(older);
    }
    return YUnicodeString(kButtonBarKeyName);
}

}  // namespace

std::u16string_view GetCollectionKeyName(SessionCollection collection) {
    switch (collection) {
        case SessionCollection::ButtonBars:
            return kButtonBarKeyName;
        case SessionCollection::Firewalls:
            return u"Firewalls";
        case SessionCollection::Keywords:
            return u"Keywords";
        case SessionCollection::ScheduledTasks:
            return u"ScheduledTasks";
        case SessionCollection::Synchronize:
            return u"SynchronizeDB";
    }
    return {};
}

SessionDatabaseImpl::SessionDatabaseImpl(int product) : product_(product) {
    YProfileStore store;
    YProfileKey& root = store.GetRootKey();
    buttonBarKeyName_ = ChooseButtonBarKey(root);
    const YProfileKey buttonBars(root, buttonBarKeyName_);
    std::uint32_t sort = 1;
    if (buttonBars.GetDword(kSortAlphabeticallyValueName, sort)) {
        buttonBarSortAlphabetically_ = sort != 0;
    }
}

YRefPtr<ISessionConfig> SessionDatabaseImpl::OpenSession(const YUnicodeString& path) const {
    YReportMessageParams report;
    return OpenSession(path, report);
}

YRefPtr<ISessionConfig> SessionDatabaseImpl::OpenSession(const YUnicodeString& path,
                                                         YReportMessageParams& report) const {
    if (path.empty()) {
        report.SetMessage(msg::SessionItemNotFound);
        report.AddString(path);
        return nullptr;
    }
    const SessionTree tree;
    {
        // A missing key holds no values, so one read of the key tells a session from anything
        // else: opening every session of a large tree does not walk or look at each path
        // before reading it.
        const YProfileKey key(tree.Sessions(), path);
        key.Preload();
        if (HoldsIsSession(key)) {
            YRefPtr<ISessionConfig> session = CreateSessionConfig();
            session->SetPath(path);
            session->Load(&key);
            if (!key.GetStatus().IsSuccess()) {
                YReportMessageParams status = key.GetStatus();
                WrapReport(report, msg::SessionReadFailed, {path}, status);
                return nullptr;
            }
            return session;
        }
    }
    if (path != kDefaultSessionName || tree.Exists(path)) {
        report.SetMessage(msg::SessionItemNotFound);
        report.AddString(path);
        return nullptr;
    }
    // Loaded from its own key, which holds nothing yet, rather than from no key: a record
    // loaded from nothing stores itself as the template at once, and merely looking at the
    // default session (an editor the user cancels) must leave the configuration untouched. The
    // key is read-only, so nothing can be written through it; the session comes into being
    // when it is first saved.
    YProfileStore readOnly(true);
    const YProfileKey sessions(readOnly.GetRootKey(), kSessionsKeyName);
    const YProfileKey missing(sessions, path);
    YRefPtr<ISessionConfig> defaults = CreateSessionConfig();
    defaults->SetPath(path);
    defaults->Load(&missing);
    return defaults;
}

bool SessionDatabaseImpl::IsSession(const YUnicodeString& path) const {
    const SessionTree tree;
    return !path.empty() && tree.Exists(path) && HoldsIsSession(*tree.Open(path));
}

bool SessionDatabaseImpl::IsFolder(const YUnicodeString& path) const {
    return SessionTree().OpenFolder(path) != nullptr;
}

bool SessionDatabaseImpl::Exists(const YUnicodeString& path) const {
    return SessionTree().Exists(path);
}

bool SessionDatabaseImpl::SaveSession(ISessionConfig& session, bool create,
                                      YReportMessageParams& report) {
    const YUnicodeString path = session.GetPath();
    if (path.empty()) {
        report.SetMessage(msg::NameRequired);
        return false;
    }
    if (path == kDefaultSessionName && !create) {
        report.SetMessage(msg::DefaultSessionSaveRefused);
        return false;
    }
    const SessionTree tree(create);
    const bool existed = tree.Exists(path);
    if (!existed && !create) {
        report.SetMessage(msg::SessionItemNotFound);
        report.AddString(path);
        return false;
    }
    // A new session goes to the end of its folder's order, taken before the session exists.
    const ItemPath item = SplitItemPath(path);
    const std::unique_ptr<YProfileKey> folder = existed ? nullptr : tree.OpenFolder(item.folder);
    std::optional<FolderOrder> order;
    if (folder) {
        order.emplace(*folder);
    }
    {
        const YProfileKey key(tree.Sessions(), path);
        // A new key gets every value: values the record holds unchanged from another key (a
        // copy of the default session) would otherwise never reach it.
        const bool written = existed
                                 ? session.Save(key)
                                 : session.WriteAllTo(key) && key.SetDword(kIsSessionValueName, 1);
        if (!written || !key.Flush()) {
            return FailWith(key.GetStatus(), msg::SessionSaveFailed, path, report);
        }
    }
    if (order) {
        order->Append(item.name, false);
        order->Store();
    }
    return true;
}

void SessionDatabaseImpl::EnumerateSessions(
    const std::function<void(const YUnicodeString& path)>& visit) const {
    const SessionTree tree;
    WalkSessions(tree.Sessions(), {},
                 [&](const YUnicodeString& path, const YProfileKey&) { visit(path); });
}

YUnicodeString SessionDatabaseImpl::GetButtonBarKeyName() const {
    const std::lock_guard guard(lock_);
    return buttonBarKeyName_;
}

bool SessionDatabaseImpl::GetButtonBarSortAlphabetically() const {
    const std::lock_guard guard(lock_);
    return buttonBarSortAlphabetically_;
}

bool SessionDatabaseImpl::SetButtonBarSortAlphabetically(bool on, YReportMessageParams& report) {
    const std::lock_guard guard(lock_);
    YProfileStore store;
    const YProfileKey buttonBars(store.GetRootKey(), buttonBarKeyName_, true);
    if (!buttonBars.SetDword(kSortAlphabeticallyValueName, on ? 1 : 0) || !buttonBars.Flush()) {
        report.Assign(&buttonBars.GetStatus());
        return false;
    }
    buttonBarSortAlphabetically_ = on;
    return true;
}

YStringArray SessionDatabaseImpl::GetCollectionNames(SessionCollection collection) {
    const std::lock_guard guard(lock_);
    const auto cached = collections_.find(collection);
    if (cached != collections_.end()) {
        return cached->second;
    }
    YProfileStore store;
    const std::u16string_view keyName = collection == SessionCollection::ButtonBars
                                            ? std::u16string_view(buttonBarKeyName_)
                                            : GetCollectionKeyName(collection);
    return collections_[collection] = ListSubKeyNames(YProfileKey(store.GetRootKey(), keyName));
}

void SessionDatabaseImpl::ForgetCollection(SessionCollection collection) {
    const std::lock_guard guard(lock_);
    collections_.erase(collection);
}
