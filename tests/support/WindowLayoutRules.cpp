#include "tests/support/WindowLayoutRules.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QStackedLayout>
#include <QWidget>

namespace rivode::test {
namespace {

std::string Describe(const QWidget& widget) {
    std::string text = widget.metaObject()->className();
    if (!widget.objectName().isEmpty()) {
        text += " '" + widget.objectName().toStdString() + "'";
    }
    return text;
}

// A viewport scrolls its contents: they are meant to extend beyond it.
bool InsideScrolledViewport(const QWidget& widget) {
    for (const QWidget* up = widget.parentWidget(); up != nullptr; up = up->parentWidget()) {
        const auto* area = qobject_cast<const QAbstractScrollArea*>(up->parentWidget());
        if (area != nullptr && area->viewport() == up) {
            return true;
        }
    }
    return false;
}

void CheckInsideParent(const QWidget& widget, std::vector<std::string>& faults) {
    const QWidget* parent = widget.parentWidget();
    if (parent == nullptr || InsideScrolledViewport(widget)) {
        return;
    }
    if (!parent->rect().contains(widget.geometry())) {
        faults.push_back(Describe(widget) + ": lies outside " + Describe(*parent));
    }
}

void CheckTextFits(const QWidget& widget, std::vector<std::string>& faults) {
    QSize needed;
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        text = label->text();
        if (text.isEmpty() || label->textFormat() == Qt::RichText) {
            return;
        }
        const QRect room = label->contentsRect();
        if (label->wordWrap()) {
            needed = QSize(0, label->heightForWidth(label->width()));
        } else {
            QString shown = text;
            shown.remove(QLatin1Char('&'));
            needed = label->fontMetrics().size(0, shown);
        }
        if (needed.width() > room.width() || needed.height() > label->height()) {
            faults.push_back(Describe(widget) + ": text '" + text.toStdString() + "' needs " +
                             std::to_string(needed.width()) + "x" +
                             std::to_string(needed.height()) + " px, has " +
                             std::to_string(room.width()) + "x" + std::to_string(label->height()));
        }
        return;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        if (button->text().isEmpty()) {
            return;
        }
        needed = button->minimumSizeHint();
        if (needed.width() > button->width() || needed.height() > button->height()) {
            faults.push_back(Describe(widget) + ": text '" + button->text().toStdString() +
                             "' needs " + std::to_string(needed.width()) + " px, has " +
                             std::to_string(button->width()));
        }
    }
}

void CollectLaidOut(const QLayout& layout, std::vector<const QWidget*>& widgets) {
    for (int i = 0; i < layout.count(); ++i) {
        QLayoutItem* item = layout.itemAt(i);
        if (item->widget() != nullptr) {
            if (item->widget()->isVisible()) {
                widgets.push_back(item->widget());
            }
        } else if (item->layout() != nullptr) {
            CollectLaidOut(*item->layout(), widgets);
        }
    }
}

void CheckNoOverlap(const QWidget& parent, std::vector<std::string>& faults) {
    const QLayout* layout = parent.layout();
    // A stacked layout puts its pages on top of one another on purpose; one shows at a time.
    if (layout == nullptr || qobject_cast<const QStackedLayout*>(layout) != nullptr) {
        return;
    }
    std::vector<const QWidget*> widgets;
    CollectLaidOut(*layout, widgets);
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        for (std::size_t j = i + 1; j < widgets.size(); ++j) {
            if (widgets[i]->geometry().intersects(widgets[j]->geometry())) {
                faults.push_back(Describe(*widgets[i]) + " overlaps " + Describe(*widgets[j]));
            }
        }
    }
}

}  // namespace

std::vector<std::string> CheckWindowLayout(const QWidget& window) {
    std::vector<std::string> faults;
    CheckNoOverlap(window, faults);
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window) || widget->isWindow()) {
            continue;
        }
        CheckInsideParent(*widget, faults);
        CheckTextFits(*widget, faults);
        CheckNoOverlap(*widget, faults);
    }
    return faults;
}

bool HaveFonts() {
    return !QFontDatabase::families().isEmpty();
}

}  // namespace rivode::test
