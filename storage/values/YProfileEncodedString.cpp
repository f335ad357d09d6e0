#include <RivodeRavudaVU/YProfileEncodedString.h>

#include <RivodeRavudaVU/HexDigits.h>

#include "storage/text/CodePage1252.h"

#include <array>
#include <chrono>
#include <mutex>
#include <random>

namespace {

constexpr std::size_t kMaskSize = 4;

// The mask only has to vary between values; a time-seeded generator is all the form ever used.
std::array<std::uint8_t, kMaskSize> NextMask() {
    static std::mutex mutex;
    static std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    const std::lock_guard lock(mutex);
    std::array<std::uint8_t, kMaskSize> mask;
    for (std::uint8_t& byte : mask) {
        byte = static_cast<std::uint8_t>(generator() & 0xFF);
    }
    return mask;
}

}  // namespace

bool YProfileEncodedString::Encode(const YUnicodeString& plaintext, YUnicodeString& text) {
    if (plaintext.empty()) {
        text.clear();
        return true;
    }
    const std::array<std::uint8_t, kMaskSize> mask = NextMask();
    std::vector<std::uint8_t> bytes(mask.begin(), mask.end());
    for (std::size_t i = 0; i < plaintext.size(); ++i) {
        unsigned char byte = 0;
        if (!rivode::storage::UnicodeToCodePage1252(plaintext[i], byte)) {
            return false;
        }
        bytes.push_back(byte ^ mask[i % kMaskSize]);
    }
    YUnicodeString result;
    rivode::AppendHexBytes(bytes.data(), bytes.size(), false, result);
    text = std::move(result);
    return true;
}

bool YProfileEncodedString::Decode(std::u16string_view text, YUnicodeString& plaintext) {
    std::vector<std::uint8_t> bytes;
    if (!text.empty() && (text.size() < 2 * kMaskSize || !rivode::DecodeHexBytes(text, bytes))) {
        return false;
    }
    YUnicodeString result;
    for (std::size_t i = kMaskSize; i < bytes.size(); ++i) {
        const std::uint8_t byte = bytes[i] ^ bytes[(i - kMaskSize) % kMaskSize];
        result.push_back(rivode::storage::kCodePage1252ToUnicode[byte]);
    }
    plaintext = std::move(result);
    return true;
}
