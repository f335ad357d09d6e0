#include <RivodeRavudaVU/SessionConfig.h>

#include <algorithm>
#include <map>
#include <set>

SessionConfig::SessionConfig() {
    Init(nullptr);
}

SessionConfig::SessionConfig(const SessionConfig&) = default;

SessionConfig::~SessionConfig() = default;

bool SessionConfig::Load(const YProfileKey* key) {
    Init(key);
    terminalConfig.Init(key);
    remoteHostConfig.Init(key);
    printerConfig.Init(key);
    Table().ApplyLoadRules(*this, key);
    terminal_.Load(key);
    transfer_.Load(key);
    ApplyDefaultSessionRule(key);
    foreignValues_.clear();
    return key != nullptr && ReadForeignValues(*key);
}

void SessionConfig::ApplyDefaultSessionRule(const YProfileKey* key) {
    MarkDefaultSession();
    if (name_ != kDefaultSessionName) {
        // A session that was saved with a side switched off keeps it off, although the
        // template "Default" fills an empty side with the first protocol of that side.
        for (SessionProtocolSlot* slot : {&terminal_, &transfer_}) {
            if (slot->WasStoredEmpty()) {
                slot->LoadNone();
            }
        }
        return;
    }
    if (key != nullptr) {
        return;
    }
    // The template of new sessions must exist in the store before the first session is made
    // from it, so one loaded from nothing is stored at once.
    YProfileStore store;
    const YProfileKey sessions(store.GetRootKey(), kSessionsKeyName);
    if (!sessions.SubKeyExists(kDefaultSessionName)) {
        const YProfileKey stored(sessions, kDefaultSessionName);
        // A refused write leaves the values pending: the next save of the session writes them.
        (void)Save(stored);
    }
}

void SessionConfig::MarkDefaultSession() {
    for (ConnectConfig* config : {terminal_.GetConfig(), transfer_.GetConfig()}) {
        if (config != nullptr) {
            config->SetBelongsToDefaultSession(name_ == kDefaultSessionName);
        }
    }
}

void SessionConfig::BeforeSave() {
    for (ConnectConfig* config : {terminal_.GetConfig(), transfer_.GetConfig()}) {
        if (config != nullptr) {
            config->SetUsername(remoteHostConfig.username);
            config->SetFirewallName(remoteHostConfig.firewallName);
            config->SetCredentialTitle(remoteHostConfig.credentialTitle);
        }
    }
}

bool SessionConfig::Save(const YProfileKey& key) {
    // The table pass hands the remote-host values to the slots first (BeforeSave), so the slots
    // saved last write what the remote-host part wrote.
    bool saved = Table().Save(*this, key);
    saved = terminalConfig.Save(key) && saved;
    saved = remoteHostConfig.Save(key) && saved;
    saved = printerConfig.Save(key) && saved;
    saved = terminal_.Save(key) && saved;
    return transfer_.Save(key) && saved;
}

bool SessionConfig::IsChanged() const {
    return YProfileTableRecord::IsChanged() || terminalConfig.IsChanged() ||
           remoteHostConfig.IsChanged() || printerConfig.IsChanged() || terminal_.IsChanged() ||
           transfer_.IsChanged();
}

void SessionConfig::CommitAll() {
    YProfileTableRecord::CommitAll();
    terminalConfig.CommitAll();
    remoteHostConfig.CommitAll();
    printerConfig.CommitAll();
    terminal_.CommitAll();
    transfer_.CommitAll();
}

void SessionConfig::RevertAll() {
    YProfileTableRecord::RevertAll();
    terminalConfig.RevertAll();
    remoteHostConfig.RevertAll();
    printerConfig.RevertAll();
    terminal_.RevertAll();
    transfer_.RevertAll();
}

bool SessionConfig::CopyParts(const SessionConfig& source, CopyMode mode) {
    const bool changesOnly = mode != CopyMode::All;
    const auto copy = [changesOnly](YProfileData& target, const YProfileData& from) {
        return changesOnly ? target.CopyChangesFrom(from) : target.CopyFrom(from);
    };
    bool all =
        changesOnly ? Table().CopyChangesFrom(*this, source) : Table().CopyFrom(*this, source);
    all = copy(terminalConfig, source.terminalConfig) && all;
    all = copy(remoteHostConfig, source.remoteHostConfig) && all;
    all = copy(printerConfig, source.printerConfig) && all;
    if (mode == CopyMode::ChangesKeepingProtocols) {
        terminal_.CopyConfigChangesFrom(source.terminal_);
        transfer_.CopyConfigChangesFrom(source.transfer_);
    } else {
        terminal_.CopyFrom(source.terminal_, changesOnly);
        transfer_.CopyFrom(source.transfer_, changesOnly);
    }
    MarkDefaultSession();
    return all;
}

