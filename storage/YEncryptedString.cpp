#include <RivodeRavudaVU/YEncryptedString.h>

#include "storage/EncryptedText.h"
#include "storage/SecretText.h"

using rivode::storage::WipeText;

YEncryptedString::~YEncryptedString() = default;

bool YEncryptedString::SetPlaintext(const YUnicodeString& plaintext,
                                    const YUnicodeString& passphrase) {
    // An unchanged value keeps its text: fresh padding would make every save rewrite every
    // sensitive value.
    if (!text_.empty()) {
        YUnicodeString current;
        const bool unchanged = GetPlaintext(current, passphrase) && current == plaintext;
        WipeText(current);
        if (unchanged) {
            return true;
        }
    }
    std::string utf8;
    YUnicodeString text;
    const bool enciphered =
        rivode::ToUtf8Strict(plaintext, utf8) &&
        CryptUtils::EncryptToText(utf8.data(), utf8.size(), CryptUtils::kValueCipher,
                                  passphrase.c_str(), random_.get(), text);
    WipeText(utf8);
    if (enciphered) {
        text_ = std::move(text);
    }
    return enciphered;
}

bool YEncryptedString::GetPlaintext(YUnicodeString& plaintext,
                                    const YUnicodeString& passphrase) const {
    YRefPtr<IBuffer> value;
    if (!CryptUtils::DecryptFromText(text_, passphrase.c_str(), value)) {
        return false;
    }
    plaintext = rivode::FromUtf8(
        std::string_view(reinterpret_cast<const char*>(value->GetBytes()), value->GetLength()));
    return true;
}
