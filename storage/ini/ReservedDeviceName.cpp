#include <RivodeRavudaVU/YProfileStore.h>

#include <array>

namespace {

// Device names that no file may take on the platforms a configuration folder moves to.
constexpr std::array<std::u16string_view, 23> kReservedDeviceNames = {
    u"CON",  u"PRN",  u"AUX",  u"NUL",  u"COM1", u"COM2", u"COM3",   u"COM4",
    u"COM5", u"COM6", u"COM7", u"COM8", u"COM9", u"LPT1", u"LPT2",   u"LPT3",
    u"LPT4", u"LPT5", u"LPT6", u"LPT7", u"LPT8", u"LPT9", u"CLOCK$",
};

}  // namespace

bool IsReservedDeviceName(std::u16string_view name) {
    const YUnicodeString upper = rivode::ToUpperSimple(name);
    const std::u16string_view text = upper;
    for (const std::u16string_view device : kReservedDeviceNames) {
        if (text.size() >= device.size() && text.substr(0, device.size()) == device &&
            (text.size() == device.size() || text[device.size()] == u'.')) {
            return true;
        }
    }
    return false;
}
