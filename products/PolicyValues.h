// Administrative settings of the product family: DWORD values an administrator sets to switch a
// behaviour on for every user of a machine, or a user for themself.
//
// A value is looked up, first found wins, in
//   1. the machine-wide registry, key "Software\Policies\Yarrowby";
//   2. the per-user registry, the same key;
//   3. the product's own key "Software\Yarrowby\<product key name>", machine-wide and then
//      per-user, where the key names are "QTM" (1), "Quillterm" (3), "Quillfile" (6),
//      "Wyrmlink" (8) and "Ferrule" (9); product 7 has no key of its own.
// A value of another kind counts as absent. Thread-safe: every lookup reads the stores afresh,
// so a changed policy applies at the next lookup.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr std::u16string_view kPolicyRequireConfigPassphrase =
    u"Require Configuration Passphrase";
inline constexpr std::u16string_view kPolicyEnableFipsMode = u"Enable FIPS Mode";
inline constexpr std::u16string_view kPolicyIgnoreFipsModeForTls = u"Ignore FIPS Mode for TLS";

// The first value found; false when the value is set nowhere (value is then left alone).
bool GetPolicyDword(int product, std::u16string_view name, std::uint32_t& value);
// Whether the value is set somewhere and non-zero.
bool IsPolicyEnabled(int product, std::u16string_view name);
