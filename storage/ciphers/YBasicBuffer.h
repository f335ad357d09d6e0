// Byte buffers for secrets: keys, deciphered blocks and plaintexts.
#pragma once

#include "platform/SecureMemory.h"

#include <RivodeRavudaVU/YRefPtr.h>

#include <cstddef>
#include <cstdint>

// A block of bytes with a fixed capacity and a current length (the bytes in use).
class IBuffer : public IYUnknown {
public:
    static constexpr YInterfaceId kInterfaceId{"IBuffer"};
    virtual std::uint8_t* GetBytes() = 0;
    virtual const std::uint8_t* GetBytes() const = 0;
    virtual std::size_t GetCapacity() const = 0;
    virtual std::size_t GetLength() const = 0;
    // false, nothing changed, when length exceeds the capacity.
    virtual bool SetLength(std::size_t length) = 0;
    // Adds count bytes after the current length; false, nothing changed, when they do not fit.
    virtual bool Append(const void* bytes, std::size_t count) = 0;

protected:
    ~IBuffer() = default;
};

// The bytes live in secure memory: left out of core dumps and zeroed when the buffer is
// destroyed, so a secret does not outlive its use in freed memory.
class YBasicBuffer : public YUnknown<IBuffer> {
public:
    // Starts with length 0, or with the whole capacity in use (zero bytes) when full.
    explicit YBasicBuffer(std::size_t capacity, bool full = false);

    std::uint8_t* GetBytes() override { return bytes_.data(); }
    const std::uint8_t* GetBytes() const override { return bytes_.data(); }
    std::size_t GetCapacity() const override { return bytes_.size(); }
    std::size_t GetLength() const override { return length_; }
    bool SetLength(std::size_t length) override;
    bool Append(const void* bytes, std::size_t count) override;

private:
    rivode::platform::SecureBytes bytes_;
    std::size_t length_ = 0;
};