bool SessionConfig::CopyFrom(const YProfileData& other) {
    const auto* source = dynamic_cast<const SessionConfig*>(&other);
    return source != nullptr && (source == this || CopyParts(*source, CopyMode::All));
}

bool SessionConfig::CopyChangesFrom(const YProfileData& source) {
    const auto* from = dynamic_cast<const SessionConfig*>(&source);
    return from != nullptr && (from == this || CopyParts(*from, CopyMode::Changes));
}

// A session's protocol is its own: the template choosing another one for new sessions must not
// turn every Telnet session into an SSH2 one.
bool SessionConfig::ApplyChangesFrom(const ISessionConfig& source) {
    const auto* from = dynamic_cast<const SessionConfig*>(&source);
    return from != nullptr && (from == this || CopyParts(*from, CopyMode::ChangesKeepingProtocols));
}

bool SessionConfig::ApplyValuesFrom(SessionConfig& source,
                                    const std::vector<YUnicodeString>& names) {
    struct Found {
        YProfileData* value;
        const SessionProtocolSlot* slot;
    };
    std::map<YUnicodeString, Found> wanted;
    source.VisitValues([&](YProfileData& value, const SessionProtocolSlot* slot) {
        if (std::find(names.begin(), names.end(), value.GetName()) != names.end()) {
            wanted.emplace(value.GetName(), Found{&value, slot});
        }
    });
    const auto sameSide = [&](const SessionProtocolSlot* mine, const SessionProtocolSlot* theirs) {
        if (mine == nullptr || theirs == nullptr) {
            return mine == theirs;
        }
        const bool mineTerminal = mine == &terminal_;
        const bool theirsTerminal = theirs == &source.terminal_;
        return mineTerminal == theirsTerminal &&
               rivode::EqualsNoCase(mine->GetName(), theirs->GetName());
    };
    bool all = true;
    VisitValues([&](YProfileData& value, const SessionProtocolSlot* slot) {
        const auto found = wanted.find(value.GetName());
        const bool protocolName =
            &value == &terminal_.NameValue() || &value == &transfer_.NameValue();
        if (found == wanted.end() || protocolName || !sameSide(slot, found->second.slot)) {
            return;
        }
        all = value.CopyFrom(*found->second.value) && all;
    });
    return all;
}

bool SessionConfig::Assign(const ISessionConfig& other) {
    const auto* source = dynamic_cast<const SessionConfig*>(&other);
    if (source == nullptr || source == this) {
        return source != nullptr;
    }
    // Typed values copy only their current value, so the loaded state goes first: take source's
    // loaded values and commit them, then take its current values on top.
    const YRefPtr<SessionConfig> loaded = MakeYRef<SessionConfig>(*source);
    loaded->RevertAll();
    CopyParts(*loaded, CopyMode::All);
    CommitAll();
    CopyParts(*source, CopyMode::All);
    terminal_.AssignFrom(source->terminal_);
    transfer_.AssignFrom(source->transfer_);
    path_ = source->path_;
    name_ = source->name_;
    foreignValues_ = source->foreignValues_;
    MarkDefaultSession();
    return true;
}

YRefPtr<ISessionConfig> SessionConfig::Clone() const {
    return MakeYRef<SessionConfig>(*this);
}

void SessionConfig::SetPath(const YUnicodeString& path) {
    path_ = path;
    const std::size_t separator = path.rfind(u'\\');
    name_ = separator == YUnicodeString::npos ? path : path.substr(separator + 1);
}

void SessionConfig::ForEachValue(const std::function<void(YProfileData&)>& visit) {
    VisitValues([&visit](YProfileData& value, const SessionProtocolSlot*) { visit(value); });
}

void SessionConfig::VisitValues(
    const std::function<void(YProfileData&, const SessionProtocolSlot*)>& visit) {
    // Protocol configurations keep some of the remote-host values under the same names: each
    // name is visited once, as the part that owns it.
    std::set<YUnicodeString> visited;
    const SessionProtocolSlot* slot = nullptr;
    const auto visitOnce = [&](YProfileData& value) {
        if (visited.insert(value.GetName()).second) {
            visit(value, slot);
        }
    };
    Table().ForEach(*this, visitOnce);
    TerminalConfig::Table().ForEach(terminalConfig, visitOnce);
    RemoteHostConfig::Table().ForEach(remoteHostConfig, visitOnce);
    PrinterConfig::Table().ForEach(printerConfig, visitOnce);
    visitOnce(terminal_.NameValue());
    visitOnce(transfer_.NameValue());
    for (const SessionProtocolSlot* side : {&terminal_, &transfer_}) {
        if (ConnectConfig* config = side->GetConfig()) {
            slot = side;
            config->ForEachValue(visitOnce);
        }
    }
}
