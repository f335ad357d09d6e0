// Reading the value-file format from a source of lines, so files, tests and the fuzzer share one
// parser. Reading is tolerant the way stored configurations need: the values read before the
// first line the format does not allow are kept and everything after it is ignored; a value
// with an empty name is read and dropped; a later value of the same name replaces an earlier
// one. Nothing here throws or fails.
#pragma once

#include "storage/IniValueTable.h"

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <string_view>

class YTextFile;

namespace rivode::storage {

class IniLineSource {
public:
    virtual ~IniLineSource() = default;
    // The next line without its terminator; false at the end.
    virtual bool ReadLine(YUnicodeString& line) = 0;
};

// Lines of a text held in memory; a line ends at LF, CR or CR LF.
class IniTextLineSource final : public IniLineSource {
public:
    explicit IniTextLineSource(std::u16string_view text) : text_(text) {}
    bool ReadLine(YUnicodeString& line) override;

private:
    std::u16string_view text_;
    std::size_t position_ = 0;
};

// Lines of an open text file.
class IniTextFileLineSource final : public IniLineSource {
public:
    explicit IniTextFileLineSource(YTextFile& file) : file_(file) {}
    bool ReadLine(YUnicodeString& line) override;

private:
    YTextFile& file_;
};

// Stores every value read into table, as loading a key does.
void ReadIniValueFile(IniLineSource& source, IniValueTable& table);

}  // namespace rivode::storage
