// YProfileTime: a point in time stored as the text "YYYY:MM:DD:hh:mm:ss:mmm" of its universal
// time (year, month, day, hour, minute, second, milliseconds, zero-padded).
#pragma once

#include <RivodeRavudaVU/YProfile2.h>

#include <chrono>
#include <cstdint>

#pragma GCC visibility push(default)

// A point in time as a count of 100-nanosecond intervals since 1601-01-01 00:00:00 UTC, the unit
// and epoch the stored times of the configuration have always been taken from; 0 is "no time".
struct YFileTime {
    using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;

    std::uint64_t ticks = 0;

    // Instants before 1601 become 0.
    static YFileTime FromSystemTime(std::chrono::system_clock::time_point time);
    static YFileTime Now() { return FromSystemTime(std::chrono::system_clock::now()); }
    // In ticks: the system clock's own unit cannot reach the later years a stored time may name.
    std::chrono::sys_time<Ticks> ToSystemTime() const;

    bool operator==(const YFileTime&) const = default;
};

// Years 1601 to 30827 have a stored form; a text with an impossible date or time, or any other
// shape, is unreadable (the value keeps its default). Sub-millisecond ticks are not stored.
template <>
struct YProfileTextForm<YFileTime> {
    static constexpr bool kResetWhenMalformed = false;
    static YUnicodeString Format(const YFileTime& time);
    static bool Parse(std::u16string_view text, YFileTime& time, bool& converted);
};

using YProfileTime = YProfile2<YFileTime, YProfileTimeSz>;

#pragma GCC visibility pop
