// A key of the INI folder store: a folder path under the configuration folder (and, when a
// personal-data folder is in use, the same path under it), with its values in the file of that
// path plus ".ini".
//
// The values are read once, on the first operation that needs them, and written back when the
// key is destroyed (or flushed, or rewritten). A save writes only what this object changed:
// under the file's exclusive lock it reads the file again, applies the values this object set
// and deleted (by name), and replaces the file crash-safely (ValueFile.h). Values that other
// processes stored meanwhile survive; for a name both changed, the last saver wins. A key whose
// files could not be read whole never saves. One thread at a time.
#pragma once

#include "storage/ini/IniFolderNames.h"
#include "storage/ini/IniValueTable.h"
#include "storage/ini/ValueFile.h"

#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include "platform/FileSystem.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class YTextFile;

class YIniFileKey final : public YProfilePrivateKey {
public:
    // Native paths ('/' separated); personalPath may be empty. The first resolvedLength
    // characters of mainPath are known to be spelled as on disk; the components after them are
    // matched without regard to case when first needed. With create (and not readOnly), the
    // key's folders are made at once; failures go to GetStatus().
    // siblings, when given, list the folders holding this key under both roots (shared by the
    // keys its parent opened) and resolve the last component of each path.
    struct Siblings {
        std::shared_ptr<rivode::storage::IniFolderNames> main;
        std::shared_ptr<rivode::storage::IniFolderNames> personal;
    };
    YIniFileKey(std::string mainPath, std::string personalPath, bool readOnly,
                const YAccessControl* access, bool create,
                std::size_t resolvedLength = std::string::npos, Siblings siblings = {});
    // A key whose name cannot exist in this store: every operation fails, with error (an errno
    // value) in its status, and nothing is ever written.
    static std::unique_ptr<YIniFileKey> MakeRefused(int error, bool readOnly);
    ~YIniFileKey() override;

    bool GetSecurityValue(std::u16string_view name, YAccessControl& access) override;
    bool GetStringArray(std::u16string_view name, YStringArray& value) override;
    bool GetBinary(std::u16string_view name, void* buffer, std::uint64_t& size) override;
    bool GetString(std::u16string_view name, YUnicodeString& value) override;
    bool GetDword(std::u16string_view name, std::uint32_t& value) override;
    void SetSecurityValue(std::u16string_view name, const YAccessControl& access) override;
    bool SetStringArray(std::u16string_view name, const YStringArray& value) override;
    bool SetBinary(std::u16string_view name, const void* bytes, std::uint64_t length) override;
    bool SetString(std::u16string_view name, std::u16string_view value) override;
    bool SetDword(std::u16string_view name, std::uint32_t value) override;
    bool DeleteValue(std::u16string_view name) override;
    bool DeleteSubKey(std::u16string_view name) override;
    bool SubKeyExists(std::u16string_view name) override;
    bool CheckSubKeyName(std::u16string_view name, YRefPtr<YReportMessageParams>* verdict) override;
    bool IsWritable() override;
    bool SetKeySecurity(const YAccessControl* access) override;
    const YReportMessageParams& GetStatus() override;
    void Rewrite() override;
    void SetPersonalPath(std::u16string_view path) override;
    std::unique_ptr<YProfilePrivateKey> OpenPrivateSubKey(std::u16string_view name,
                                                          const YAccessControl* access,
                                                          bool create) override;
    std::unique_ptr<YProfilePrivateKeyIterator> CreatePrivateKeyIterator(bool values) override;
    bool Flush() override;
    void Preload() override;

    // Calls visit(name, kind) for every value, in slot order (see IniValueTable), loading the
    // key first; nothing for a refused key.
    void ForEachValueName(const std::function<void(std::u16string_view name, int kind)>& visit);
    // See GetProfileValueNamesShape; loads the key first.
    std::uint64_t GetValueNamesShape();

    // The key's folder path, spelled as on disk where it exists.
    const std::string& GetMainPath();
    const std::string& GetPersonalPath() const { return personalPath_; }

private:
    struct RefusedTag {};
    YIniFileKey(RefusedTag, int error, bool readOnly);

    rivode::storage::IniValueTable& LoadedTable();
    // The loaded table, for a change: what a Preload told of the key no longer holds after it.
    rivode::storage::IniValueTable& ChangedTable();
    // Reads the main file, then the personal file, into table (made, sized for the files, when
    // null); false (the key then refuses to save, the reason in the status) when one could not
    // be read whole.
    bool ReadKeyFiles(std::shared_ptr<rivode::storage::IniValueTable>& table);
    // Reads one value file into the thread's reading buffer (see rivode::storage::ReadValueFile
    // for the journal arguments); false, with the key refusing to save, when it failed.
    bool ReadBytes(const std::string& path, bool* committed, bool partnerCommitted, bool& exists);
    // Reads bytes into table, which takes their block over when it can read them as they are.
    void ParseValueFile(const std::string& path, rivode::storage::FileBytes& bytes,
                        rivode::storage::IniValueTable& table);
    // false (with the reason in the status) when name cannot be stored in this key.
    bool CanStore(std::u16string_view name);
    YIniFileData* FindValue(std::u16string_view name);
    const std::string& MainValueFile();
    std::string PersonalValueFile() const;
    // The last component of mainPath_.
    std::string_view LastComponent() const;
    const rivode::platform::FileInfo& MainFileInfo();
    // Whether the main value file is there and holds bytes (an empty one is what a save killed
    // before its first byte leaves: no key).
    bool MainFileHoldsBytes();
    bool Save();
    // The table a save writes: the files' current values with this key's changes applied.
    // Both writers are locked; either may be closed (its file missing).
    std::shared_ptr<rivode::storage::IniValueTable> MergeWithCurrent(
        rivode::storage::ValueFileWriter& main, rivode::storage::ValueFileWriter& personal);
    bool Fail(int error);
    bool Fail(const rivode::storage::ValueFileError& error);
    unsigned FolderMode() const;
    unsigned FileMode() const;
    // Before a value file that was read only in part is rewritten, its whole content goes to
    // path + ".damaged" (or ".damaged-2", ... : an older copy is never overwritten), so that
    // what the reading could not take in is not lost. An error when that copy cannot be
    // written (the file must then not be rewritten).
    rivode::storage::ValueFileError KeepDamagedContent(const std::string& path);

    std::string mainPath_;
    std::size_t resolvedLength_ = 0;  // of mainPath_, see the constructor
    Siblings siblings_;               // see the constructor
    Siblings subKeys_;                // listings of this key's own folders, shared with its subkeys
    std::string personalPath_;
    std::shared_ptr<rivode::storage::IniValueTable> table_;
    bool readOnly_ = false;
    bool refused_ = false;
    std::string mainValueFile_;  // resolved on first need
    std::optional<rivode::platform::FileInfo> mainFileInfo_;
    bool loadFailed_ = false;
    // Whether the main value file held bytes when the key was last read, and whether a Preload
    // lets the existence shortcut answer from that reading (until the first change).
    bool mainFileHeldBytes_ = false;
    bool shortcutFromRead_ = false;
    YReportMessageParams status_;
    std::optional<YAccessControl> access_;
    // The files whose reading ended early, with their bytes as read; emptied once kept aside.
    std::vector<std::pair<std::string, std::string>> damagedFiles_;
};
