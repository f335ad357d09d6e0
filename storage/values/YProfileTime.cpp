#include <RivodeRavudaVU/YProfileTime.h>

#include "storage/values/YProfileNumberText.h"

#include <array>

namespace {

using namespace std::chrono;

using Ticks = YFileTime::Ticks;

constexpr sys_days kEpoch = sys_days{year{1601} / January / 1};
constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;
constexpr std::int64_t kTicksPerMillisecond = 10'000;

}  // namespace

YFileTime YFileTime::FromSystemTime(system_clock::time_point time) {
    // In ticks before subtracting: the epoch lies beyond the reach of the clock's nanoseconds.
    const Ticks since = floor<Ticks>(time) - sys_time<Ticks>(kEpoch);
    return YFileTime{since.count() < 0 ? 0 : static_cast<std::uint64_t>(since.count())};
}

sys_time<Ticks> YFileTime::ToSystemTime() const {
    return sys_time<Ticks>(kEpoch) + Ticks(static_cast<std::int64_t>(ticks));
}

YUnicodeString YProfileTextForm<YFileTime>::Format(const YFileTime& time) {
    const std::int64_t milliseconds = static_cast<std::int64_t>(time.ticks / kTicksPerMillisecond);
    const days day{milliseconds / 86'400'000};
    const year_month_day date{kEpoch + day};
    std::int64_t rest = milliseconds % 86'400'000;
    const std::array<std::pair<std::uint32_t, int>, 7> fields = {{
        {static_cast<std::uint32_t>(static_cast<int>(date.year())), 4},
        {static_cast<unsigned>(date.month()), 2},
        {static_cast<unsigned>(date.day()), 2},
        {static_cast<std::uint32_t>(rest / 3'600'000), 2},
        {static_cast<std::uint32_t>(rest / 60'000 % 60), 2},
        {static_cast<std::uint32_t>(rest / 1'000 % 60), 2},
        {static_cast<std::uint32_t>(rest % 1'000), 3},
    }};
    YUnicodeString text;
    for (const auto& [number, width] : fields) {
        if (!text.empty()) {
            text.push_back(u':');
        }
        rivode::storage::AppendPadded(text, number, width);
    }
    return text;
}

bool YProfileTextForm<YFileTime>::Parse(std::u16string_view text, YFileTime& time, bool&) {
    const auto pieces = rivode::storage::Split(text, u':');
    if (pieces.size() != 7) {
        return false;
    }
    std::array<std::int64_t, 7> numbers{};
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (!rivode::storage::ParseInteger(pieces[i], numbers[i]) || numbers[i] < 0) {
            return false;
        }
    }
    const auto [y, mo, d, h, mi, s, ms] = numbers;
    if (y < kFirstYear || y > kLastYear || mo > 12 || d > 31 || h > 23 || mi > 59 || s > 59 ||
        ms > 999) {
        return false;
    }
    const year_month_day date{year{static_cast<int>(y)}, month{static_cast<unsigned>(mo)},
                              day{static_cast<unsigned>(d)}};
    if (!date.ok()) {
        return false;
    }
    const std::int64_t dayCount = (sys_days{date} - kEpoch).count();
    const std::int64_t milliseconds = ((dayCount * 24 + h) * 60 + mi) * 60'000 + s * 1'000 + ms;
    time.ticks = static_cast<std::uint64_t>(milliseconds * kTicksPerMillisecond);
    return true;
}
