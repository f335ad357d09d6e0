#include <RivodeRavudaVU/YProfileStore.h>

#include "storage/UnavailableProfileKey.h"

#include <limits>

namespace {

std::unique_ptr<YProfilePrivateKey> OrUnavailable(std::unique_ptr<YProfilePrivateKey> key) {
    return key ? std::move(key) : rivode::storage::MakeUnavailableProfileKey();
}

}  // namespace

YProfileKey::YProfileKey(YProfileStore& store) : key_(OrUnavailable(store.OpenPrivateRootKey())) {}

YProfileKey::YProfileKey(const YProfileKey& parent, std::u16string_view name, bool create)
    : key_(OrUnavailable(parent.key_->OpenPrivateSubKey(name, nullptr, create))) {}

YProfileKey::YProfileKey(std::unique_ptr<YProfilePrivateKey> key)
    : key_(OrUnavailable(std::move(key))) {}

YProfileKey::~YProfileKey() = default;

bool YProfileKey::GetSecurityValue(std::u16string_view name, YAccessControl& access) const {
    return key_->GetSecurityValue(name, access);
}

bool YProfileKey::GetStringArray(std::u16string_view name, YStringArray& value) const {
    return key_->GetStringArray(name, value);
}

bool YProfileKey::GetBinary(std::u16string_view name, void* buffer, std::uint32_t& size) const {
    std::uint64_t size64 = size;
    if (!key_->GetBinary(name, buffer, size64)) {
        return false;
    }
    if (size64 > std::numeric_limits<std::uint32_t>::max()) {
        return false;  // no 32-bit caller can hold it
    }
    size = static_cast<std::uint32_t>(size64);
    return true;
}

bool YProfileKey::GetString(std::u16string_view name, YUnicodeString& value) const {
    return key_->GetString(name, value);
}

bool YProfileKey::GetDword(std::u16string_view name, std::uint32_t& value) const {
    return key_->GetDword(name, value);
}

void YProfileKey::SetSecurityValue(std::u16string_view name, const YAccessControl& access) const {
    key_->SetSecurityValue(name, access);
}

bool YProfileKey::SetStringArray(std::u16string_view name, const YStringArray& value) const {
    return key_->SetStringArray(name, value);
}

bool YProfileKey::SetBinary(std::u16string_view name, const void* bytes,
                            std::uint32_t length) const {
    return key_->SetBinary(name, bytes, length);
}

bool YProfileKey::SetString(std::u16string_view name, std::u16string_view value) const {
    return key_->SetString(name, value);
}

bool YProfileKey::SetDword(std::u16string_view name, std::uint32_t value) const {
    return key_->SetDword(name, value);
}

bool YProfileKey::DeleteValue(std::u16string_view name) const {
    return key_->DeleteValue(name);
}

bool YProfileKey::DeleteSubKey(std::u16string_view name) const {
    return key_->DeleteSubKey(name);
}

bool YProfileKey::SubKeyExists(std::u16string_view name) const {
    return key_->SubKeyExists(name);
}

bool YProfileKey::CheckSubKeyName(std::u16string_view name,
                                  YRefPtr<YReportMessageParams>* verdict) const {
    return key_->CheckSubKeyName(name, verdict);
}

bool YProfileKey::IsWritable() const {
    return key_->IsWritable();
}

bool YProfileKey::SetKeySecurity(const YAccessControl* access) const {
    return key_->SetKeySecurity(access);
}

const YReportMessageParams& YProfileKey::GetStatus() const {
    return key_->GetStatus();
}

void YProfileKey::Rewrite() const {
    key_->Rewrite();
}

void YProfileKey::SetPersonalPath(std::u16string_view path) const {
    key_->SetPersonalPath(path);
}

bool YProfileKey::Flush() const {
    return key_->Flush();
}

void YProfileKey::Preload() const {
    key_->Preload();
}

YProfileKeyIterator::YProfileKeyIterator(const YProfileKey& key, bool values)
    : iterator_(key.GetPrivateKey().CreatePrivateKeyIterator(values)) {}

YProfileKeyIterator::~YProfileKeyIterator() = default;

bool YProfileKeyIterator::Next(YUnicodeString& name, int& kind) {
    return iterator_ && iterator_->Next(name, kind);
}

bool YProfileKeyIterator::Next(YUnicodeString& name) {
    return iterator_ && iterator_->Next(name);
}
