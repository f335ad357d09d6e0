#include <RivodeRavudaVU/YEncryptedString.h>

#include <RivodeRavudaVU/RivodeMessages.h>

#include "platform/SecureMemory.h"
#include "storage/ciphers/EncryptedText.h"
#include "storage/ciphers/SecretText.h"

using rivode::storage::WipeText;

// A text under the empty passphrase (the published configuration passphrase is one) tells its
// plaintext to anyone: it goes like a plaintext.
YEncryptedString::~YEncryptedString() {
    WipeText(text_);
}

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
    rivode::platform::SecureChars utf8;
    YUnicodeString text;
    const bool enciphered =
        rivode::platform::ToSecureUtf8(plaintext, utf8) &&
        CryptUtils::EncryptToText(utf8.data(), utf8.size(), CryptUtils::kValueCipher,
                                  passphrase.c_str(), random_.get(), text);
    if (enciphered) {
        text_ = std::move(text);
    }
    return enciphered;
}

bool YEncryptedString::GetPlaintext(YUnicodeString& plaintext,
                                    const YUnicodeString& passphrase) const {
    YReportMessageParams ignored;
    return GetPlaintext(plaintext, passphrase, ignored);
}

bool YEncryptedString::GetPlaintext(YUnicodeString& plaintext, const YUnicodeString& passphrase,
                                    YReportMessageParams& report) const {
    using CryptUtils::DecryptResult;
    YRefPtr<IBuffer> value;
    switch (CryptUtils::DecryptText(text_, passphrase.c_str(), value)) {
        case DecryptResult::Deciphered:
            break;
        case DecryptResult::Malformed:
            report.SetMessage(rivode::msg::EncryptedTextMalformed);
            return false;
        case DecryptResult::WrongPassphrase:
            report.SetMessage(rivode::msg::EncryptedTextWrongPassphrase);
            return false;
    }
    plaintext = rivode::FromUtf8(
        std::string_view(reinterpret_cast<const char*>(value->GetBytes()), value->GetLength()));
    return true;
}
