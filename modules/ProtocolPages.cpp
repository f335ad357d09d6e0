// The reference modules' page in Session Options: one page named after the protocol, below the
// Connection page, editing the remote host and the values the protocol's configuration keeps.
#include "modules/ProtocolPages.h"

#include "modules/ProtocolConnectConfig.h"

#include <RivodeRavudaVU/FirewallDatabase.h>
#include <RivodeRavudaVU/ProtocolPages.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <functional>
#include <memory>
#include <vector>

namespace rivode::modules {
namespace {

using Kind = SessionPageField::Kind;

constexpr std::uint32_t kLargestPort = 65535;
constexpr std::uint32_t kFastestBaudRate = 921600;

class ProtocolValuesPages final : public IProtocolPages {
public:
    ProtocolValuesPages(const ConnectProtocolTraits& protocol, SessionOptionsDialogBase& dialog)
        : protocol_(protocol),
          page_(dialog, SessionValuesPage::kProtocolTemplateId, YUnicodeString(protocol.name)) {
        Fill();
    }

    bool IsEmpty() const { return page_.fields.empty(); }
    void PlaceBelow(YPropertyTreePage& connectPage) { connectPage.AddPage(&page_); }

    void Show(YPropertyTreeDialog& dialog, ISessionConfig&) override {
        page_.Reload();
        dialog.ShowPage(&page_);
    }
    void Hide(YPropertyTreeDialog& dialog) override { dialog.HidePage(&page_); }

private:
    // The configuration of the session's slot that holds this protocol; nullptr once the user
    // chose another one (the page is hidden then and its values go nowhere).
    ProtocolConnectConfig* Config() const {
        const SessionConfig& session = page_.GetSession();
        for (ConnectConfig* config :
             {session.GetTerminalConnectConfig(), session.GetTransferConnectConfig()}) {
            if (config != nullptr && config->GetProtocolName() == protocol_.name) {
                // Made by this module for this protocol (CreateConfig).
                return static_cast<ProtocolConnectConfig*>(config);
            }
        }
        return nullptr;
    }

    using TextGet = std::function<YUnicodeString(const ProtocolConnectConfig&)>;
    using TextSet = std::function<void(ProtocolConnectConfig&, const YUnicodeString&)>;
    using NumberGet = std::function<std::uint32_t(const ProtocolConnectConfig&)>;
    using NumberSet = std::function<void(ProtocolConnectConfig&, std::uint32_t)>;

    // A text; with names, a choice of them (a stored text not among them is kept and shown).
    void AddText(std::uint32_t label, TextGet get, TextSet set,
                 std::vector<YUnicodeString> names = {}) {
        SessionPageField field;
        field.kind = names.empty() ? Kind::Text : Kind::TextChoice;
        field.names = std::move(names);
        field.label = LoadMessageString(label);
        field.load = [this, get](SessionPageField& f) {
            const ProtocolConnectConfig* config = Config();
            f.text = config != nullptr ? get(*config) : YUnicodeString();
        };
        field.store = [this, set](const SessionPageField& f) {
            if (ProtocolConnectConfig* config = Config()) {
                set(*config, f.text);
            }
        };
        page_.fields.push_back(std::move(field));
    }

    void AddNumber(Kind kind, std::uint32_t label, std::uint32_t minimum, std::uint32_t maximum,
                   NumberGet get, NumberSet set) {
        SessionPageField field;
        field.kind = kind;
        field.label = LoadMessageString(label);
        field.minimum = minimum;
        field.maximum = maximum;
        field.load = [this, get](SessionPageField& f) {
            const ProtocolConnectConfig* config = Config();
            f.number = config != nullptr ? get(*config) : 0;
        };
        field.store = [this, set](const SessionPageField& f) {
            if (ProtocolConnectConfig* config = Config()) {
                set(*config, f.number);
            }
        };
        page_.fields.push_back(std::move(field));
    }

