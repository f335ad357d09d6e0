// Feeds arbitrary bytes to the value-file reader, then writes what it kept and reads that back:
// whatever a file holds, reading must neither crash nor keep anything the writer cannot
// reproduce.
#include "storage/IniValueFileReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using rivode::storage::IniValueTable;
using rivode::storage::ReadIniValueFile;

namespace {

YUnicodeString Serialize(const IniValueTable& table) {
    YUnicodeString text;
    for (const bool lists : {false, true}) {
        table.ForEachValue([&](std::u16string_view name, const YIniFileData& value, bool) {
            if ((value.GetKind() == ValueKindMultiString) == lists) {
                value.WriteLines(name, text);
            }
        });
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const YUnicodeString text =
        rivode::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    IniValueTable table;
    ReadIniValueFile(text, table);

    const YUnicodeString written = Serialize(table);
    IniValueTable reread;
    // What the store writes is always read to its end.
    if (!ReadIniValueFile(written, reread) || Serialize(reread) != written) {
        std::abort();  // a value read from a file did not survive being written and read again
    }
    return 0;
}
