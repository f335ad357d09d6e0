// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <string>

namespace rivode::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Native path without a trailing '/'.
    const std::string& Path() const { return path_; }
    YUnicodeString Path16() const { return FromUtf8(path_); }
    // Path of a name inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Whole-file helpers for checking stored bytes exactly.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace rivode::test
