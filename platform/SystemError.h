// Error numbers of the platform (errno values) and their texts.
#pragma once

#include <string>

#pragma GCC visibility push(default)

namespace rivode::platform {

// The system's own text for an error number; false when the system does not know the number.
bool GetSystemErrorText(int error, std::string& text);

}  // namespace rivode::platform

#pragma GCC visibility pop
