// The wall-clock time of the user's time zone (TZ, else the system's zone).
#pragma once

#include <chrono>

#pragma GCC visibility push(default)

namespace rivode::platform {

struct LocalDateTime {
    int year = 1970;
    int month = 1;  // 1-12
    int day = 1;    // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// time in the user's time zone; the start of 1970 when the platform cannot convert it.
LocalDateTime ToLocalDateTime(std::chrono::system_clock::time_point time);
inline LocalDateTime GetLocalDateTime() {
    return ToLocalDateTime(std::chrono::system_clock::now());
}

}  // namespace rivode::platform

#pragma GCC visibility pop
