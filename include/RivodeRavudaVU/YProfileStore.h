// Profile stores: a tree of keys, each holding named values of four kinds.
//
// The public layer (YProfileStore, YProfileKey, YProfileKeyIterator) owns and forwards to a
// back end (YProfilePrivateStore, YProfilePrivateKey, YProfilePrivateKeyIterator). Back ends: the
// INI folder store (one .ini file per key), the registry substitute and the XML file store.
//
// Key, store and iterator objects are used by one thread at a time. Different processes share
// the stored data; the INI back end serialises access to each file with byte-range locks.
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

// Kinds reported by iterators. Any kind of 4 or more is a subkey: test kind >= 4.
enum ValueKind : int {
    ValueKindUnknown = -1,
    ValueKindDword = 0,
    ValueKindString = 1,
    ValueKindBinary = 2,
    ValueKindMultiString = 3,
    ValueKindSubKey = 4,            // registry substitute
    ValueKindSubKeyFolder = 5,      // INI store: a folder only
    ValueKindSubKeyFile = 6,        // INI store: an .ini file only
    ValueKindSubKeyFolderFile = 7,  // INI store: both
};

inline bool IsSubKeyKind(int kind) {
    return kind >= ValueKindSubKey;
}

// An access-control description for the folders and files a key creates. Each entry is stored
// as the text "account,allow|deny,rights". On POSIX it reduces to the modes of what is created:
// owner-only unless an entry allows another account.
struct YAccessControlEntry {
    YUnicodeString account;
    bool allow = true;
    std::uint32_t rights = 0;
};

class YAccessControl {
public:
    std::vector<YAccessControlEntry> entries;

    YStringArray ToStrings() const;
    // false when an entry is not of the stored form; the description is then left unchanged.
    [[nodiscard]] bool FromStrings(const YStringArray& texts);
    // The POSIX modes for created folders and files.
    unsigned FolderMode() const;
    unsigned FileMode() const;
};

class YProfilePrivateKeyIterator {
public:
    virtual ~YProfilePrivateKeyIterator() = default;
    // The next entry and its ValueKind; false when the listing is exhausted.
    virtual bool Next(YUnicodeString& name, int& kind) = 0;
    virtual bool Next(YUnicodeString& name) = 0;
};

// A back-end key. Every bool operation returns false when the value is absent, of another
// kind, or the back end failed; a back-end failure is recorded in GetStatus().
class YProfilePrivateKey {
public:
    // Releases the key; the INI back end saves pending changes first unless read-only.
    virtual ~YProfilePrivateKey() = default;
    virtual bool GetSecurityValue(std::u16string_view name, YAccessControl& access) = 0;
    virtual bool GetStringArray(std::u16string_view name, YStringArray& value) = 0;
    // With no buffer: stores the value's length in size and succeeds. With a buffer: fails
    // (leaving the buffer untouched) when size is smaller than the length, else copies the
    // bytes and sets size to the length.
    virtual bool GetBinary(std::u16string_view name, void* buffer, std::uint64_t& size) = 0;
    virtual bool GetString(std::u16string_view name, YUnicodeString& value) = 0;
    virtual bool GetDword(std::u16string_view name, std::uint32_t& value) = 0;
    virtual void SetSecurityValue(std::u16string_view name, const YAccessControl& access) = 0;
    virtual bool SetStringArray(std::u16string_view name, const YStringArray& value) = 0;
    virtual bool SetBinary(std::u16string_view name, const void* bytes, std::uint64_t length) = 0;
    virtual bool SetString(std::u16string_view name, std::u16string_view value) = 0;
    virtual bool SetDword(std::u16string_view name, std::uint32_t value) = 0;
    // Removing an absent value succeeds.
    virtual bool DeleteValue(std::u16string_view name) = 0;
    // Removes the subkey with all its values and subkeys.
    virtual bool DeleteSubKey(std::u16string_view name) = 0;
    virtual bool SubKeyExists(std::u16string_view name) = 0;
    // Whether name fits the medium's limits. The verdict (when asked for) is a new report: code
    // 0 on success, the operating-system error "file name too long" on failure.
    virtual bool CheckSubKeyName(std::u16string_view name,
                                 YRefPtr<YReportMessageParams>* verdict) = 0;
    virtual bool IsWritable() = 0;
    virtual bool SetKeySecurity(const YAccessControl* access) = 0;
    virtual const YReportMessageParams& GetStatus() = 0;
    // Rereads the stored values, marks every value changed, saves, clears the changed marks.
    virtual void Rewrite() = 0;
    virtual void SetPersonalPath(std::u16string_view path) = 0;
    // Never reports a missing subkey: a missing subkey is a key with no values. With create,
    // the back end creates it at once. Caller owns.
    virtual std::unique_ptr<YProfilePrivateKey> OpenPrivateSubKey(std::u16string_view name,
                                                                  const YAccessControl* access,
                                                                  bool create) = 0;
    // true lists values, false subkeys; a snapshot of what exists now. Caller owns.
    virtual std::unique_ptr<YProfilePrivateKeyIterator> CreatePrivateKeyIterator(bool values) = 0;

    // Writes pending changes now instead of at destruction, so a caller that must know can
    // learn whether they were stored: false with the reason in GetStatus(). Back ends that
    // store every change at once succeed.
    virtual bool Flush() { return true; }

    // Tells a back end that reads a key's values on first need that the caller is about to
    // read them all: it may read them now, and answer what it knows of the key from that one
    // reading. Back ends that hold their values already ignore it.
    virtual void Preload() {}
};

