#include <RivodeRavudaVU/GlobalConfig.h>

namespace {

// Copies the main values and each sub-record both records have (all of them, or only the changed
// ones). A record made without a user interface, or not integrated, has fewer sub-records to
// take.
bool CopyRecord(GlobalConfig& to, const YProfileData& other, bool changesOnly) {
    const auto* from = dynamic_cast<const GlobalConfig*>(&other);
    if (from == nullptr || from == &to) {
        return from != nullptr;
    }
    const auto copy = [changesOnly](YProfileData& target, const YProfileData& source) {
        return changesOnly ? target.CopyChangesFrom(source) : target.CopyFrom(source);
    };
    const YProfileTable<GlobalConfig>& table = GlobalConfig::Table();
    bool all = changesOnly ? table.CopyChangesFrom(to, *from) : table.CopyFrom(to, *from);
    all = copy(to.productConfig, from->productConfig) && all;
    if (to.integratedProductConfig && from->integratedProductConfig) {
        all = copy(*to.integratedProductConfig, *from->integratedProductConfig) && all;
    }
    if (to.guiConfig && from->guiConfig) {
        all = copy(*to.guiConfig, *from->guiConfig) && all;
    }
    all = copy(to.printerConfig, from->printerConfig) && all;
    return copy(to.editorConfig, from->editorConfig) && all;
}

}  // namespace

GlobalConfig::GlobalConfig(const YProfileKey* key, int product, bool integrated,
                           bool withUserInterface)
    : productConfig(key, product),
      integratedProductConfig(integrated && product == kProductQuillterm
                                  ? std::make_unique<GlobalProductConfig>(key, kProductQuillfile)
                                  : nullptr),
      guiConfig(withUserInterface ? std::make_unique<GlobalGuiConfig>() : nullptr),
      product_(product),
      integrated_(integrated) {
    Init(key);
    if (guiConfig) {
        guiConfig->Init(key);
    }
    editorConfig.Init(key);
    printerConfig.Init(key);
    versionWasStored_ = version.IsFromStore();
    // The derived defaults may depend on the sub-records, so they come once all are read.
    Table().ApplyLoadRules(*this, key);
}

GlobalConfig::~GlobalConfig() = default;

unsigned long GlobalConfig::AddRef() {
    return static_cast<unsigned long>(++references_);
}

unsigned long GlobalConfig::Release() {
    const long remaining = --references_;
    if (remaining == 0) {
        delete this;
    }
    return static_cast<unsigned long>(remaining);
}

bool GlobalConfig::Save(const YProfileKey& key) {
    const std::lock_guard lock(recordLock_);
    return SaveLocked(key);
}

bool GlobalConfig::SaveLocked(const YProfileKey& key) {
    bool saved = true;
    // The tab and frame states go first: a host that is closing saves them from its windows
    // while they still exist, and they must not wait behind the rest of the record.
    for (YProfileData* state : std::initializer_list<YProfileData*>{
             &quilltermTabStateV2, &localExplorerFrameState, &remoteExplorerFrameState,
             &synchronizeExplorerFrameState, &quillfileTabStateV2, &quillfileLocalTabState,
             &quillfileRemoteTabState}) {
        saved = state->Save(key) && saved;
    }
    saved = quickSync.Save(key) && saved;
    // The values saved above are no longer pending, so the table pass leaves them alone.
    saved = Table().Save(*this, key) && saved;
    ForEachSubRecord([&](YProfileData& record) { saved = record.Save(key) && saved; });
    return saved;
}

bool GlobalConfig::SaveToStore(YReportMessageParams& report) {
    const std::lock_guard lock(recordLock_);
    YProfileStore store;
    const YProfileKey key(store.GetRootKey(), kGlobalKeyName);
    if (SaveLocked(key) && key.Flush()) {
        return true;
    }
    report = key.GetStatus();
    // The values handed to the key count as saved, but the file did not take them: reading
    // them back from the key makes every one pending, so the next save writes them again.
    Load(&key);
    return false;
}

void GlobalConfig::Merge(const YProfileKey& key) {
    const std::lock_guard lock(recordLock_);
    const YProfileEncryptedString passphrase(configPassphrase);
    const YProfile<bool> changePassphrase(changeConfigPassphrase);
    Load(&key);
    configPassphrase.CopyFrom(passphrase);
    changeConfigPassphrase.CopyFrom(changePassphrase);
}

bool GlobalConfig::Load(const YProfileKey* key) {
    bool found = Table().Load(*this, key);
    ForEachSubRecord([&](YProfileData& record) { found = record.Load(key) || found; });
    return found;
}

bool GlobalConfig::IsChanged() const {
    bool changed = YProfileTableRecord::IsChanged();
    ForEachSubRecord([&](const YProfileData& record) { changed = changed || record.IsChanged(); });
    return changed;
}

void GlobalConfig::CommitAll() {
    YProfileTableRecord::CommitAll();
    ForEachSubRecord([](YProfileData& record) { record.CommitAll(); });
}

void GlobalConfig::RevertAll() {
    YProfileTableRecord::RevertAll();
    ForEachSubRecord([](YProfileData& record) { record.RevertAll(); });
}

bool GlobalConfig::CopyFrom(const YProfileData& other) {
    return CopyRecord(*this, other, false);
}

bool GlobalConfig::CopyChangesFrom(const YProfileData& source) {
    return CopyRecord(*this, source, true);
}
