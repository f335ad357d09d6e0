// Checks arbitrary text as a proxy command and as a firewall name. A command that is accepted
// stays accepted with text appended that holds no "%", or with "%%", "%h" or "%p" appended, and
// is refused with a lone "%" appended; a refused one stays refused whatever follows. A firewall
// name that names a session gives the same path again when rebuilt from it.
#include <RivodeRavudaVU/FirewallConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool Accepted(const YUnicodeString& command) {
    YReportMessageParams report;
    const bool accepted = ValidateProxyCommand(command, report);
    Check(accepted == (report.GetMessageId() == 0));
    Check(accepted || report.GetMessageId() == rivode::msg::ProxyCommandBadPercent);
    return accepted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const YUnicodeString text =
        rivode::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));

    if (Accepted(text)) {
        Check(Accepted(text + u" plain text"));
        Check(Accepted(text + u"%%") && Accepted(text + u"%h") && Accepted(text + u"%P"));
        Check(!Accepted(text + u"%"));
        Check(!Accepted(text + u"%x"));
    } else {
        Check(!Accepted(text + u"%%"));
        Check(!Accepted(text + u" %h"));
    }

    if (const std::optional<YUnicodeString> path = GetSessionFirewallPath(text)) {
        Check(!path->empty());
        Check(GetSessionFirewallPath(YUnicodeString(kSessionFirewallPrefix) + *path) == path);
    }
    return 0;
}
