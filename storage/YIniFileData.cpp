#include "storage/YIniFileData.h"

#include "storage/IniValueFileWriter.h"

#include <cstring>

bool YIniFileDataDword::GetDword(std::uint32_t& value) const {
    value = value_;
    return true;
}

void YIniFileDataDword::WriteLines(std::u16string_view name, YUnicodeString& out) const {
    rivode::storage::AppendDwordLines(out, name, value_);
}

bool YIniFileDataString::GetString(YUnicodeString& value) const {
    value.assign(text_);
    return true;
}

void YIniFileDataString::WriteLines(std::u16string_view name, YUnicodeString& out) const {
    rivode::storage::AppendStringLines(out, name, text_);
}

YIniFileDataBinary::YIniFileDataBinary(const void* bytes, std::uint64_t length) {
    SetBinary(bytes, length);
}

bool YIniFileDataBinary::GetBinary(void* buffer, std::uint64_t& size) const {
    if (buffer == nullptr) {
        size = bytes_.size();
        return true;
    }
    if (size < bytes_.size()) {
        return false;
    }
    if (!bytes_.empty()) {
        std::memcpy(buffer, bytes_.data(), bytes_.size());
    }
    size = bytes_.size();
    return true;
}

void YIniFileDataBinary::SetBinary(const void* bytes, std::uint64_t length) {
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    if (first == nullptr) {
        bytes_.clear();
        return;
    }
    bytes_.assign(first, first + length);
}

void YIniFileDataBinary::WriteLines(std::u16string_view name, YUnicodeString& out) const {
    rivode::storage::AppendBinaryLines(out, name, bytes_.data(), bytes_.size());
}

bool YIniFileDataStringSz::GetStringArray(YStringArray& value) const {
    value = value_;
    return true;
}

void YIniFileDataStringSz::WriteLines(std::u16string_view name, YUnicodeString& out) const {
    rivode::storage::AppendStringArrayLines(out, name, value_);
}
