// QuickSyncConfig: the settings of the file-transfer product's quick synchronisation of a local
// and a remote folder, kept in the subkey "QuickSync" of the global key.
//
// The record has a dirty flag of its own: it is written only when it is dirty (set by SetDirty,
// by any changed value, or by a Load that found stored values), so a configuration whose user
// never synchronised gets no QuickSync key. Init, Load and Save take the key that holds the
// subkey, not the subkey itself. Used by one thread at a time, like its owning record.
#pragma once

#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfilePath.h>
#include <RivodeRavudaVU/YProfileTable.h>

#include <cstdint>
#include <string_view>

#pragma GCC visibility push(default)

class QuickSyncConfig : public YProfileTableRecord<QuickSyncConfig> {
public:
    static constexpr std::u16string_view kKeyName = u"QuickSync";

    enum Direction : std::uint32_t { Upload = 0, Download = 1, BothWays = 2 };

    ProfilePath localFolder;
    YProfileString remoteFolder;
    YProfile<std::uint32_t> direction;
    YProfile<bool> includeSubfolders;
    YProfile<bool> deleteUnmatchedFiles;
    YProfile<bool> compareContents;

    QuickSyncConfig();

    static const YProfileTable<QuickSyncConfig>& Table();

    // Reads the values from the subkey of parent (defaults without a parent); not dirty.
    void Init(const YProfileKey* parent);
    bool Load(const YProfileKey* parent) override;
    // Writes into the subkey of parent (created when missing) while dirty, or always into a
    // YProfileCopyKey; the record stays dirty when a write failed.
    [[nodiscard]] bool Save(const YProfileKey& parent) override;

    bool IsDirty() const { return dirty_ || IsChanged(); }
    void SetDirty(bool dirty) { dirty_ = dirty; }

private:
    bool dirty_ = false;
};

#pragma GCC visibility pop
