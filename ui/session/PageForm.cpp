#include "ui/session/PageForm.h"

#include <DavaraZE/YQtText.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionOptionsPages.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

namespace rivode::ui {

namespace {

QString FieldName(int field) {
    return QStringLiteral("field%1").arg(field);
}

}  // namespace

QString MessageText(std::uint32_t id) {
    return YToQString(LoadMessageString(id));
}

QString ToQ(const YUnicodeString& text) {
    return YToQString(text);
}

YUnicodeString FromQ(const QString& text) {
    return YFromQString(text);
}

QCheckBox* BoundCheck(const QString& text, bool& value) {
    auto* check = new QCheckBox(text);
    check->setChecked(value);
    QObject::connect(check, &QCheckBox::toggled, check, [&value](bool on) { value = on; });
    return check;
}

QLineEdit* BoundEdit(YUnicodeString& value) {
    auto* edit = new QLineEdit(ToQ(value));
    QObject::connect(edit, &QLineEdit::textEdited, edit,
                     [&value](const QString& text) { value = FromQ(text); });
    return edit;
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QDialogButtonBox* DialogButtons(QDialog& window, bool withOk) {
    // The buttons' texts come from the message tables, as every other button's, so they follow
    // the user's language rather than Qt's translations.
    auto* buttons = new QDialogButtonBox;
    if (withOk) {
        buttons->addButton(MessageText(rivode::msg::ButtonOk), QDialogButtonBox::AcceptRole)
            ->setObjectName(QStringLiteral("YID_OK"));
    }
    buttons->addButton(MessageText(rivode::msg::ButtonCancel), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("YID_CANCEL"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    return buttons;
}

void MarkField(QWidget* widget, int field) {
    widget->setObjectName(FieldName(field));
}

QWidget* FindField(QWidget* page, int field) {
    return page != nullptr ? page->findChild<QWidget*>(FieldName(field)) : nullptr;
}

void FollowPageRefresh(SessionOptionsPage& page, QWidget* form, std::function<void()> refresh) {
    if (page.IsReadOnly()) {
        return;
    }
    refresh();
    page.SetFormRefresh(refresh);
    // The page outlives its window: the form's widgets must not be reached once they are gone.
    QObject::connect(form, &QObject::destroyed, [&page] { page.SetFormRefresh(nullptr); });
}

void DisableFields(QWidget& page) {
    for (QWidget* widget : page.findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(widget) != nullptr ||
            qobject_cast<QLineEdit*>(widget) != nullptr ||
            qobject_cast<QComboBox*>(widget) != nullptr ||
            qobject_cast<QAbstractSpinBox*>(widget) != nullptr ||
            qobject_cast<QAbstractItemView*>(widget) != nullptr ||
            qobject_cast<QTextEdit*>(widget) != nullptr ||
            qobject_cast<QPlainTextEdit*>(widget) != nullptr) {
            widget->setEnabled(false);
        }
    }
}

}  // namespace rivode::ui
