#include <RivodeRavudaVU/RivodeMessages.h>

#include <DavaraZE/YLabels.h>
#include <DavaraZE/YMessageStrings.h>

#include <iterator>

namespace {

struct Label {
    std::uint32_t id;
    const char16_t* english;
};

constexpr Label kFunctionTypes[] = {
    {rivode::msg::FunctionTypeSendString, u"Send String"},
    {rivode::msg::FunctionTypeMenu, u"Menu Function"},
    {rivode::msg::FunctionTypeScrollBar, u"Scroll Bar Function"},
    {rivode::msg::FunctionTypeTelnet, u"Telnet Function"},
    {rivode::msg::FunctionTypeTN3270, u"TN3270 Function"},
    {rivode::msg::FunctionTypeVT, u"VT Function"},
    {rivode::msg::FunctionTypeSSH, u"SSH Function"},
    {rivode::msg::FunctionTypeSetButtonBar, u"Set Button Bar"},
    {rivode::msg::FunctionTypeRunScript, u"Run Script"},
    {rivode::msg::FunctionTypeLaunchApplication, u"Launch Application"},
    {rivode::msg::FunctionTypeDisable, u"Disable"},
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
    return YLoadMessageString(rivode::msg::SelectSessionLabel, u"<Select Session...>");
}

YUnicodeString GetNewFirewallLabel() {
    return YLoadMessageString(rivode::msg::NewFirewallLabel, u"<New Firewall...>");
}
