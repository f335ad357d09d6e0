// The questions for a firewall's missing user name or password, as logic: the user-interface
// half registers the dialogs that ask them.
#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/FirewallConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <atomic>

namespace msg = rivode::msg;

namespace {

std::atomic<FirewallLoginPrompter> registeredPrompter{nullptr};

bool Ask(FirewallLoginField field, YUnicodeString& out, bool& save, QWidget* parent) {
    save = false;
    out.clear();
    const FirewallLoginPrompter prompter = registeredPrompter.load();
    if (prompter == nullptr) {
        return false;
    }
    const FirewallLoginRequest request = MakeFirewallLoginRequest(field, parent);
    if (!prompter(request, out, save)) {
        out.clear();
        save = false;
        return false;
    }
    save = save && request.offerSave;
    return true;
}

}  // namespace

void SetFirewallLoginPrompter(FirewallLoginPrompter prompter) {
    registeredPrompter.store(prompter);
}

FirewallLoginRequest MakeFirewallLoginRequest(FirewallLoginField field, QWidget* parent) {
    const bool username = field == FirewallLoginField::Username;
    FirewallLoginRequest request;
    request.field = field;
    request.parent = parent;
    request.title =
        LoadMessageString(username ? msg::FirewallUsernameTitle : msg::FirewallPasswordTitle);
    YReportMessageParams text(username ? msg::FirewallUsernamePrompt : msg::FirewallPasswordPrompt);
    request.text = text.GetTextTrimmed();
    request.label =
        LoadMessageString(username ? msg::FirewallUsernameLabel : msg::FirewallPasswordLabel);
    request.saveLabel =
        LoadMessageString(username ? msg::FirewallSaveUsername : msg::FirewallSavePassword);
    // A password can only be saved enciphered; while sensitive data is disabled it cannot be.
    request.offerSave = username || !IsConfigPassphraseDisabled();
    return request;
}

bool LaunchFirewallUsernameDialog(YUnicodeString& out, bool& save, QWidget* parent) {
    return Ask(FirewallLoginField::Username, out, save, parent);
}

bool LaunchFirewallPasswordDialog(YUnicodeString& out, bool& save, QWidget* parent) {
    return Ask(FirewallLoginField::Password, out, save, parent);
}
