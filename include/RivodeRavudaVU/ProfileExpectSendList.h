// ProfileExpectSendList: a session's logon script, the expect/send pairs sent while logging on,
// kept as one sensitive value ("Login Script V3").
//
// The stored value is the enciphered "02:" text of the whole list, like a password: loading,
// saving, copying and comparing move that text unchanged, and the pairs are deciphered only when
// a caller asks for them. The list's plaintext has one line per pair (lines end in LF): the
// expect text, a tab, the send text, a tab, and "1" or "0" for whether the send text is hidden
// in lists; a backslash, tab, CR or LF inside a text is written as "\\", "\t", "\r" or "\n".
#pragma once

#include <RivodeRavudaVU/YProfileEncryptedString.h>

#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

struct ExpectSendPair {
    YUnicodeString expect;  // the text waited for; empty sends at once
    YUnicodeString send;    // the text sent when it arrives
    bool hide = false;      // lists show the send text as asterisks
    bool operator==(const ExpectSendPair&) const = default;
};
using ExpectSendPairs = std::vector<ExpectSendPair>;

class ProfileExpectSendList : public YProfileEncryptedString {
public:
    using YProfileEncryptedString::YProfileEncryptedString;
    using YProfileEncryptedString::operator=;
    ProfileExpectSendList(const ProfileExpectSendList&) = default;

    // The pairs under the current configuration passphrase; empty when none are stored, when the
    // text does not decipher, and while sensitive data is disabled.
    ExpectSendPairs GetPairs() const;
    // Enciphers pairs under the current passphrase (the caller saves). false, value unchanged,
    // while sensitive data is disabled or when enciphering failed.
    [[nodiscard]] bool SetPairs(const ExpectSendPairs& pairs);

    // The plaintext form described above, and back. Parsing never fails: a line without its
    // tabs is an expect text with nothing to send.
    static YUnicodeString Format(const ExpectSendPairs& pairs);
    static ExpectSendPairs Parse(std::u16string_view text);

    // The older logon-script text ("Login Script V2" and "Login Script"): lines (ending in CR LF,
    // LF or CR) that alternate between an expect text and its send text, a last expect text
    // without a line to send sending nothing. A first line that is empty stands for sending a
    // carriage return before the first expect text: sendInitialCarriageReturn is set when it is
    // there and cleared otherwise.
    static ExpectSendPairs ParseOlderScript(std::u16string_view text,
                                            bool& sendInitialCarriageReturn);
};

#pragma GCC visibility pop
