#include <RivodeRavudaVU/QuickSyncConfig.h>

#include <memory>

namespace {

bool IsCopyKey(const YProfileKey& key) {
    return dynamic_cast<const YProfileCopyKey*>(&key) != nullptr;
}

}  // namespace

QuickSyncConfig::QuickSyncConfig() {
    SetName(YUnicodeString(kKeyName));
}

const YProfileTable<QuickSyncConfig>& QuickSyncConfig::Table() {
    using R = QuickSyncConfig;
    static const auto table = YProfileTable<R>()
                                  .Add(&R::localFolder, u"Local Folder", u"")
                                  .Add(&R::remoteFolder, u"Remote Folder", u"")
                                  .Add(&R::direction, u"Direction", Upload)
                                  .Add(&R::includeSubfolders, u"Include Subfolders", true)
                                  .Add(&R::deleteUnmatchedFiles, u"Delete Unmatched Files", false)
                                  .Add(&R::compareContents, u"Compare Contents", false);
    return table;
}

void QuickSyncConfig::Init(const YProfileKey* parent) {
    dirty_ = false;
    if (parent == nullptr) {
        YProfileTableRecord::Init(nullptr);
        return;
    }
    const YProfileKey key(*parent, kKeyName);
    YProfileTableRecord::Init(&key);
}

bool QuickSyncConfig::Load(const YProfileKey* parent) {
    if (parent == nullptr) {
        return false;
    }
    const YProfileKey key(*parent, kKeyName);
    // Values taken from elsewhere must reach this record's own key on the next save.
    const bool found = YProfileTableRecord::Load(&key);
    dirty_ = dirty_ || found;
    return found;
}

bool QuickSyncConfig::Save(const YProfileKey& parent) {
    const bool copying = IsCopyKey(parent);
    if (!copying && !IsDirty()) {
        return true;
    }
    // A copy of a record is written complete: its subkey must copy too.
    const std::unique_ptr<YProfileKey> key =
        copying ? std::make_unique<YProfileCopyKey>(parent, kKeyName)
                : std::make_unique<YProfileKey>(parent, kKeyName);
    const bool saved = YProfileTableRecord::Save(*key) && key->Flush();
    if (saved) {
        dirty_ = false;
    }
    return saved;
}
