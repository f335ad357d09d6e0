#include "platform/SystemError.h"

#include "platform/FileSystem.h"

#include <cstring>

namespace rivode::platform {

bool GetSystemErrorText(int error, std::string& text) {
    if (error <= 0) {
        return false;
    }
    if (error == kErrorNotRegularFile) {
        text = "Not a regular file: a symbolic link, folder, pipe or device stands in its place";
        return true;
    }
    // strerrordesc_np does not depend on the C locale of the host and does not invent
    // "Unknown error N" texts; a null result means the number is not an errno value.
    const char* description = ::strerrordesc_np(error);
    if (description == nullptr) {
        return false;
    }
    text = description;
    return true;
}

}  // namespace rivode::platform
