// The firewall type table, the "Session:" names and the proxy-command check.
#include <RivodeRavudaVU/FirewallConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <algorithm>
#include <array>

namespace {

constexpr std::array kFirewallTypes = {
#define RIVODE_FIREWALL_TYPE(code, name, needsLogin, message) \
    FirewallType{code, name, needsLogin, rivode::msg::message},
#include "config/FirewallTypes.inc"
#undef RIVODE_FIREWALL_TYPE
};

}  // namespace

std::span<const FirewallType> GetFirewallTypes() {
    return kFirewallTypes;
}

const FirewallType* FindFirewallType(std::u16string_view name) {
    const auto found = std::find_if(kFirewallTypes.begin(), kFirewallTypes.end(),
                                    [name](const FirewallType& type) { return type.name == name; });
    return found == kFirewallTypes.end() ? nullptr : &*found;
}

YUnicodeString GetFirewallTypeDisplayName(const FirewallType& type) {
    return LoadMessageString(type.displayMessage);
}

std::optional<YUnicodeString> GetSessionFirewallPath(std::u16string_view firewallName) {
    const std::size_t prefix = kSessionFirewallPrefix.size();
    if (firewallName.size() <= prefix ||
        !rivode::EqualsNoCase(firewallName.substr(0, prefix), kSessionFirewallPrefix)) {
        return std::nullopt;
    }
    return YUnicodeString(firewallName.substr(prefix));
}

bool ValidateProxyCommand(std::u16string_view command, YReportMessageParams& report) {
    for (std::size_t i = 0; i < command.size(); ++i) {
        if (command[i] != u'%') {
            continue;
        }
        const char16_t next = i + 1 < command.size() ? command[i + 1] : u'\0';
        if (next != u'%' && next != u'h' && next != u'H' && next != u'p' && next != u'P') {
            report.SetMessage(rivode::msg::ProxyCommandBadPercent);
            return false;
        }
        ++i;
    }
    return true;
}

bool ValidateFirewallValues(const FirewallConfig& firewall, YReportMessageParams& report) {
    const FirewallType* type = firewall.GetType();
    if (type == nullptr || type->code == 0) {
        report.SetMessage(rivode::msg::FirewallTypeUnknown);
        report.AddString(firewall.type.Get());
        return false;
    }
    return type->name != kProxyCommandType ||
           ValidateProxyCommand(firewall.proxyCommand.Get(), report);
}
