// The pages drawn from their fields: each field a labelled widget of its kind in one form.
#include "ui/session/PageForm.h"
#include "ui/session/PageForms.h"

#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionOptionsDialog.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace rivode::ui {

namespace {

using Kind = SessionPageField::Kind;

QWidget* CheckWidget(SessionPageField& field, bool triState) {
    auto* check = new QCheckBox(ToQ(field.label));
    check->setTristate(triState);
    // A tri-state value's third state (2) defers to the application-wide setting: the box
    // shows it partly checked.
    check->setCheckState(field.number == 2 && triState ? Qt::PartiallyChecked
                         : field.number != 0           ? Qt::Checked
                                                       : Qt::Unchecked);
    QObject::connect(check, &QCheckBox::stateChanged, check, [&field](int state) {
        field.number = state == Qt::PartiallyChecked ? 2 : state == Qt::Checked ? 1 : 0;
    });
    return check;
}

QWidget* NumberWidget(SessionPageField& field) {
    auto* spin = new QSpinBox;
    const auto limit = [](std::uint32_t n) {
        return static_cast<int>(std::min<std::uint32_t>(n, std::numeric_limits<int>::max()));
    };
    spin->setRange(limit(field.minimum), limit(field.maximum));
    spin->setValue(limit(field.number));
    // A number needs the width of its digits, not the page's.
    spin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QObject::connect(spin, &QSpinBox::valueChanged, spin,
                     [&field](int value) { field.number = static_cast<std::uint32_t>(value); });
    return spin;
}

QWidget* ChoiceWidget(SessionPageField& field) {
    auto* combo = new QComboBox;
    combo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (const auto& [number, text] : field.choices) {
        combo->addItem(ToQ(text), number);
    }
    int index = combo->findData(field.number);
    if (index < 0) {
        // A stored number the list does not name is kept and shown as it is.
        combo->addItem(QString::number(field.number), field.number);
        index = combo->count() - 1;
    }
    combo->setCurrentIndex(index);
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo,
                     [&field, combo](int) { field.number = combo->currentData().toUInt(); });
    return combo;
}

QWidget* NamesWidget(SessionPageField& field) {
    auto* combo = new QComboBox;
    combo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (const YUnicodeString& name : field.names) {
        combo->addItem(ToQ(name));
    }
    int index = combo->findText(ToQ(field.text), Qt::MatchFixedString);
    if (index < 0) {
        combo->addItem(ToQ(field.text));
        index = combo->count() - 1;
    }
    combo->setCurrentIndex(index);
    QObject::connect(combo, &QComboBox::currentTextChanged, combo,
                     [&field](const QString& text) { field.text = FromQ(text); });
    return combo;
}

QString FontText(const SessionPageField& field) {
    YReportMessageParams text(msg::FontButtonText);
    text.AddString(field.text);
    text.AddString(std::to_string(field.number));
    return ToQ(text.GetSingleLineTextTrimmed());
}

// A terminal draws in fixed-pitch fonts only: the chooser offers those.
QWidget* FontWidget(SessionPageField& field) {
    auto* button = new QPushButton(FontText(field));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QObject::connect(button, &QPushButton::clicked, button, [&field, button] {
        bool chosen = false;
        const QFont initial(ToQ(field.text), static_cast<int>(field.number));
        const QFont font = QFontDialog::getFont(&chosen, initial, button->window(), QString(),
                                                QFontDialog::MonospacedFonts);
        if (chosen) {
            field.text = FromQ(font.family());
            field.number = static_cast<std::uint32_t>(std::max(font.pointSize(), 1));
            button->setText(FontText(field));
        }
    });
    return button;
}

// Colors are kept as 0x00BBGGRR.
QColor ToColor(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

void ShowColor(QPushButton& button, const QColor& color) {
    QPixmap swatch(button.fontMetrics().height(), button.fontMetrics().height());
    swatch.fill(color);
    button.setIcon(QIcon(swatch));
    button.setText(color.name(QColor::HexRgb).toUpper());
}

QWidget* ColorWidget(SessionPageField& field) {
    auto* button = new QPushButton;
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    ShowColor(*button, ToColor(field.number));
    QObject::connect(button, &QPushButton::clicked, button, [&field, button] {
        const QColor color = QColorDialog::getColor(ToColor(field.number), button->window());
        if (color.isValid()) {
            field.number = static_cast<std::uint32_t>(color.red()) |
                           static_cast<std::uint32_t>(color.green()) << 8 |
                           static_cast<std::uint32_t>(color.blue()) << 16;
            ShowColor(*button, color);
        }
    });
    return button;
}

QWidget* DecimalWidget(SessionPageField& field) {
    constexpr double kThousandths = 1000.0;
    auto* spin = new QDoubleSpinBox;
    spin->setDecimals(3);
    spin->setSingleStep(0.1);
    spin->setRange(field.minimum / kThousandths, field.maximum / kThousandths);
    spin->setValue(field.number / kThousandths);
    spin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QObject::connect(spin, &QDoubleSpinBox::valueChanged, spin, [&field](double value) {
        field.number = static_cast<std::uint32_t>(std::lround(value * kThousandths));
    });
    return spin;
}

QWidget* TextWidget(SessionPageField& field) {
    auto* edit = new QLineEdit(ToQ(field.text));
    QObject::connect(edit, &QLineEdit::textEdited, edit,
                     [&field](const QString& text) { field.text = FromQ(text); });
    return edit;
}

}  // namespace

QWidget* BuildValuesPage(YPropertyTreePage& base, QWidget* parent) {
    auto& page = static_cast<SessionValuesPage&>(base);
    auto* widget = new QWidget(parent);
    auto* form = new QFormLayout(widget);
    struct Conditional {
        const SessionPageField* field;
        QWidget* editor;
        QLabel* label;
    };
    std::vector<Conditional> conditional;
    int number = 1;
    for (SessionPageField& field : page.fields) {
        QWidget* editor = nullptr;
        switch (field.kind) {
            case Kind::Check:
            case Kind::TriState:
                editor = CheckWidget(field, field.kind == Kind::TriState);
                form->addRow(editor);
                break;
            case Kind::Number:
                editor = NumberWidget(field);
                break;
            case Kind::Choice:
                editor = ChoiceWidget(field);
                break;
            case Kind::TextChoice:
                editor = NamesWidget(field);
                break;
            case Kind::Text:
                editor = TextWidget(field);
                break;
            case Kind::Font:
                editor = FontWidget(field);
                break;
            case Kind::Color:
                editor = ColorWidget(field);
                break;
            case Kind::Decimal:
                editor = DecimalWidget(field);
                break;
            case Kind::Note:
                form->addRow(new QLabel(ToQ(field.label)));
                break;
        }
        if (editor != nullptr) {
            MarkField(editor, number);
            QLabel* label = nullptr;
            if (field.kind != Kind::Check && field.kind != Kind::TriState) {
                label = BuddyLabel(ToQ(field.label), editor);
                form->addRow(label, editor);
            }
            if (field.applies) {
                conditional.push_back({&field, editor, label});
            }
        }
        ++number;
    }
    if (!conditional.empty()) {
        // A field that means nothing for the protocol chosen now is greyed, with its label.
        FollowPageRefresh(page, widget, [conditional] {
            for (const Conditional& c : conditional) {
                const bool on = c.field->applies();
                c.editor->setEnabled(on);
                if (c.label != nullptr) {
                    c.label->setEnabled(on);
                }
            }
        });
    }
    return widget;
}

}  // namespace rivode::ui
