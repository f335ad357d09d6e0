// The keys of the settings file that export and import both name.
#pragma once

#include <RivodeRavudaVU/RivodeMessages.h>

#include <array>
#include <cstdint>
#include <string_view>

namespace rivode::config {

// The exporting configuration's passphrase check value, which import tests the file against.
inline constexpr std::u16string_view kSecurityKeyName = u"Security";
inline constexpr std::u16string_view kPassphraseValueName = u"Passphrase";
inline constexpr std::u16string_view kCommandsKeyName = u"Commands";

// Values of "Global" that belong to the configuration they are in, never to one imported:
// the passphrase in use and the request to change it.
inline constexpr std::u16string_view kConfigPassphraseValueName = u"Config Passphrase";
inline constexpr std::u16string_view kChangeConfigPassphraseValueName = u"Change Config Passphrase";

// The file-transfer product's records, kept by that product: they travel as stored, whenever
// the configuration has them.
struct FileTransferSection {
    std::u16string_view keyName;
    std::uint32_t exportingId;
};
inline constexpr std::array<FileTransferSection, 3> kFileTransferSections = {{
    {u"FileTypes", rivode::msg::ExportingFileTypes},
    {u"SynchronizeDB", rivode::msg::ExportingSynchronizeDatabase},
    {u"Filters", rivode::msg::ExportingFilters},
}};

}  // namespace rivode::config
