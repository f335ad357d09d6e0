// The text forms of typed values read outside input (value files edited by hand, settings
// imported from elsewhere, scripts). Arbitrary text must never crash a parser, and whatever a
// parser accepts must be written back in a form that reads as the same value.
#include <RivodeRavudaVU/YProfileExplorerFrameState.h>
#include <RivodeRavudaVU/YProfileListViewState.h>
#include <RivodeRavudaVU/YProfileTabState.h>
#include <RivodeRavudaVU/YProfileTime.h>
#include <RivodeRavudaVU/YProfileTlsVersions.h>
#include <RivodeRavudaVU/YVariant.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

template <class T>
void CheckRoundTrip(std::u16string_view text) {
    using Form = YProfileTextForm<T>;
    T value{};
    bool converted = false;
    if (!Form::Parse(text, value, converted)) {
        return;
    }
    const YUnicodeString written = Form::Format(value);
    T again{};
    bool convertedAgain = false;
    if (!Form::Parse(written, again, convertedAgain) || convertedAgain || !(again == value)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Bytes in pairs as UTF-16 units, so that every unit, separators included, can appear.
    YUnicodeString text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    CheckRoundTrip<YListViewState>(text);
    CheckRoundTrip<YTabState>(text);
    CheckRoundTrip<YExplorerFrameState>(text);
    CheckRoundTrip<YFileTime>(text);
    CheckRoundTrip<YTlsVersions>(text);

    std::int64_t number = 0;
    if (YVariant(text).ToInteger(number)) {
        YUnicodeString decimal;
        std::int64_t again = 0;
        if (!YVariant(static_cast<std::int32_t>(number)).ToText(decimal) ||
            !YVariant(decimal).ToInteger(again) || again != static_cast<std::int32_t>(number)) {
            std::abort();
        }
    }
    return 0;
}
