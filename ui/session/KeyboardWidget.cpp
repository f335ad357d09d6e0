#include "ui/session/KeyboardWidget.h"

#include "ui/session/PageForm.h"

#include <RivodeRavudaVU/KeyboardButton.h>

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace rivode::ui {

namespace {

const QColor kSelectedText(255, 0, 0);
const QColor kSelectedFace(255, 228, 228);
const QColor kDisabledText(128, 128, 128);
// Text a key types only with Shift, or without the modifiers shown: drawn apart from the
// state's own text.
const QColor kFallbackText(0, 0, 160);

// A key 24 units wide shows two characters of the normal font with room to spare.
constexpr double kUnitsPerLine = 16.0;

}  // namespace

KeyboardWidget::KeyboardWidget(OnScreenKeyboard& keyboard, QWidget* parent)
    : QWidget(parent), keyboard_(keyboard) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

double KeyboardWidget::Scale() const {
    return fontMetrics().height() / kUnitsPerLine;
}

QRect KeyboardWidget::PlaceRect(int x, int y, int width, int height) const {
    const double scale = Scale();
    const int left = static_cast<int>(x * scale);
    const int top = static_cast<int>(y * scale);
    return QRect(left, top, static_cast<int>((x + width) * scale) - left - 1,
                 static_cast<int>((y + height) * scale) - top - 1);
}

QSize KeyboardWidget::sizeHint() const {
    const QRect all = PlaceRect(0, 0, keyboard_.GetWidth(), keyboard_.GetHeight());
    return QSize(all.width() + 2, all.height() + 2);
}

void KeyboardWidget::DrawKey(QPainter& painter, const QRect& rect, const KeyboardButton& button,
                             bool modifierKey) const {
    const bool selected = button.state() != 0;
    QStyleOptionButton frame;
    frame.initFrom(this);
    frame.rect = rect;
    frame.state = QStyle::State_Enabled | (selected ? QStyle::State_Sunken : QStyle::State_Raised);
    painter.fillRect(rect.adjusted(1, 1, -1, -1), selected ? kSelectedFace : QColor(Qt::white));
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
    if (selected && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
    bool fallback = false;
    const QString text = ToQ(button.GetDisplayText(keyboard_.GetModifierState(), fallback));
    QFont font = this->font();
    switch (button.GetFontKind()) {
        case 1:
            font.setPointSizeF(font.pointSizeF() * 0.8);
            break;
        case 3:
            font.setPointSizeF(font.pointSizeF() * 1.2);
            break;
        default:
            break;
    }
    // A long fixed label ("Scroll") shrinks until it fits its key.
    while (font.pointSizeF() > 5 && QFontMetrics(font).horizontalAdvance(text) > rect.width() - 4) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    painter.setFont(font);
    QColor ink = selected ? kSelectedText : QColor(Qt::black);
    if (!isEnabled() || modifierKey) {
        ink = kDisabledText;
    } else if (fallback) {
        ink = kFallbackText;
    }
    painter.setPen(ink);
    painter.drawText(rect, Qt::AlignCenter, text);
}

void KeyboardWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (std::size_t i = 0; i < keyboard_.GetMainCount(); ++i) {
        const OnScreenKeyboard::Place& place = keyboard_.GetMainPlace(i);
        DrawKey(painter, PlaceRect(place.x, place.y, place.width, place.height),
                keyboard_.GetMainButton(i), false);
    }
    for (std::size_t i = 0; i < keyboard_.GetModifierCount(); ++i) {
        const OnScreenKeyboard::Place& place = keyboard_.GetModifierPlace(i);
        DrawKey(painter, PlaceRect(place.x, place.y, place.width, place.height),
                keyboard_.GetModifierButton(i), true);
    }
}

void KeyboardWidget::mousePressEvent(QMouseEvent* event) {
    if (!clicked_) {
        QWidget::mousePressEvent(event);  // a picture of the keyboard: nothing to choose
        return;
    }
    for (std::size_t i = 0; i < keyboard_.GetMainCount(); ++i) {
        const OnScreenKeyboard::Place& place = keyboard_.GetMainPlace(i);
        if (PlaceRect(place.x, place.y, place.width, place.height)
                .contains(event->position().toPoint())) {
            KeyboardButton& button = keyboard_.GetMainButton(i);
            button.SetState(1);
            update();
            clicked_(button);
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

}  // namespace rivode::ui
