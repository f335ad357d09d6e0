#include "platform/SystemError.h"

#include <cstring>

namespace rivode::platform {

bool GetSystemErrorText(int error, std::string& text) {
    if (error <= 0) {
        return false;
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
