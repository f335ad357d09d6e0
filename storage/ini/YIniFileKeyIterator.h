// Listings of an INI folder store key: a snapshot sorted without regard to case.
//
// Subkeys come from the main folder: a folder is kind 5, a value file kind 6, both kind 7, and
// names that differ only in case are one subkey. Values come from the key's table with their
// kinds; the listing shares the table, so a value deleted after the snapshot is skipped.
#pragma once

#include "storage/ini/IniValueTable.h"

#include <RivodeRavudaVU/YProfileStore.h>

#include <memory>
#include <string>
#include <vector>

namespace rivode::storage {

class YIniFileKeyIterator final : public YProfilePrivateKeyIterator {
public:
    // An empty listing.
    YIniFileKeyIterator() = default;
    static std::unique_ptr<YIniFileKeyIterator> ListValues(std::shared_ptr<IniValueTable> table);
    static std::unique_ptr<YIniFileKeyIterator> ListSubKeys(const std::string& folder);

    bool Next(YUnicodeString& name, int& kind) override;
    bool Next(YUnicodeString& name) override;

    struct Entry {
        std::u16string_view name;  // in the shared table, or in subKeyNames_
        int kind;
        std::size_t slot;  // the value's slot in the table
    };

private:
    std::vector<Entry> entries_;
    std::vector<YUnicodeString> subKeyNames_;
    std::size_t next_ = 0;
    std::shared_ptr<IniValueTable> table_;
};

}  // namespace rivode::storage
