// Reading the small text files other programs keep for the user (a desktop's settings), whole.
#pragma once

#include <cstddef>
#include <string>

#pragma GCC visibility push(default)

namespace rivode::platform {

// The first limit bytes of the file at path (links followed); empty when it cannot be read.
// Such files are hand-made or written by desktop tools: one larger than limit is not one of
// them and is not read further.
std::string ReadSmallFile(const std::string& path, std::size_t limit);

}  // namespace rivode::platform

#pragma GCC visibility pop
