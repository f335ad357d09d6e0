// Reader of the oldest enciphered form of sensitive values: a text enciphered twice with the
// legacy 64-bit block cipher, each time under one of two fixed keys of that format.
//
// The text is optionally prefixed by the width of its plaintext ("u": UTF-16; "l": four bytes a
// character, of which the first two are the UTF-16 unit; none: 8-bit Windows-1252 text), then
// hexadecimal of a whole number of 8-byte blocks. The outer cipher covers all blocks, the inner
// one all but the first and last four bytes, which are filler; the plaintext ends at its first
// terminating zero.
//
// The two fixed keys are not available to this library: they stay empty, so such values read as
// undecodable unless keys are supplied with SetKeys.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <span>
#include <vector>

#pragma GCC visibility push(default)

class YBlowfishString {
public:
    // mode 0: big-endian words, chaining, 16 key bytes (the older session values);
    // mode 1: little-endian words, no chaining, 32 key bytes;
    // mode 2: little-endian words, chaining, 16 key bytes.
    explicit YBlowfishString(YUnicodeString text = {}, unsigned mode = 0);
    ~YBlowfishString();

    // Replaces the fixed keys: first for the inner cipher, second for the outer one.
    void SetKeys(std::span<const std::uint8_t> first, std::span<const std::uint8_t> second);

    // The plaintext; an empty text gives an empty plaintext. false, plaintext empty, for an
    // unknown mode, a malformed text, or keys shorter than the mode uses.
    [[nodiscard]] bool Decode(YUnicodeString& plaintext) const;

private:
    YUnicodeString text_;
    unsigned mode_;
    std::vector<std::uint8_t> firstKey_;
    std::vector<std::uint8_t> secondKey_;
};

#pragma GCC visibility pop
