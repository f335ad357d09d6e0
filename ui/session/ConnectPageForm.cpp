// The Connection page: the session's name, its protocols (two combo boxes when the host has
// both kinds, one otherwise), the pre-connect command and the description.
#include "ui/session/PageForms.h"

#include "ui/session/PageForm.h"

#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace rivode::ui {

namespace {

QComboBox* ProtocolCombo(const std::vector<YUnicodeString>& choices,
                         const YUnicodeString& current) {
    auto* combo = new QComboBox;
    for (const YUnicodeString& choice : choices) {
        combo->addItem(ToQ(choice));
    }
    int index = combo->findText(ToQ(current), Qt::MatchFixedString);
    if (index < 0) {
        // A protocol the session names but no module offers stays visible, so the user sees
        // what is wrong; OK refuses it.
        combo->addItem(ToQ(current));
        index = combo->count() - 1;
    }
    combo->setCurrentIndex(index);
    return combo;
}

// Follows one combo box: the page decides, and a refused choice goes back.
void Follow(QComboBox* combo, SessionConnectPage& page, bool terminalSide, QComboBox* transfer) {
    QObject::connect(
        combo, &QComboBox::currentIndexChanged, combo, [combo, &page, terminalSide, transfer](int) {
            const YUnicodeString chosen = FromQ(combo->currentText());
            const bool accepted = terminalSide ? page.OnTerminalProtocolChanged(chosen)
                                               : page.OnTransferProtocolChanged(chosen);
            if (!accepted) {
                const QSignalBlocker blocker(combo);
                combo->setCurrentIndex(combo->findText(
                    ToQ(terminalSide ? page.terminalProtocol : page.transferProtocol),
                    Qt::MatchFixedString));
            }
            if (transfer != nullptr) {
                transfer->setEnabled(page.IsTransferComboEnabled());
            }
        });
}

}  // namespace

QWidget* BuildConnectPage(YPropertyTreePage& base, QWidget* parent) {
    auto& page = static_cast<SessionConnectPage&>(base);
    auto* widget = new QWidget(parent);
    auto* form = new QFormLayout(widget);

    auto* name = new QLineEdit(ToQ(page.name));
    MarkField(name, SessionConnectPage::kNameField);
    name->setReadOnly(!page.IsNameEditable());
    QObject::connect(name, &QLineEdit::textEdited, name,
                     [&page](const QString& text) { page.name = FromQ(text); });
    form->addRow(BuddyLabel(MessageText(msg::ConnectNameLabel), name), name);

    const bool both = page.HasTerminalCombo() && page.HasTransferCombo();
    QComboBox* transfer = nullptr;
    if (page.HasTransferCombo()) {
        transfer = ProtocolCombo(page.GetTransferChoices(), page.transferProtocol);
        MarkField(transfer, SessionConnectPage::kTransferField);
        transfer->setEnabled(page.IsTransferComboEnabled());
    }
    if (page.HasTerminalCombo()) {
        QComboBox* terminal = ProtocolCombo(page.GetTerminalChoices(), page.terminalProtocol);
        MarkField(terminal, SessionConnectPage::kTerminalField);
        Follow(terminal, page, true, transfer);
        form->addRow(
            BuddyLabel(MessageText(both ? msg::ConnectTerminalLabel : msg::ConnectProtocolLabel),
                       terminal),
            terminal);
    }
    if (transfer != nullptr) {
        Follow(transfer, page, false, nullptr);
        form->addRow(
            BuddyLabel(MessageText(both ? msg::ConnectTransferLabel : msg::ConnectProtocolLabel),
                       transfer),
            transfer);
    }

    auto* preConnect = new QLineEdit(ToQ(page.preConnectCommand));
    QObject::connect(preConnect, &QLineEdit::textEdited, preConnect,
                     [&page](const QString& text) { page.preConnectCommand = FromQ(text); });
    form->addRow(BuddyLabel(MessageText(msg::ConnectPreConnectLabel), preConnect), preConnect);

    auto* description = new QPlainTextEdit(ToQ(page.description));
    description->setTabChangesFocus(true);
    QObject::connect(description, &QPlainTextEdit::textChanged, description, [&page, description] {
        page.description = FromQ(description->toPlainText());
    });
    form->addRow(BuddyLabel(MessageText(msg::ConnectDescriptionLabel), description), description);
    return widget;
}

}  // namespace rivode::ui
