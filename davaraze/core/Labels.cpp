#include "davaraze/core/MessageIds.h"

#include <DavaraZE/YLabels.h>
#include <DavaraZE/YMessageStrings.h>

#include <iterator>

namespace {

struct Label {
    std::uint32_t id;
    const char16_t* english;
};

constexpr Label kFunctionTypes[] = {
    {davaraze::msgid::FunctionTypeSendString, u"Send String"},
    {davaraze::msgid::FunctionTypeMenu, u"Menu Function"},
    {davaraze::msgid::FunctionTypeScrollBar, u"Scroll Bar Function"},
    {davaraze::msgid::FunctionTypeTelnet, u"Telnet Function"},
    {davaraze::msgid::FunctionTypeTN3270, u"TN3270 Function"},
    {davaraze::msgid::FunctionTypeVT, u"VT Function"},
    {davaraze::msgid::FunctionTypeSSH, u"SSH Function"},
    {davaraze::msgid::FunctionTypeSetButtonBar, u"Set Button Bar"},
    {davaraze::msgid::FunctionTypeRunScript, u"Run Script"},
    {davaraze::msgid::FunctionTypeLaunchApplication, u"Launch Application"},
    {davaraze::msgid::FunctionTypeDisable, u"Disable"},
};

}  // namespace

std::size_t GetMappedFunctionTypesSize() {
    return std::size(kFunctionTypes);
}

YUnicodeString GetMappedFunctionType(std::size_t index) {
    if (index >= std::size(kFunctionTypes)) {
        return {};
    }
    return YLoadMessageString(kFunctionTypes[index].id, kFunctionTypes[index].english);
}

YUnicodeString GetSelectSessionLabel() {
    return YLoadMessageString(davaraze::msgid::SelectSessionLabel, u"<Select Session...>");
}

YUnicodeString GetNewFirewallLabel() {
    return YLoadMessageString(davaraze::msgid::NewFirewallLabel, u"<New Firewall...>");
}
