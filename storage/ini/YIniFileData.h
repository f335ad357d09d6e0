// The values of an INI folder store key: one object per stored value, of one of four kinds.
// A value never changes: the key's table makes a new one for every value set.
//
// The base class answers false to every read its kind does not support, so a caller asking for
// the wrong kind simply finds nothing.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class YIniFileData {
public:
    YIniFileData() = default;
    // Values may hold views of their own buffers: never copied, only rebuilt from what they hold.
    YIniFileData(const YIniFileData&) = delete;
    YIniFileData& operator=(const YIniFileData&) = delete;
    virtual ~YIniFileData() = default;

    virtual bool GetStringArray(YStringArray& value) const { return false; }
    // As YProfilePrivateKey::GetBinary: no buffer asks for the length only.
    virtual bool GetBinary(void* buffer, std::uint64_t& size) const { return false; }
    virtual bool GetString(YUnicodeString& value) const { return false; }
    virtual bool GetDword(std::uint32_t& value) const { return false; }
    virtual ValueKind GetKind() const = 0;
    // Appends the value's header and continuation lines under name, in the value-file format.
    virtual void WriteLines(std::u16string_view name, YUnicodeString& out) const = 0;
};

class YIniFileDataDword final : public YIniFileData {
public:
    explicit YIniFileDataDword(std::uint32_t value) : value_(value) {}
    bool GetDword(std::uint32_t& value) const override;
    ValueKind GetKind() const override { return ValueKindDword; }
    void WriteLines(std::u16string_view name, YUnicodeString& out) const override;

private:
    std::uint32_t value_;
};

// A value read from a file keeps its text as the file's UTF-8 bytes, in the arena of the key's
// value table (which outlives the value): reading a key neither allocates nor decodes per
// string, and only a text that is asked for is turned into UTF-16. A text set later is UTF-16,
// in the same arena.
class YIniFileDataString final : public YIniFileData {
public:
    struct Utf8 {
        std::string_view bytes;  // well-formed UTF-8
    };
    explicit YIniFileDataString(Utf8 stored) : stored_(stored.bytes), isUtf8_(true) {}
    explicit YIniFileDataString(std::u16string_view text) : text_(text) {}
    bool GetString(YUnicodeString& value) const override;
    ValueKind GetKind() const override { return ValueKindString; }
    void WriteLines(std::u16string_view name, YUnicodeString& out) const override;

private:
    std::string_view stored_;   // while isUtf8_
    std::u16string_view text_;  // otherwise
    bool isUtf8_ = false;
};

// Like a string, a binary value read from a file keeps its bytes in the arena of the key's value
// table; bytes set later are owned by the value.
class YIniFileDataBinary final : public YIniFileData {
public:
    struct Stored {
        std::span<const std::uint8_t> bytes;  // in the table's arena
    };
    explicit YIniFileDataBinary(Stored stored) : bytes_(stored.bytes) {}
    explicit YIniFileDataBinary(std::vector<std::uint8_t> bytes)
        : owned_(std::move(bytes)), bytes_(owned_) {}
    YIniFileDataBinary(const void* bytes, std::uint64_t length);
    bool GetBinary(void* buffer, std::uint64_t& size) const override;
    ValueKind GetKind() const override { return ValueKindBinary; }
    void WriteLines(std::u16string_view name, YUnicodeString& out) const override;

private:
    std::vector<std::uint8_t> owned_;
    std::span<const std::uint8_t> bytes_;  // in the arena, or owned_
};

// A list read from a file keeps its continuation lines as the file's UTF-8 (in the table's
// arena) and is split and decoded only when asked for: most keys hold lists no caller reads.
class YIniFileDataStringSz final : public YIniFileData {
public:
    struct Stored {
        std::string_view lines;  // count well-formed continuation lines, see ReadStoredTexts
        std::uint32_t count;
    };
    explicit YIniFileDataStringSz(Stored stored) : stored_(stored), isStored_(true) {}
    explicit YIniFileDataStringSz(YStringArray value) : value_(std::move(value)) {}
    bool GetStringArray(YStringArray& value) const override;
    ValueKind GetKind() const override { return ValueKindMultiString; }
    void WriteLines(std::u16string_view name, YUnicodeString& out) const override;

private:
    Stored stored_{};  // while isStored_
    bool isStored_ = false;
    YStringArray value_;
};
