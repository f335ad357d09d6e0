#include "platform/LocalTime.h"

#include <ctime>

namespace rivode::platform {

LocalDateTime ToLocalDateTime(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    // localtime_r: the plain form shares one buffer between threads.
    if (::localtime_r(&seconds, &parts) == nullptr) {
        return {};
    }
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace rivode::platform
