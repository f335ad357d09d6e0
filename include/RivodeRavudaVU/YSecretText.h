// Texts that hold a secret (a passphrase, the plaintext of a sensitive value) while a host uses
// them.
//
// The library hands secrets to its host as YUnicodeString, in ordinary memory. A YSecretText
// owns such a text and zeroes its characters, the whole buffer, when it goes out of scope, on
// every path out of the scope (an early return, an exception), so no host has to remember a
// wipe. Fill it through Text() from any function of the API that gives a YUnicodeString.
//
// One thread at a time per object.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#pragma GCC visibility push(default)

class YSecretText {
public:
    YSecretText() = default;
    // Takes the text over; the source is left empty and wiped.
    explicit YSecretText(YUnicodeString&& text);
    // Moving wipes the source: a short text lives inside the string object itself, where
    // moving copies its characters and leaves them behind.
    YSecretText(YSecretText&& other) noexcept;
    YSecretText& operator=(YSecretText&& other) noexcept;
    YSecretText(const YSecretText&) = delete;
    YSecretText& operator=(const YSecretText&) = delete;
    ~YSecretText();

    // The text, for reading or to be filled by the API; what it held before is the caller's to
    // wipe first when it is replaced by assignment (Wipe).
    YUnicodeString& Text() { return text_; }
    const YUnicodeString& Text() const { return text_; }
    const char16_t* c_str() const { return text_.c_str(); }
    bool empty() const { return text_.empty(); }

    // Zeroes every character the buffer can hold, then empties the text.
    void Wipe() noexcept;

private:
    YUnicodeString text_;
};

// Wipes a secret text the host holds elsewhere (a field of a dialog's base class, such as
// PassphraseDialogBase::passphrase) when the guard goes out of scope, on every path out of it.
// The text must outlive the guard.
class YWipeTextOnExit {
public:
    explicit YWipeTextOnExit(YUnicodeString& text) : text_(text) {}
    YWipeTextOnExit(const YWipeTextOnExit&) = delete;
    YWipeTextOnExit& operator=(const YWipeTextOnExit&) = delete;
    ~YWipeTextOnExit();

private:
    YUnicodeString& text_;
};

// Makes this process one the system never writes a core dump of (nor lets other processes of
// the user read its memory): for hosts that hold secrets in memory the library did not
// allocate, such as the texts of its API. false when the system refused.
[[nodiscard]] bool YProtectProcessSecrets();

#pragma GCC visibility pop
