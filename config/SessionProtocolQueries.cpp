// What hosts and dialogs ask of a session's protocol sides.
#include <RivodeRavudaVU/SessionConfig.h>

YUnicodeString SessionConfig::GetConnectionDescription() const {
    for (const SessionProtocolSlot* slot : {&terminal_, &transfer_}) {
        if (!slot->HasProtocol()) {
            continue;
        }
        // Modem and serial lines reach no host, so the protocol alone describes them.
        for (const std::u16string_view lineProtocol : {u"TAPI", u"Serial"}) {
            if (rivode::EqualsNoCase(slot->GetName(), lineProtocol)) {
                return YUnicodeString(lineProtocol);
            }
        }
        return slot->GetConfig()->GetDescription(remoteHostConfig.hostname);
    }
    return {};
}

bool SessionConfig::TerminalProtocolOffersSavedCredentials() const {
    return HasTerminalProtocol() && terminal_.GetConfig()->OffersSavedCredentials();
}

bool SessionConfig::TransferProtocolOffersSavedCredentials() const {
    return HasTransferProtocol() && transfer_.GetConfig()->OffersSavedCredentials();
}

ConnectConfig* SessionConfig::GetConnectConfigForKind(int kind) const {
    return SessionProtocolSlot::Suits(SessionProtocolSlot::Side::Transfer, kind)
               ? transfer_.GetConfig()
               : terminal_.GetConfig();
}

bool SessionConfig::IsSshFamily() const {
    return rivode::EqualsNoCase(terminal_.GetName(), u"SSH2") ||
           rivode::EqualsNoCase(transfer_.GetName(), u"SFTP");
}

bool SessionConfig::HasUnknownProtocol() const {
    return terminal_.IsUnknown() || transfer_.IsUnknown();
}

YUnicodeString SessionConfig::GetProtocolFamilyText(int kind) const {
    if (kind == 3) {
        return u"SSH2";
    }
    return HasTerminalProtocol() ? u"SSH2, SFTP or SCP" : u"SFTP or SCP";
}

void SessionConfig::SetProtocolName(const YUnicodeString& name) {
    terminal_.SetName(name);
    MarkDefaultSession();
}

void SessionConfig::SetTransferProtocolName(const YUnicodeString& name) {
    transfer_.SetName(name);
    MarkDefaultSession();
}

void SetConnectConfigParentWindow(ISessionConfig* session, QWidget* parent) {
    if (session == nullptr) {
        return;
    }
    for (ConnectConfig* config :
         {session->GetTerminalConnectConfig(), session->GetTransferConnectConfig()}) {
        if (config != nullptr) {
            config->SetParentWindow(parent);
        }
    }
}
