// The layout rules must catch the faults they name, and pass a window laid out by Qt.
#include "tests/support/WindowLayoutRules.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace rivode::test {
namespace {

std::string Joined(const std::vector<std::string>& faults) {
    std::string text;
    for (const std::string& fault : faults) {
        text += fault + "\n";
    }
    return text;
}

bool Mentions(const std::vector<std::string>& faults, const std::string& what) {
    return Joined(faults).find(what) != std::string::npos;
}

std::unique_ptr<QWidget> Shown(std::unique_ptr<QWidget> window) {
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
}

TEST(WindowLayoutRulesTest, AWindowLaidOutByQtPasses) {
    ASSERT_TRUE(HaveFonts());
    auto window = std::make_unique<QWidget>();
    auto* form = new QFormLayout(window.get());
    form->addRow(QStringLiteral("&Host name:"), new QLineEdit);
    form->addRow(QStringLiteral("A much longer label for the port:"), new QLineEdit);
    form->addRow(new QPushButton(QStringLiteral("&Advanced...")));
    window = Shown(std::move(window));
    EXPECT_TRUE(CheckWindowLayout(*window).empty()) << Joined(CheckWindowLayout(*window));
}

TEST(WindowLayoutRulesTest, CatchesCutTextOverlapAndWidgetsOutsideTheirWindow) {
    auto window = std::make_unique<QWidget>();
    auto* row = new QHBoxLayout(window.get());
    auto* cut = new QLabel(QStringLiteral("A label whose text cannot fit"));
    cut->setObjectName(QStringLiteral("cut"));
    cut->setFixedWidth(20);
    row->addWidget(cut);
    auto* button = new QPushButton(QStringLiteral("Browse for a folder..."));
    button->setObjectName(QStringLiteral("narrow"));
    button->setFixedWidth(15);
    row->addWidget(button);
    auto* outside = new QLabel(QStringLiteral("x"), window.get());
    outside->setObjectName(QStringLiteral("outside"));
    window->setFixedSize(300, 80);
    window = Shown(std::move(window));
    outside->setGeometry(280, 60, 50, 40);
    // Overlap: a laid-out widget moved onto its neighbour.
    button->move(cut->pos());

    const std::vector<std::string> faults = CheckWindowLayout(*window);
    EXPECT_TRUE(Mentions(faults, "'cut': text")) << Joined(faults);
    EXPECT_TRUE(Mentions(faults, "'narrow': text")) << Joined(faults);
    EXPECT_TRUE(Mentions(faults, "'outside': lies outside")) << Joined(faults);
    EXPECT_TRUE(Mentions(faults, "'cut' overlaps QPushButton 'narrow'")) << Joined(faults);
}

}  // namespace
}  // namespace rivode::test
