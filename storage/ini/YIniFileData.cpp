#include "storage/ini/YIniFileData.h"

#include "storage/ini/IniValueFileReader.h"
#include "storage/ini/IniValueFileWriter.h"
#include "storage/text/TextCodec.h"

#include "platform/Utf8Codec.h"

#include <algorithm>
#include <cstring>

bool YIniFileDataDword::GetDword(std::uint32_t& value) const {
    value = value_;
    return true;
}

void YIniFileDataDword::WriteLines(std::u16string_view name, YUnicodeString& out) const {
    rivode::storage::AppendDwordLines(out, name, value_);
}

bool YIniFileDataString::GetString(YUnicodeString& value) const {
    if (!isUtf8_) {
        value.assign(text_);
        return true;
    }
    // Decoded into the caller's string: a record reading its texts into the strings it holds
    // allocates only for a text longer than the one before.
    value.resize(stored_.size());
    std::size_t written = 0;
    if (rivode::platform::DecodeUtf8(stored_, value.data(), written,
                                     rivode::platform::IllFormed::Stop)
            .consumed == stored_.size()) {
        value.resize(written);
        return true;
    }
    value.clear();
    (void)rivode::storage::DecodeText(YTextFile::EncodingUtf8, stored_, value);
    return true;
}

void YIniFileDataString::WriteLines(std::u16string_view name, YUnicodeString& out) const {
    if (!isUtf8_) {
        rivode::storage::AppendStringLines(out, name, text_);
        return;
    }
    YUnicodeString text;
    (void)GetString(text);
    rivode::storage::AppendStringLines(out, name, text);
}

YIniFileDataBinary::YIniFileDataBinary(const void* bytes, std::uint64_t length) {
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    if (first != nullptr) {
        owned_.assign(first, first + length);
    }
    bytes_ = owned_;
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

void YIniFileDataBinary::WriteLines(std::u16string_view name, YUnicodeString& out) const {
    rivode::storage::AppendBinaryLines(out, name, bytes_.data(), bytes_.size());
}

bool YIniFileDataStringSz::GetStringArray(YStringArray& value) const {
    if (isStored_) {
        rivode::storage::ReadStoredTexts(stored_.lines, stored_.count, value);
    } else {
        value = value_;
    }
    return true;
}

void YIniFileDataStringSz::WriteLines(std::u16string_view name, YUnicodeString& out) const {
    if (!isStored_) {
        rivode::storage::AppendStringArrayLines(out, name, value_);
        return;
    }
    YStringArray texts;
    (void)GetStringArray(texts);
    rivode::storage::AppendStringArrayLines(out, name, texts);
}
