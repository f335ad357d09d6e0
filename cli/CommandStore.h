// The store a command opens (the configuration folder's, or a settings file's), and the one
// key it works on.
#pragma once

#include "ConfigFolder.h"
#include "ExitStatus.h"
#include "KeyPath.h"

#include <RivodeRavudaVU/YProfileStore.h>

#include <memory>
#include <string>
#include <string_view>

namespace rivode::cli {

class CommandStore {
public:
    // A read-only store never writes, whatever the command does with its keys.
    CommandStore(const StoreFolders& folders, bool readOnly);
    CommandStore(const CommandStore&) = delete;
    CommandStore& operator=(const CommandStore&) = delete;

    YProfileKey& Root() { return store_->GetRootKey(); }
    const StoreFolders& Folders() const { return folders_; }

    // The key a reading command works on: the configuration folder and every key of the path
    // must exist, else nullptr with a failure that says which does not.
    YProfileKey* OpenForReading(const KeyPath& path, CommandFailure& failure);
    // The same for a key path as the user typed it; a malformed path is a usage failure.
    YProfileKey* OpenForReading(std::string_view keyPathText, CommandFailure& failure);

    // The key at path through existing keys only; nullptr when one of them does not exist, with
    // missingPath naming the path up to that key. The key lives as long as this object or
    // until the next Open call.
    YProfileKey* OpenExisting(const KeyPath& path, std::string& missingPath);
    // The key at path; keys that do not exist yet are opened as keys to be made by the first
    // save (a key is its value file; the save makes the folders it needs). nullptr with the
    // failure when a name cannot be a key name everywhere.
    YProfileKey* OpenOrCreate(const KeyPath& path, CommandFailure& failure);

private:
    // Whether the configuration can be read: the folder exists (or the root key's file does,
    // for the root), or the settings file exists and is a settings document. false with the
    // failure that says why not.
    bool CheckFolder(const KeyPath& path, CommandFailure& failure);
    bool CheckSettingsFile(CommandFailure& failure);
    // The key opened last, else the root key.
    YProfileKey& Current() { return openedKey_ ? *openedKey_ : Root(); }
    // Opens the keys of path while they exist; returns how many did.
    std::size_t OpenExistingPart(const KeyPath& path);
    bool CheckNewKeyName(const YUnicodeString& name, CommandFailure& failure);

    StoreFolders folders_;
    std::unique_ptr<YProfileStore> store_;
    std::unique_ptr<YProfileKey> openedKey_;
};

}  // namespace rivode::cli
