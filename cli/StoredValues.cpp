#include "StoredValues.h"

#include <limits>

namespace rivode::cli {

bool FindValueKind(const YProfileKey& key, std::u16string_view name, int& kind) {
    YProfileKeyIterator values(key, true);
    YUnicodeString listed;
    int listedKind = ValueKindUnknown;
    while (values.Next(listed, listedKind)) {
        if (listed == name) {
            kind = listedKind;
            return true;
        }
    }
    return false;
}

bool ReadValue(const YProfileKey& key, std::u16string_view name, int kind, ValueData& value) {
    switch (kind) {
        case ValueKindDword: {
            std::uint32_t number = 0;
            if (!key.GetDword(name, number)) {
                return false;
            }
            value = number;
            return true;
        }
        case ValueKindString: {
            YUnicodeString text;
            if (!key.GetString(name, text)) {
                return false;
            }
            value = std::move(text);
            return true;
        }
        case ValueKindBinary: {
            std::uint32_t size = 0;
            if (!key.GetBinary(name, nullptr, size)) {
                return false;
            }
            ByteBlock bytes(size);
            if (size != 0 && !key.GetBinary(name, bytes.data(), size)) {
                return false;
            }
            bytes.resize(size);
            value = std::move(bytes);
            return true;
        }
        case ValueKindMultiString: {
            YStringArray items;
            if (!key.GetStringArray(name, items)) {
                return false;
            }
            value = std::move(items);
            return true;
        }
        default:
            return false;
    }
}

bool WriteValue(const YProfileKey& key, std::u16string_view name, const ValueData& value) {
    switch (KindOf(value)) {
        case ValueKindDword:
            return key.SetDword(name, std::get<std::uint32_t>(value));
        case ValueKindString:
            return key.SetString(name, std::get<YUnicodeString>(value));
        case ValueKindBinary: {
            const ByteBlock& bytes = std::get<ByteBlock>(value);
            if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
                return false;
            }
            return key.SetBinary(name, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        }
        default:
            return key.SetStringArray(name, std::get<YStringArray>(value));
    }
}

}  // namespace rivode::cli
