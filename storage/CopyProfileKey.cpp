#include <RivodeRavudaVU/YProfileStore.h>

#include <vector>

bool CopyProfileValue(const YProfileKey& destination, const YProfileKey& source,
                      const YUnicodeString& name, int kind) {
    switch (kind) {
        case ValueKindDword: {
            std::uint32_t value = 0;
            return source.GetDword(name, value) && destination.SetDword(name, value);
        }
        case ValueKindString: {
            YUnicodeString value;
            return source.GetString(name, value) && destination.SetString(name, value);
        }
        case ValueKindBinary: {
            std::uint32_t length = 0;
            if (!source.GetBinary(name, nullptr, length)) {
                return false;
            }
            std::vector<std::uint8_t> bytes(length);
            return source.GetBinary(name, bytes.data(), length) &&
                   destination.SetBinary(name, bytes.data(), length);
        }
        case ValueKindMultiString: {
            YStringArray value;
            return source.GetStringArray(name, value) && destination.SetStringArray(name, value);
        }
        default:
            return false;
    }
}

bool CopyProfileKeyValues(YProfileKey& destination, const YProfileKey& source) {
    YProfileKeyIterator values(source, true);
    YUnicodeString name;
    int kind = 0;
    while (values.Next(name, kind)) {
        if (!CopyProfileValue(destination, source, name, kind)) {
            return false;
        }
    }
    return true;
}

bool CopyProfileKey(YProfileKey& destination, const YProfileKey& source) {
    if (!CopyProfileKeyValues(destination, source)) {
        return false;
    }
    YProfileKeyIterator subKeys(source, false);
    YUnicodeString name;
    while (subKeys.Next(name)) {
        const YProfileKey sourceSubKey(source, name, false);
        YProfileKey destinationSubKey(destination, name, false);
        if (!CopyProfileKey(destinationSubKey, sourceSubKey)) {
            return false;
        }
    }
    return true;
}
