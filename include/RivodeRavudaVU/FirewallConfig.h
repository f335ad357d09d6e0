// Firewalls: named proxy definitions that sessions reach their hosts through.
//
// Each firewall is a key under "Firewalls" named by the firewall, holding the values of
// FirewallConfigValues.inc. A key without "Firewall Type" is not a firewall. The name "None"
// stands for no firewall and is never stored. A session may also go through another session:
// its firewall name is then "Session:" followed by that session's path.
//
// A FirewallConfig is counted (it starts with one reference), made per use and used by one
// thread at a time. The run-time user name and password a connection was given are kept with
// the record and never stored.
#pragma once

#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileTable.h>
#include <RivodeRavudaVU/YRefPtr.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#pragma GCC visibility push(default)

class QWidget;

inline constexpr std::u16string_view kFirewallsKeyName = u"Firewalls";
// The name of no firewall; also the type of a firewall that has none.
inline constexpr std::u16string_view kNoFirewall = u"None";
inline constexpr std::u16string_view kSessionFirewallPrefix = u"Session:";
inline constexpr std::u16string_view kProxyCommandType = u"Proxy Command";

struct FirewallType {
    int code;
    std::u16string_view name;  // as stored in "Firewall Type"
    bool needsLogin;           // the proxy asks for a user name and a password
    std::uint32_t displayMessage;
};

// Every type in code order, "None" (code 0) first.
std::span<const FirewallType> GetFirewallTypes();
// The type stored under name (exact spelling); nullptr when there is none.
const FirewallType* FindFirewallType(std::u16string_view name);
// The host's text for the type.
YUnicodeString GetFirewallTypeDisplayName(const FirewallType& type);

// The session path of a firewall name "Session:PATH": the prefix is recognised, letter case
// ignored, only when something follows it. nullopt for any other name.
std::optional<YUnicodeString> GetSessionFirewallPath(std::u16string_view firewallName);

// A proxy command may hold "%h"/"%H" (the host), "%p"/"%P" (the port) and "%%"; any other
// character after "%", or a "%" at the end, is refused with ProxyCommandBadPercent.
[[nodiscard]] bool ValidateProxyCommand(std::u16string_view command, YReportMessageParams& report);

// What a connection through a firewall asks of it.
class IFirewallUI : public IYUnknown {
public:
    static constexpr YInterfaceId kInterfaceId{"IFirewallUI"};

    virtual const YUnicodeString& GetName() const = 0;
    // The user name to log in with: the stored one, else the one given during this run, else,
    // when the type needs a login, the user's answer to the question (saved with the firewall
    // when the user asks so). false when the user cancelled; username then stays empty.
    [[nodiscard]] virtual bool GetLoginUsername(YUnicodeString& username, QWidget* parent) = 0;
    // The same for the password; without a question, the one given during this run, else the
    // stored one deciphered.
    [[nodiscard]] virtual bool GetLoginPassword(YUnicodeString& password, QWidget* parent) = 0;

protected:
    ~IFirewallUI() = default;
};

class FirewallConfig : public YUnknown<IFirewallUI>, public YProfileTableRecord<FirewallConfig> {
public:
#define RIVODE_FIREWALL_VALUE(Type, member, name, ...) Type member;
#define RIVODE_FIREWALL_MARKED(Type, member, name, marks, ...) Type member;
#include <RivodeRavudaVU/FirewallConfigValues.inc>
#undef RIVODE_FIREWALL_VALUE
#undef RIVODE_FIREWALL_MARKED

    // Every value at its default.
    explicit FirewallConfig(YUnicodeString name);
    FirewallConfig(const FirewallConfig&) = delete;
    FirewallConfig& operator=(const FirewallConfig&) = delete;

    static const YProfileTable<FirewallConfig>& Table();

    // The values from key (defaults without one). An older "Firewall Password" that holds text
    // is emptied in the key; its plaintext becomes "Firewall Password V2" when that is absent
    // (left pending for the next save; nothing moves while sensitive data is disabled).
    bool Load(const YProfileKey* key) override;

    const YUnicodeString& GetName() const override {
        return name_;
    }
    void SetName(const YUnicodeString& name) {
        name_ = name;
    }
    // The stored type's row; nullptr for a type name no row has.
    const FirewallType* GetType() const {
        return FindFirewallType(type.Get());
    }
    bool NeedsLogin() const;

    // The stored password deciphered under the current passphrase (empty when it does not).
    YUnicodeString GetPassword() const;
    // Enciphers plaintext into "Firewall Password V2". false while sensitive data is disabled.
    [[nodiscard]] bool SetPassword(const YUnicodeString& plaintext);

    // IFirewallUI.
    bool GetLoginUsername(YUnicodeString& username, QWidget* parent) override;
    bool GetLoginPassword(YUnicodeString& password, QWidget* parent) override;
    void SetRunTimeLogin(const YUnicodeString& username, const YUnicodeString& password);

protected:
    ~FirewallConfig() override;

private:
    YUnicodeString name_;
    YUnicodeString runTimeUsername_;
    YUnicodeString runTimePassword_;
};

YRefPtr<FirewallConfig> CreateFirewallConfig(const YUnicodeString& name);

// ---- Asking for a missing user name or password

enum class FirewallLoginField { Username, Password };

// What the question shows: the texts of the "Enter Firewall Username" or "... Password" dialog.
struct FirewallLoginRequest {
    FirewallLoginField field = FirewallLoginField::Username;
    YUnicodeString title;
    YUnicodeString text;
    YUnicodeString label;
    YUnicodeString saveLabel;
    bool offerSave = true;  // the "Save ..." box is shown
    QWidget* parent = nullptr;
};
// Asks the user; true with the answer (and whether "Save" was ticked) on OK.
using FirewallLoginPrompter = bool (*)(const FirewallLoginRequest& request, YUnicodeString& answer,
                                       bool& save);
// The user-interface half registers its dialogs at initialisation; until then (and after
// nullptr) nobody is asked and every question counts as cancelled.
void SetFirewallLoginPrompter(FirewallLoginPrompter prompter);

// The request the two dialogs show. Saving a password is offered only while sensitive data can
// be enciphered (not while it is disabled); saving a user name always.
FirewallLoginRequest MakeFirewallLoginRequest(FirewallLoginField field, QWidget* parent);
[[nodiscard]] bool LaunchFirewallUsernameDialog(YUnicodeString& out, bool& save, QWidget* parent);
[[nodiscard]] bool LaunchFirewallPasswordDialog(YUnicodeString& out, bool& save, QWidget* parent);

// What the properties dialog checks on OK besides the name: the type is one of the table's (not
// "None": a firewall that is none is not stored), and for "Proxy Command" the command passes
// ValidateProxyCommand. false with the first failure in report.
[[nodiscard]] bool ValidateFirewallValues(const FirewallConfig& firewall,
                                          YReportMessageParams& report);

#pragma GCC visibility pop
