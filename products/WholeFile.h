// Small files read and written whole: version records, desktop entries, the handler list.
#pragma once

#include <cstddef>
#include <string>

// Reads at most maxSize bytes of the file; 0 or the errno value of the failure (ENOENT when the
// file is missing, EFBIG when it is larger than maxSize).
int ReadWholeFile(const std::string& path, std::size_t maxSize, std::string& bytes);

// Replaces the file's content: the bytes go to a temporary file beside it that is then renamed
// over it, so readers see the old or the new content and never a part. mode applies to a new
// file. 0 or the errno value of the failure.
int ReplaceWholeFile(const std::string& path, const std::string& bytes, unsigned mode);
