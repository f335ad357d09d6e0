// Feeds arbitrary text to every reader of enciphered sensitive values: the "02:" form, the
// double-enciphered older form (under keys of its own), the per-user protected "CAPI:" form and
// the XOR-encoded form. None may crash; what the "02:" and XOR readers accept must survive a
// round trip through their writers.
#include <RivodeRavudaVU/YBlowfishString.h>
#include <RivodeRavudaVU/YProfileCapiString.h>
#include <RivodeRavudaVU/YProfileEncodedString.h>

#include "storage/ciphers/EncryptedText.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

namespace {

constexpr const char16_t* kPassphrases[] = {u"", u"fuzz"};

void CheckEncryptedText(const YUnicodeString& text, const char16_t* passphrase) {
    // The empty text stands for the empty value without being enciphered: no round trip.
    YRefPtr<IBuffer> value;
    if (!CryptUtils::DecryptFromText(text, passphrase, value) || text.empty()) {
        return;
    }
    YUnicodeString again;
    YRefPtr<IBuffer> back;
    if (!CryptUtils::EncryptToText(value->GetBytes(), value->GetLength(), CryptUtils::kValueCipher,
                                   passphrase, nullptr, again) ||
        !CryptUtils::DecryptFromText(again, passphrase, back) ||
        back->GetLength() != value->GetLength() ||
        std::memcmp(back->GetBytes(), value->GetBytes(), value->GetLength()) != 0) {
        std::abort();
    }
}

void CheckEncodedText(const YUnicodeString& text) {
    YUnicodeString plaintext;
    YUnicodeString encoded;
    YUnicodeString back;
    if (YProfileEncodedString::Decode(text, plaintext) &&
        YProfileEncodedString::Encode(plaintext, encoded) &&
        (!YProfileEncodedString::Decode(encoded, back) || back != plaintext)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A user key of the run's own, so that protected texts get as far as their check.
    static const auto home = std::filesystem::temp_directory_path() /
                             ("cipher-text-fuzzer-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(home);
    std::atexit([] { std::filesystem::remove_all(home); });
    ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    YUnicodeString text;
    return YProfileCapiString::Encode(u"seed", text) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the passphrase and the legacy mode (3 is no mode at all); the rest
    // is the text, a character a byte, since every form is ASCII.
    const std::uint8_t choice = data[0];
    const YUnicodeString text(data + 1, data + size);

    CheckEncryptedText(text, kPassphrases[choice & 1]);
    CheckEncodedText(text);

    static const std::uint8_t firstKey[32] = {1, 2, 3, 4, 5, 6, 7, 8};
    static const std::uint8_t secondKey[32] = {8, 7, 6, 5, 4, 3, 2, 1};
    YBlowfishString blowfish(text, (choice >> 1) & 3);
    blowfish.SetKeys(firstKey, secondKey);
    YUnicodeString plaintext;
    (void)blowfish.Decode(plaintext);
    (void)YProfileCapiString::Decode(text, plaintext);
    return 0;
}
