// Feeds arbitrary bytes to the value-file reader, then writes what it kept and reads that back:
// whatever a file holds, reading must neither crash nor keep anything the writer cannot
// reproduce.
#include "storage/ini/IniValueFileReader.h"
#include "storage/text/TextCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
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

// Every name a reading leaves in a table holds a value (only an erase leaves a name without
// one) and is found through the index. Readings follow the one before on the thread, so a
// table that kept names of an earlier file would show here.
void CheckEveryNameIsFound(const IniValueTable& table) {
    for (std::size_t slot = 0; slot < table.GetSlotCount(); ++slot) {
        const YIniFileData* value = table.GetSlotValue(slot);
        const bool general = !IniValueTable::IsPersonalSlot(slot);
        if ((general && value == nullptr) ||
            (value != nullptr && table.Find(table.GetSlotName(slot)) != value)) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    IniValueTable table;
    const bool readToEnd = ReadIniValueFile(input, table);

    CheckEveryNameIsFound(table);
    const YUnicodeString written = Serialize(table);
    // A second reading follows the first on this thread, knowing every header it met: it must
    // read the same values and stop at the same place.
    IniValueTable again;
    if (ReadIniValueFile(input, again) != readToEnd || Serialize(again) != written) {
        std::abort();
    }
    CheckEveryNameIsFound(again);
    std::string bytes;
    IniValueTable reread;
    // What the reader kept always has a UTF-8 form, and what the store writes is always read
    // to its end.
    if (!rivode::storage::EncodeText(YTextFile::EncodingUtf8, written, bytes) ||
        !ReadIniValueFile(bytes, reread) || Serialize(reread) != written) {
        std::abort();  // a value read from a file did not survive being written and read again
    }
    CheckEveryNameIsFound(reread);
    return 0;
}
