// A key of the XML settings file: an element of the document that every key of the store
// shares (XmlSettingsDocument.h). Changes are made in the document at once and are visible to
// every key of the store; the document is written when the last key releases it, or by Flush.
//
// A key opened without create whose element does not exist reads as empty; its first stored
// value makes the element and any missing elements above it, as a key of the INI store makes
// its file at the first save. Key names compare without regard to case, value names exactly.
// A value stored under a name that holds a value of another kind is stored beside it (a second
// element); deleting a value removes the first element of that name, whatever its kind.
//
// Names and texts may hold any character but NUL and line breaks (which the INI store cannot
// hold either, so a settings file always imports); those are refused with EINVAL in the
// status. One thread at a time.
#pragma once

#include "storage/xml/XmlSettingsDocument.h"

#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <memory>
#include <vector>

class YXmlFileKey final : public YProfilePrivateKey {
public:
    // path: the key's names from the root key; with create the elements are made at once.
    YXmlFileKey(std::shared_ptr<rivode::storage::XmlSettingsDocument> document,
                std::vector<YUnicodeString> path, bool create);

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
    // Any name fits a document: true, with a verdict of code 0.
    bool CheckSubKeyName(std::u16string_view name, YRefPtr<YReportMessageParams>* verdict) override;
    // false for a read-only store or document, and when the file exists read-only.
    bool IsWritable() override;
    bool SetKeySecurity(const YAccessControl* access) override;
    const YReportMessageParams& GetStatus() override;
    // Marks the document changed, so it is written again as a whole.
    void Rewrite() override;
    // Personal data has no separate file here: nothing happens.
    void SetPersonalPath(std::u16string_view path) override;
    std::unique_ptr<YProfilePrivateKey> OpenPrivateSubKey(std::u16string_view name,
                                                          const YAccessControl* access,
                                                          bool create) override;
    // Values (kinds 0-3 by element) or subkeys (kind 4), in document order; subkeys whose names
    // differ only in case are listed once.
    std::unique_ptr<YProfilePrivateKeyIterator> CreatePrivateKeyIterator(bool values) override;
    // Writes the whole document now.
    bool Flush() override;

private:
    // The key's element; with create, made with the elements above it. nullptr when missing.
    rivode::storage::XmlNode* Element(bool create);
    // The value element of kind (-1: any) named name, or nullptr.
    rivode::storage::XmlNode* FindValue(int kind, std::u16string_view name);
    // The element a Set stores into (found or added), or nullptr with the status filled.
    rivode::storage::XmlNode* ValueToSet(int kind, std::u16string_view name);
    bool Fail(int error);

    std::shared_ptr<rivode::storage::XmlSettingsDocument> document_;
    std::vector<YUnicodeString> path_;
    rivode::storage::XmlNode* element_ = nullptr;  // valid while generation_ is the document's
    std::uint64_t generation_ = 0;
    // A key whose path holds a name the document cannot hold: every operation fails.
    bool refused_ = false;
    YReportMessageParams status_;
};

namespace rivode::storage {
// A key path split at '\' and '/', empty names dropped, appended to path.
void AppendKeyPath(std::u16string_view keyPath, std::vector<YUnicodeString>& path);
}  // namespace rivode::storage
