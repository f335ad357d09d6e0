// The on-screen keyboard: every key of an OnScreenKeyboard drawn as a button showing what it
// types in the keyboard's modifier state, the selected key sunken in red on pink.
#pragma once

#include <QWidget>

#include <functional>

class KeyboardButton;
class OnScreenKeyboard;

namespace rivode::ui {

class KeyboardWidget : public QWidget {
public:
    // keyboard must outlive the widget.
    explicit KeyboardWidget(OnScreenKeyboard& keyboard, QWidget* parent = nullptr);

    // Called when the user clicks a key that can be mapped (not a modifier).
    void SetClickHandler(std::function<void(KeyboardButton&)> clicked) {
        clicked_ = std::move(clicked);
    }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Pixels per layout unit: the keys grow with the font, so their labels fit.
    double Scale() const;
    QRect PlaceRect(int x, int y, int width, int height) const;
    void DrawKey(QPainter& painter, const QRect& rect, const KeyboardButton& button,
                 bool modifierKey) const;

    OnScreenKeyboard& keyboard_;
    std::function<void(KeyboardButton&)> clicked_;
};

}  // namespace rivode::ui
