#include <RivodeRavudaVU/ProfileExpectSendList.h>

#include "storage/ciphers/SecretText.h"

namespace {

void AppendEscaped(std::u16string_view text, YUnicodeString& out) {
    for (const char16_t c : text) {
        switch (c) {
            case u'\\':
                out += u"\\\\";
                break;
            case u'\t':
                out += u"\\t";
                break;
            case u'\r':
                out += u"\\r";
                break;
            case u'\n':
                out += u"\\n";
                break;
            default:
                out += c;
        }
    }
}

YUnicodeString Unescape(std::u16string_view text) {
    YUnicodeString out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char16_t next = text[++i];
        out += next == u't' ? u'\t' : next == u'r' ? u'\r' : next == u'n' ? u'\n' : next;
    }
    return out;
}

// The lines of text; a line break at the very end does not start another line.
std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.substr(end, 2) == u"\r\n" ? 2 : 1);
    }
    return lines;
}

}  // namespace

ExpectSendPairs ProfileExpectSendList::GetPairs() const {
    YUnicodeString plaintext = GetProfileEncryptedPlaintextString(*this);
    ExpectSendPairs pairs = Parse(plaintext);
    rivode::storage::WipeText(plaintext);
    return pairs;
}

bool ProfileExpectSendList::SetPairs(const ExpectSendPairs& pairs) {
    YUnicodeString plaintext = Format(pairs);
    const bool updated = UpdateProfileEncryptedString(*this, plaintext);
    rivode::storage::WipeText(plaintext);
    return updated;
}

YUnicodeString ProfileExpectSendList::Format(const ExpectSendPairs& pairs) {
    YUnicodeString text;
    for (const ExpectSendPair& pair : pairs) {
        AppendEscaped(pair.expect, text);
        text += u'\t';
        AppendEscaped(pair.send, text);
        text += pair.hide ? u"\t1\n" : u"\t0\n";
    }
    return text;
}

ExpectSendPairs ProfileExpectSendList::Parse(std::u16string_view text) {
    ExpectSendPairs pairs;
    for (const std::u16string_view line : SplitLines(text)) {
        const std::size_t firstTab = line.find(u'\t');
        const std::size_t secondTab =
            firstTab == std::u16string_view::npos ? firstTab : line.find(u'\t', firstTab + 1);
        ExpectSendPair pair;
        pair.expect = Unescape(line.substr(0, firstTab));
        if (firstTab != std::u16string_view::npos) {
            pair.send = Unescape(line.substr(firstTab + 1, secondTab - firstTab - 1));
        }
        pair.hide = secondTab != std::u16string_view::npos && line.substr(secondTab + 1) == u"1";
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

ExpectSendPairs ProfileExpectSendList::ParseOlderScript(std::u16string_view text,
                                                        bool& sendInitialCarriageReturn) {
    sendInitialCarriageReturn = !text.empty() && (text.front() == u'\r' || text.front() == u'\n');
    if (sendInitialCarriageReturn) {
        text.remove_prefix(text.substr(0, 2) == u"\r\n" ? 2 : 1);
    }
    const std::vector<std::u16string_view> lines = SplitLines(text);
    ExpectSendPairs pairs;
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        ExpectSendPair pair;
        pair.expect = YUnicodeString(lines[i]);
        if (i + 1 < lines.size()) {
            pair.send = YUnicodeString(lines[i + 1]);
        }
        pairs.push_back(std::move(pair));
    }
    return pairs;
}
