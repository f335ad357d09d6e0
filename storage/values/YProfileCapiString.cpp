#include <RivodeRavudaVU/YProfileCapiString.h>

#include <RivodeRavudaVU/HexDigits.h>

#include "storage/ciphers/SecretText.h"
#include "storage/ciphers/UserDataProtection.h"

namespace {

constexpr std::u16string_view kPrefix = u"CAPI:";
constexpr std::u16string_view kDescription = u"YProfileCapiString";

}  // namespace

bool YProfileCapiString::Encode(const YUnicodeString& plaintext, YUnicodeString& text) {
    // The terminating zero is part of the protected data, as readers of this form expect.
    YBasicBuffer data(2 * (plaintext.size() + 1), true);
    for (std::size_t i = 0; i < plaintext.size(); ++i) {
        data.GetBytes()[2 * i] = static_cast<std::uint8_t>(plaintext[i]);
        data.GetBytes()[2 * i + 1] = static_cast<std::uint8_t>(plaintext[i] >> 8);
    }
    std::vector<std::uint8_t> blob;
    if (!rivode::storage::ProtectUserData({data.GetBytes(), data.GetLength()}, kDescription,
                                          blob)) {
        return false;
    }
    YUnicodeString result(kPrefix);
    rivode::AppendHexBytes(blob.data(), blob.size(), true, result);
    text = std::move(result);
    return true;
}

bool YProfileCapiString::Decode(std::u16string_view text, YUnicodeString& plaintext) {
    if (text.starts_with(kPrefix)) {
        text.remove_prefix(kPrefix.size());
    }
    if (text.empty()) {
        plaintext.clear();
        return true;
    }
    std::vector<std::uint8_t> blob;
    YRefPtr<IBuffer> data;
    if (!rivode::DecodeHexBytes(text, blob) ||
        !rivode::storage::UnprotectUserData(blob, kDescription, data)) {
        return false;
    }
    YUnicodeString result;
    for (std::size_t i = 0; i + 1 < data->GetLength(); i += 2) {
        const auto c = static_cast<char16_t>(data->GetBytes()[i] | data->GetBytes()[i + 1] << 8);
        if (c == 0) {
            break;
        }
        result.push_back(c);
    }
    rivode::storage::WipeText(plaintext);
    plaintext = std::move(result);
    return true;
}
