// Stored forms of fixed-size binary records, little-endian whatever the host.
//
// A record type T gets a stored form by specialising YBinaryLayout<T> with kSize and
//   static void Write(const T& value, std::uint8_t* out);    // exactly kSize bytes
//   static void Read(const std::uint8_t* in, T& value);      // exactly kSize bytes
// written field by field with the helpers below; structs are never copied as memory, so padding
// and the host's byte order never reach the store.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma GCC visibility push(default)

template <class T>
struct YBinaryLayout;

template <class T>
concept YBinaryRecord = requires {
    YBinaryLayout<T>::kSize;
};

class YLittleEndianWriter {
public:
    explicit YLittleEndianWriter(std::uint8_t* out) : out_(out) {}
    void PutUInt8(std::uint8_t value) { *out_++ = value; }
    void PutUInt16(std::uint16_t value) {
        PutUInt8(static_cast<std::uint8_t>(value));
        PutUInt8(static_cast<std::uint8_t>(value >> 8));
    }
    void PutUInt32(std::uint32_t value) {
        PutUInt16(static_cast<std::uint16_t>(value));
        PutUInt16(static_cast<std::uint16_t>(value >> 16));
    }
    void PutInt32(std::int32_t value) { PutUInt32(static_cast<std::uint32_t>(value)); }
    std::uint8_t* Position() const { return out_; }

private:
    std::uint8_t* out_;
};

class YLittleEndianReader {
public:
    explicit YLittleEndianReader(const std::uint8_t* in) : in_(in) {}
    std::uint8_t GetUInt8() { return *in_++; }
    std::uint16_t GetUInt16() {
        const std::uint16_t low = GetUInt8();
        return static_cast<std::uint16_t>(low | (GetUInt8() << 8));
    }
    std::uint32_t GetUInt32() {
        const std::uint32_t low = GetUInt16();
        return low | (static_cast<std::uint32_t>(GetUInt16()) << 16);
    }
    std::int32_t GetInt32() { return static_cast<std::int32_t>(GetUInt32()); }
    const std::uint8_t* Position() const { return in_; }

private:
    const std::uint8_t* in_;
};

#pragma GCC visibility pop
