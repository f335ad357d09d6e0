#include <RivodeRavudaVU/YBlowfishString.h>

#include <RivodeRavudaVU/HexDigits.h>

#include "storage/ciphers/YBasicBuffer.h"
#include "storage/ciphers/YCipherBlowfish.h"
#include "storage/text/CodePage1252.h"

#include "platform/SecureMemory.h"

#include <array>

namespace {

using rivode::storage::YCipherBlowfish;

// The fixed keys of the older format. Their values belong to that format's owner and are not
// available here.
constexpr std::array<std::uint8_t, 0> kLegacyFirstKey{};
constexpr std::array<std::uint8_t, 0> kLegacySecondKey{};

constexpr std::size_t kFillerBytes = 4;

struct ModeSettings {
    bool littleEndian;
    bool chaining;
    std::size_t keyLength;
};

constexpr ModeSettings kModes[] = {{false, true, 16}, {true, false, 32}, {true, true, 16}};

enum class Width { Narrow, Utf16, Wide };

bool Decipher(const ModeSettings& mode, std::span<const std::uint8_t> key, std::uint8_t* bytes,
              std::size_t length) {
    YCipherBlowfish cipher;
    cipher.SetKeyLength(mode.keyLength);
    cipher.SetLittleEndianWords(mode.littleEndian);
    cipher.SetChaining(mode.chaining);
    return cipher.SetKey(key) && cipher.Decrypt(bytes, length);
}

YUnicodeString ToText(const std::uint8_t* bytes, std::size_t length, Width width) {
    YUnicodeString text;
    const std::size_t step = width == Width::Narrow ? 1 : width == Width::Utf16 ? 2 : 4;
    for (std::size_t i = 0; i + step <= length; i += step) {
        const char16_t c = width == Width::Narrow
                               ? rivode::storage::kCodePage1252ToUnicode[bytes[i]]
                               : static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
        if (c == 0) {
            break;
        }
        text.push_back(c);
    }
    return text;
}

}  // namespace

YBlowfishString::YBlowfishString(YUnicodeString text, unsigned mode)
    : text_(std::move(text)),
      mode_(mode),
      firstKey_(kLegacyFirstKey.begin(), kLegacyFirstKey.end()),
      secondKey_(kLegacySecondKey.begin(), kLegacySecondKey.end()) {}

YBlowfishString::~YBlowfishString() {
    rivode::platform::WipeMemory(firstKey_.data(), firstKey_.size());
    rivode::platform::WipeMemory(secondKey_.data(), secondKey_.size());
}

void YBlowfishString::SetKeys(std::span<const std::uint8_t> first,
                              std::span<const std::uint8_t> second) {
    firstKey_.assign(first.begin(), first.end());
    secondKey_.assign(second.begin(), second.end());
}

bool YBlowfishString::Decode(YUnicodeString& plaintext) const {
    plaintext.clear();
    if (text_.empty()) {
        return true;
    }
    if (mode_ >= std::size(kModes)) {
        return false;
    }
    std::u16string_view digits = text_;
    Width width = Width::Narrow;
    if (digits.front() == u'u' || digits.front() == u'l') {
        width = digits.front() == u'u' ? Width::Utf16 : Width::Wide;
        digits.remove_prefix(1);
    }
    std::vector<std::uint8_t> cipherText;
    if (!rivode::DecodeHexBytes(digits, cipherText) || cipherText.empty() ||
        cipherText.size() % YCipherBlowfish::kBlockSize != 0) {
        return false;
    }
    const std::size_t size = cipherText.size();
    YBasicBuffer block(size);
    block.Append(cipherText.data(), size);
    std::uint8_t* const bytes = block.GetBytes();
    const ModeSettings& mode = kModes[mode_];
    const std::size_t innerLength = size - 2 * kFillerBytes;
    if (!Decipher(mode, secondKey_, bytes, size) ||
        !Decipher(mode, firstKey_, bytes + kFillerBytes, innerLength)) {
        return false;
    }
    plaintext = ToText(bytes + kFillerBytes, innerLength, width);
    return true;
}