class YProfilePrivateStore {
public:
    virtual ~YProfilePrivateStore() = default;
    virtual std::unique_ptr<YProfilePrivateKey> OpenPrivateRootKey(bool readOnly) = 0;
};

// Creates the back end of a store. The store does not own its factory and uses it only while
// it is being constructed.
class YProfileStoreFactory {
public:
    virtual ~YProfileStoreFactory() = default;
    // nullptr when memory is exhausted.
    virtual std::unique_ptr<YProfilePrivateStore> CreatePrivateStore() = 0;
};

// The factory function the host registers (RivodeRavudaVuInitProfileFactory); stores built
// without a factory ask it. Returns nullptr when none is registered.
using YProfileStoreFactoryFunction = YProfileStoreFactory* (*)();
void SetProfileStoreFactoryFunction(YProfileStoreFactoryFunction function);
YProfileStoreFactory* GetDefaultProfileStoreFactory();

class YProfileKey;

class YProfileStore {
public:
    // With no factory, the registered default factory is used. Without any back end every
    // operation of the root key fails with a report.
    explicit YProfileStore(YProfileStoreFactory* factory = nullptr);
    YProfileStore(bool readOnly, YProfileStoreFactory* factory = nullptr);
    ~YProfileStore();
    YProfileStore(const YProfileStore&) = delete;
    YProfileStore& operator=(const YProfileStore&) = delete;

    YProfileKey& GetRootKey() { return *rootKey_; }
    bool IsReadOnly() const { return readOnly_; }
    // A new root key of the back end (nullptr when there is none).
    std::unique_ptr<YProfilePrivateKey> OpenPrivateRootKey() const;

private:
    std::unique_ptr<YProfilePrivateStore> store_;
    std::unique_ptr<YProfileKey> rootKey_;
    bool readOnly_ = false;
};

// A key of a store. Destroying it is the commit point: the INI back end writes pending changes
// then. Two objects of one key do not see each other's unsaved changes.
class YProfileKey {
public:
    // A new root key of the store.
    explicit YProfileKey(YProfileStore& store);
    // The subkey name of parent; with create, the back end creates it at once.
    YProfileKey(const YProfileKey& parent, std::u16string_view name, bool create = false);
    // Wraps a back-end key (back ends and tests).
    explicit YProfileKey(std::unique_ptr<YProfilePrivateKey> key);
    virtual ~YProfileKey();
    YProfileKey(const YProfileKey&) = delete;
    YProfileKey& operator=(const YProfileKey&) = delete;

    bool GetSecurityValue(std::u16string_view name, YAccessControl& access) const;
    bool GetStringArray(std::u16string_view name, YStringArray& value) const;
    // As YProfilePrivateKey::GetBinary with a 32-bit size.
    bool GetBinary(std::u16string_view name, void* buffer, std::uint32_t& size) const;
    bool GetString(std::u16string_view name, YUnicodeString& value) const;
    bool GetDword(std::u16string_view name, std::uint32_t& value) const;
    void SetSecurityValue(std::u16string_view name, const YAccessControl& access) const;
    bool SetStringArray(std::u16string_view name, const YStringArray& value) const;
    bool SetBinary(std::u16string_view name, const void* bytes, std::uint32_t length) const;
    bool SetString(std::u16string_view name, std::u16string_view value) const;
    bool SetDword(std::u16string_view name, std::uint32_t value) const;
    bool DeleteValue(std::u16string_view name) const;
    bool DeleteSubKey(std::u16string_view name) const;
    bool SubKeyExists(std::u16string_view name) const;
    bool CheckSubKeyName(std::u16string_view name,
                         YRefPtr<YReportMessageParams>* verdict = nullptr) const;
    bool IsWritable() const;
    bool SetKeySecurity(const YAccessControl* access) const;
    const YReportMessageParams& GetStatus() const;
    void Rewrite() const;
    void SetPersonalPath(std::u16string_view path) const;
    // Stores pending changes now; false with the reason in GetStatus().
    [[nodiscard]] bool Flush() const;
    // See YProfilePrivateKey::Preload.
    void Preload() const;

    YProfilePrivateKey& GetPrivateKey() const { return *key_; }

private:
    std::unique_ptr<YProfilePrivateKey> key_;
};

// A key into which typed values always write themselves, defaults included.
class YProfileCopyKey : public YProfileKey {
public:
    using YProfileKey::YProfileKey;
};

class YProfileKeyIterator {
public:
    // values: true lists values, false subkeys.
    YProfileKeyIterator(const YProfileKey& key, bool values);
    virtual ~YProfileKeyIterator();
    bool Next(YUnicodeString& name, int& kind);
    bool Next(YUnicodeString& name);

private:
    std::unique_ptr<YProfilePrivateKeyIterator> iterator_;
};

// Copies every value and subkey of source into destination. Stops with false at the first
// value of a kind outside 0-3 and at the first failed read or write.
[[nodiscard]] bool CopyProfileKey(YProfileKey& destination, const YProfileKey& source);
// The same for the values of source alone; its subkeys are left alone.
[[nodiscard]] bool CopyProfileKeyValues(YProfileKey& destination, const YProfileKey& source);
// One value of source, of the kind its listing gave, into destination; false for a kind outside
// 0-3 and for a failed read or write.
[[nodiscard]] bool CopyProfileValue(const YProfileKey& destination, const YProfileKey& source,
                                    const YUnicodeString& name, int kind);

// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9 and CLOCK$, alone or followed by "." (case ignored).
bool IsReservedDeviceName(std::u16string_view name);

#pragma GCC visibility pop
