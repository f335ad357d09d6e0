#include "ui/session/PageForm.h"

#include <DavaraZE/YQtText.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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

void MarkField(QWidget* widget, int field) {
    widget->setObjectName(FieldName(field));
}

QWidget* FindField(QWidget* page, int field) {
    return page != nullptr ? page->findChild<QWidget*>(FieldName(field)) : nullptr;
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
