// Access control on this platform is reduced to the modes of the folders and files a key
// creates: they hold secrets, so only the owner gets in unless an entry allows another account.

#include <RivodeRavudaVU/YProfileStore.h>

#include "platform/Environment.h"

#include <array>
#include <charconv>
#include <optional>
#include <string>

namespace {

constexpr std::uint32_t kGenericAll = 0x10000000u;
constexpr std::uint32_t kGenericRead = 0x80000000u;
constexpr std::uint32_t kGenericWrite = 0x40000000u;
constexpr std::uint32_t kReadData = 0x00000001u;
constexpr std::uint32_t kWriteData = 0x00000002u;
constexpr std::uint32_t kReadRights = kGenericAll | kGenericRead | kReadData;
constexpr std::uint32_t kWriteRights = kGenericAll | kGenericWrite | kWriteData;

// Accounts that stand for the owner, or for administrators who pass file modes anyway.
constexpr std::array<std::u16string_view, 6> kOwnerAccounts = {
    u"CREATOR OWNER", u"OWNER RIGHTS", u"Owner", u"SYSTEM", u"Administrators", u"root",
};

bool IsOwnerAccount(std::u16string_view account) {
    for (const std::u16string_view owner : kOwnerAccounts) {
        if (rivode::EqualsNoCase(account, owner)) {
            return true;
        }
    }
    static const std::optional<std::string> user = rivode::platform::GetEnvironmentVariable("USER");
    return user && rivode::EqualsNoCase(account, rivode::FromUtf8(*user));
}

// The group and other bits that the entries give to accounts other than the owner.
unsigned OtherModes(const std::vector<YAccessControlEntry>& entries, unsigned readBits,
                    unsigned writeBits) {
    unsigned allowed = 0;
    unsigned denied = 0;
    for (const YAccessControlEntry& entry : entries) {
        if (IsOwnerAccount(entry.account)) {
            continue;
        }
        unsigned bits = 0;
        bits |= (entry.rights & kReadRights) != 0 ? readBits : 0;
        bits |= (entry.rights & kWriteRights) != 0 ? writeBits : 0;
        (entry.allow ? allowed : denied) |= bits;
    }
    return allowed & ~denied;
}

std::optional<std::uint32_t> ParseRights(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t rights = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rights, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return rights;
}

}  // namespace

YStringArray YAccessControl::ToStrings() const {
    YStringArray texts;
    texts.reserve(entries.size());
    for (const YAccessControlEntry& entry : entries) {
        char rights[16];
        const auto end = std::to_chars(rights, rights + sizeof rights, entry.rights, 16).ptr;
        const std::string hex(rights, end);
        YUnicodeString text = entry.account;
        text += entry.allow ? u",allow," : u",deny,";
        text += rivode::FromAscii("0x" +
                                  std::string(8 - std::min<std::size_t>(8, hex.size()), '0') + hex);
        texts.push_back(std::move(text));
    }
    return texts;
}

bool YAccessControl::FromStrings(const YStringArray& texts) {
    std::vector<YAccessControlEntry> parsed;
    parsed.reserve(texts.size());
    for (const YUnicodeString& text : texts) {
        // The account may hold commas itself: the last two fields are split off from the end.
        const std::size_t rightsComma = text.rfind(u',');
        if (rightsComma == YUnicodeString::npos || rightsComma == 0) {
            return false;
        }
        const std::size_t wordComma = text.rfind(u',', rightsComma - 1);
        if (wordComma == YUnicodeString::npos) {
            return false;
        }
        const std::u16string_view word =
            std::u16string_view(text).substr(wordComma + 1, rightsComma - wordComma - 1);
        YAccessControlEntry entry;
        if (rivode::EqualsNoCase(word, u"allow")) {
            entry.allow = true;
        } else if (rivode::EqualsNoCase(word, u"deny")) {
            entry.allow = false;
        } else {
            return false;
        }
        const std::optional<std::uint32_t> rights =
            ParseRights(rivode::ToUtf8(std::u16string_view(text).substr(rightsComma + 1)));
        if (!rights) {
            return false;
        }
        entry.rights = *rights;
        entry.account = text.substr(0, wordComma);
        parsed.push_back(std::move(entry));
    }
    entries = std::move(parsed);
    return true;
}

unsigned YAccessControl::FolderMode() const {
    // Reading a folder's names needs r and x together; writing needs w and x.
    return 0700u | OtherModes(entries, 0055u, 0033u);
}

unsigned YAccessControl::FileMode() const {
    return 0600u | OtherModes(entries, 0044u, 0022u);
}
