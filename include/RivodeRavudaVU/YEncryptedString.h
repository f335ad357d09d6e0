// Sensitive values in their stored, enciphered text form.
//
// A YEncryptedString holds the "02:" text of one value: "02:" followed by lower-case hexadecimal
// of an AES-256-CBC block (zero IV, no cipher padding) that carries the value's length, its UTF-8
// bytes, their SHA-256 and random padding, under a key derived from the configuration passphrase
// (the empty passphrase when none is set). Because the block carries its own check, a wrong
// passphrase is recognised rather than yielding garbage.
//
// Objects are used by one thread at a time; the process-wide random source may be shared.
#pragma once

#include <RivodeRavudaVU/YRefPtr.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>

#pragma GCC visibility push(default)

// Cryptographically strong random bytes.
class IRandomSource : public IYUnknown {
public:
    static constexpr YInterfaceId kInterfaceId{"IRandomSource"};
    // Fills count bytes; false when the platform source failed (buffer content then unspecified).
    virtual bool GetRandomBytes(void* buffer, std::size_t count) = 0;

protected:
    ~IRandomSource() = default;
};

// The process-wide source over the platform's random bytes, created once on first use and shared
// by every thread.
YRefPtr<IRandomSource> GetProcessRandomSource();

class YEncryptedString {
public:
    YEncryptedString() = default;
    YEncryptedString(const YEncryptedString&) = default;
    YEncryptedString(YEncryptedString&&) = default;
    YEncryptedString& operator=(const YEncryptedString&) = default;
    YEncryptedString& operator=(YEncryptedString&&) = default;
    virtual ~YEncryptedString();

    // Enciphers plaintext under passphrase. When the held text already deciphers under
    // passphrase to exactly plaintext it is kept, so saving an unchanged value does not rewrite
    // it. false, the held text unchanged, when plaintext is not valid UTF-16 or enciphering
    // failed.
    [[nodiscard]] bool SetPlaintext(const YUnicodeString& plaintext,
                                    const YUnicodeString& passphrase);
    // Deciphers the held text; an empty text gives an empty plaintext. false when the text is
    // malformed or passphrase is not the one it was enciphered under (plaintext then untouched).
    [[nodiscard]] bool GetPlaintext(YUnicodeString& plaintext,
                                    const YUnicodeString& passphrase) const;
    // The same, telling the two failures apart for the host to act on (refuse the text, or ask
    // for another passphrase): false with 0xE1380660 (EncryptedTextMalformed) when the held text
    // is not an "02:" text, with 0xE1380661 (EncryptedTextWrongPassphrase) when it is one that
    // does not decipher under passphrase.
    [[nodiscard]] bool GetPlaintext(YUnicodeString& plaintext, const YUnicodeString& passphrase,
                                    YReportMessageParams& report) const;

    // The stored form, taken and given as it stands: never deciphered or checked here.
    const YUnicodeString& GetEncryptedText() const { return text_; }
    void SetEncryptedText(YUnicodeString text) { text_ = std::move(text); }

    // The source of the padding bytes; null means the process-wide source.
    void SetRandomSource(YRefPtr<IRandomSource> random) { random_ = std::move(random); }

    // Equal when the enciphered texts are equal (the random source does not count).
    bool operator==(const YEncryptedString& other) const { return text_ == other.text_; }

private:
    YUnicodeString text_;
    YRefPtr<IRandomSource> random_;
};

#pragma GCC visibility pop
