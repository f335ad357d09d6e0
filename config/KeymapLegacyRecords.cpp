#include <RivodeRavudaVU/KeymapLine.h>
#include <RivodeRavudaVU/ProfileKeymap.h>

#include "config/KeymapText.h"
#include "storage/text/TextCodec.h"

#include <optional>

namespace {

class RecordReader {
public:
    explicit RecordReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::optional<std::uint32_t> BigEndian32() {
        if (bytes_.size() - position_ < 4) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = (value << 8) | bytes_[position_++];
        }
        return value;
    }

    // A NUL-terminated text: UTF-8 after a byte-order mark, Windows-1252 otherwise.
    std::optional<YUnicodeString> Text() {
        std::size_t end = position_;
        while (end < bytes_.size() && bytes_[end] != 0) {
            ++end;
        }
        if (end == bytes_.size()) {
            return std::nullopt;
        }
        std::string_view raw(reinterpret_cast<const char*>(bytes_.data()) + position_,
                             end - position_);
        position_ = end + 1;
        auto encoding = YTextFile::EncodingCodePage;
        if (raw.starts_with("\xEF\xBB\xBF")) {
            raw.remove_prefix(3);
            encoding = YTextFile::EncodingUtf8;
        }
        YUnicodeString text;
        const auto decoded = rivode::storage::DecodeText(encoding, raw, text);
        if (decoded.consumed != raw.size()) {
            // Ill-formed UTF-8 is read as the code page rather than cut short.
            text.clear();
            (void)rivode::storage::DecodeText(YTextFile::EncodingCodePage, raw, text);
        }
        return text;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// The modifier bits of the binary records, and the bits that replaced them.
std::uint32_t ConvertModifiers(std::uint32_t key) {
    static constexpr std::pair<std::uint32_t, std::uint32_t> kBits[] = {
        {0x100, kKeyExtended}, {0x200, kKeyCtrl}, {0x400, kKeyShift}, {0x800, kKeyAlt}};
    for (const auto& [old, current] : kBits) {
        if ((key & old) != 0) {
            key = (key & ~old) | current;
        }
    }
    return key;
}

}  // namespace

void ReadLegacyKeymapRecords(Keymap& map, std::span<const std::uint8_t> bytes) {
    RecordReader reader(bytes);
    const std::optional<std::uint32_t> count = reader.BigEndian32();
    for (std::uint32_t i = 0; count && i < *count; ++i) {
        const std::optional<std::uint32_t> key = reader.BigEndian32();
        if (!key) {
            return;
        }
        std::optional<YUnicodeString> function = reader.Text();
        if (!function) {
            return;
        }
        std::optional<YUnicodeString> value = reader.Text();
        if (!value) {
            return;
        }
        const std::uint32_t code = FunctionNameToCode(*function);
        if (code == kNoKeyCode || code == kFunctionNone) {
            continue;
        }
        YUnicodeString arguments;
        if (code == kFunctionSend) {
            DoubleLineBreakEscapes(*value);
        } else if (code == kFunctionLaunch && map.HasCombinedLaunchCommand()) {
            YUnicodeString program;
            if (SplitCommandLine(*value, program, arguments)) {
                value = std::move(program);
            }
        }
        map.Set({ConvertModifiers(*key), code, std::move(*value), std::move(arguments)});
    }
}
