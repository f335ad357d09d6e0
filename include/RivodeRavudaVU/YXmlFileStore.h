// The XML file store: a whole key tree in one XML settings file, as settings are exported and
// imported, and for hosts that keep their configuration in a single file.
//
// A store opens the file when its root key is made and shares the parsed document among all
// its keys; the document is written when the last key of the store is released (or at a key's
// Flush). A missing file is an empty tree, written only once a value is stored. A file that is
// not a settings document (malformed, or with another root element) leaves the tree empty, the
// reason in the root key's status (0xE1040054 or 0xE1040056 of the host's table), and is
// never overwritten. One thread at a time per store.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <memory>

#pragma GCC visibility push(default)

// Flags of YXmlFileStoreFactory.
enum YXmlFileStoreFlags : std::uint8_t {
    // Every key of the store is read-only, whatever the store asks for: changes stay in memory
    // and are never written (for hosts that only read a settings file).
    YXmlFileStoreReadOnly = 0x01,
};

// path: a native path of the settings file. The store passes flags to its keys unchanged.
class YXmlFileStoreFactory : public YProfileStoreFactory {
public:
    explicit YXmlFileStoreFactory(YUnicodeString path, std::uint8_t flags = 0);
    std::unique_ptr<YProfilePrivateStore> CreatePrivateStore() override;

    const YUnicodeString& GetPath() const { return path_; }
    std::uint8_t GetFlags() const { return flags_; }

private:
    YUnicodeString path_;
    std::uint8_t flags_ = 0;
};

// Whether a path a user gave for a configuration names an XML settings file rather than a
// configuration folder: it ends in ".xml" (any case), as settings files are named, and is not
// an existing folder. Hosts that accept either use it to pick the factory.
bool IsXmlSettingsFilePath(const YUnicodeString& path);

#pragma GCC visibility pop