    void Fill() {
        if (protocol_.defaultPort != 0) {
            // The host belongs to the session, not to the protocol: both protocols' pages of a
            // session edit the same name, so each writes it only when the user changed it there.
            auto loaded = std::make_shared<YUnicodeString>();
            SessionPageField host;
            host.kind = Kind::Text;
            host.label = LoadMessageString(msg::ProtocolHostLabel);
            host.load = [this, loaded](SessionPageField& f) {
                *loaded = page_.GetSession().remoteHostConfig.hostname.Get();
                f.text = *loaded;
            };
            host.store = [this, loaded](const SessionPageField& f) {
                if (f.text != *loaded) {
                    page_.GetSession().remoteHostConfig.hostname.Set(f.text);
                }
            };
            page_.fields.push_back(std::move(host));
            AddNumber(
                Kind::Number, msg::ProtocolPortLabel, 1, kLargestPort,
                [](const ProtocolConnectConfig& c) { return c.GetPort(); },
                [](ProtocolConnectConfig& c, std::uint32_t port) { c.SetPort(port); });
        }
        if (protocol_.Keeps(kSerialLineValues)) {
            AddText(
                msg::ProtocolComPortLabel,
                [](const ProtocolConnectConfig& c) { return c.GetComPort(); },
                [](ProtocolConnectConfig& c, const YUnicodeString& port) { c.SetComPort(port); });
            AddNumber(
                Kind::Number, msg::ProtocolBaudRateLabel, 1, kFastestBaudRate,
                [](const ProtocolConnectConfig& c) { return c.GetBaudRate(); },
                [](ProtocolConnectConfig& c, std::uint32_t rate) { c.SetBaudRate(rate); });
        }
        if (protocol_.Keeps(kLogonValues)) {
            AddText(
                msg::ProtocolUsernameLabel,
                [](const ProtocolConnectConfig& c) { return c.GetUsername(); },
                [](ProtocolConnectConfig& c, const YUnicodeString& name) { c.SetUsername(name); });
        }
        if (protocol_.Keeps(kFirewallValue)) {
            AddText(
                msg::ProtocolFirewallLabel,
                [](const ProtocolConnectConfig& c) { return c.GetFirewallName(); },
                [](ProtocolConnectConfig& c, const YUnicodeString& name) {
                    c.SetFirewallName(name);
                },
                GetFirewallNames());  // "None" first, then the application's firewalls
        }
        if (protocol_.Keeps(kSavedCredential)) {
            AddText(
                msg::ProtocolCredentialLabel,
                [](const ProtocolConnectConfig& c) { return c.GetCredentialTitle(); },
                [](ProtocolConnectConfig& c, const YUnicodeString& title) {
                    c.SetCredentialTitle(title);
                });
        }
        if (protocol_.Keeps(kAgentValue)) {
            AddNumber(
                Kind::Check, msg::ProtocolUseAgentLabel, 0, 1,
                [](const ProtocolConnectConfig& c) { return c.GetUseAgent() ? 1u : 0u; },
                [](ProtocolConnectConfig& c, std::uint32_t on) { c.SetUseAgent(on != 0); });
        }
    }

    const ConnectProtocolTraits& protocol_;
    SessionValuesPage page_;
};

}  // namespace

IProtocolPages* CreateProtocolPages(const ConnectProtocolEntry& entry, YPropertyTreeDialog& dialog,
                                    int, ISessionConfig&, int, YPropertyTreePage& connectPage) {
    const ConnectProtocolTraits* protocol = FindConnectProtocol(entry.name);
    auto* sessionDialog = dynamic_cast<SessionOptionsDialogBase*>(&dialog);
    if (protocol == nullptr || sessionDialog == nullptr) {
        return nullptr;
    }
    auto pages = std::make_unique<ProtocolValuesPages>(*protocol, *sessionDialog);
    if (pages->IsEmpty()) {
        // Nothing of its own to edit (a local shell): no page rather than an empty one.
        return nullptr;
    }
    pages->PlaceBelow(connectPage);
    return pages.release();
}

}  // namespace rivode::modules
