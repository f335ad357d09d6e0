// Dialogs through their forms and property-tree dialogs, driven through their windows.
#include "tests/davaraze/qt/ModalDriver.h"
#include "tests/support/WindowLayoutRules.h"

#include <DavaraZE/YPropertyTree.h>
#include <DavaraZE/YQtUserInterface.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

// A page with one labelled field; it keeps what was typed on OK and refuses when told to.
class FieldPage final : public YPropertyTreePage {
public:
    explicit FieldPage(const char16_t* name) : YPropertyTreePage(500, name) {}

    QWidget* CreatePageWidget(QWidget* parent) override {
        auto* page = new QWidget(parent);
        auto* form = new QFormLayout(page);
        field_ = new QLineEdit(page);
        field_->setObjectName(QStringLiteral("field"));
        form->addRow(QStringLiteral("&Host name:"), field_);
        return page;
    }
    bool OnKillActive() override { return !refuseLeaving; }
    bool OnOK() override {
        if (refuseOk) {
            return false;
        }
        stored = field_->text();
        return true;
    }

    bool refuseLeaving = false;
    bool refuseOk = false;
    QString stored;

private:
    QLineEdit* field_ = nullptr;
};

class QtDialogWindowTest : public ::testing::Test {
protected:
    QtDialogWindowTest() { YSetUserInterface(YCreateQtUserInterface()); }
    ~QtDialogWindowTest() override { YSetUserInterface(nullptr); }
};

QTreeWidgetItem* TreeItem(QWidget& window, const QString& name) {
    const auto items = window.findChild<QTreeWidget*>(QStringLiteral("pages"))
                           ->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return items.isEmpty() ? nullptr : items.front();
}

void ClickPage(QWidget& window, const QString& name) {
    auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("pages"));
    QTreeWidgetItem* item = TreeItem(window, name);
    ASSERT_NE(item, nullptr) << name.toStdString();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

QString ShownPage(QWidget& window) {
    return window.findChild<QStackedWidget*>(QStringLiteral("pageArea"))
        ->currentWidget()
        ->objectName();
}

class PropertyTreeWindowTest : public QtDialogWindowTest {
protected:
    PropertyTreeWindowTest() : dialog_(u"Session Options", 0, &state_) {
        dialog_.AddPage(&connection_);
        connection_.AddPage(&logon_);
        dialog_.AddPage(&terminal_);
    }

    YPropertyPageStateMap state_;
    YPropertyTreeDialog dialog_;
    FieldPage connection_{u"Connection"};
    FieldPage logon_{u"Logon Actions"};
    FieldPage terminal_{u"Terminal"};
};

TEST_F(PropertyTreeWindowTest, SwitchesPagesUnlessThePageRefusesToLetGo) {
    WhenModalShows([this](QWidget& window) {
        EXPECT_EQ(ShownPage(window), QStringLiteral("Connection"));
        ClickPage(window, QStringLiteral("Logon Actions"));
        EXPECT_EQ(ShownPage(window), QStringLiteral("Connection\\Logon Actions"));
        logon_.refuseLeaving = true;
        ClickPage(window, QStringLiteral("Terminal"));
        EXPECT_EQ(ShownPage(window), QStringLiteral("Connection\\Logon Actions"));
        EXPECT_EQ(window.findChild<QTreeWidget*>(QStringLiteral("pages"))->currentItem()->text(0),
                  QStringLiteral("Logon Actions"));
        logon_.refuseLeaving = false;
        ClickPage(window, QStringLiteral("Terminal"));
        EXPECT_EQ(ShownPage(window), QStringLiteral("Terminal"));
        Press(window, "YID_CANCEL");
    });
    EXPECT_EQ(dialog_.DoModal(), YID_CANCEL);
    // The next opening starts on the page last shown.
    EXPECT_EQ(state_.GetLastPage(), u"Terminal");
}

TEST_F(PropertyTreeWindowTest, OkIsRefusedWhileAPageRefusesAndStoresOnceAllAgree) {
    terminal_.refuseOk = true;
    WhenModalShows([this](QWidget& window) {
        QTest::keyClicks(window.findChild<QStackedWidget*>(QStringLiteral("pageArea"))
                             ->currentWidget()
                             ->findChild<QLineEdit*>(),
                         QStringLiteral("jump.example.org"));
        Press(window, "YID_OK");
        LetEventsRun();
        ASSERT_TRUE(window.isVisible()) << "OK closed the window although a page refused";
        EXPECT_EQ(ShownPage(window), QStringLiteral("Terminal"));
        terminal_.refuseOk = false;
        Press(window, "YID_OK");
    });
    EXPECT_EQ(dialog_.DoModal(), YID_OK);
    EXPECT_EQ(connection_.stored, QStringLiteral("jump.example.org"));
}

TEST_F(PropertyTreeWindowTest, HiddenPagesLeaveTheTreeAndTheLayoutPassesItsRules) {
    ASSERT_TRUE(HaveFonts()) << "install fonts-dejavu-core: without fonts no text can be measured";
    dialog_.HidePage(&logon_);
    WhenModalShows([this](QWidget& window) {
        EXPECT_EQ(TreeItem(window, QStringLiteral("Logon Actions")), nullptr);
        // A page brings another into the tree while the window is open.
        dialog_.ShowPage(&logon_);
        LetEventsRun();
        EXPECT_NE(TreeItem(window, QStringLiteral("Logon Actions")), nullptr);
        for (const std::string& fault : CheckWindowLayout(window)) {
            ADD_FAILURE() << fault;
        }
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog_.DoModal(), YID_CANCEL);
}

// A plain dialog through the form registered for its template, and its placement.
class NameDialog final : public YDialog {
public:
    NameDialog() : YDialog(kTemplate) { EnableDynamicLayout(u"Test Name Dialog"); }
    void OnOK() override {
        if (!field->text().isEmpty()) {
            EndDialog(YID_OK);
        }
    }
    static constexpr unsigned kTemplate = 0x7E57;
    QLineEdit* field = nullptr;
};

void BuildNameForm(YDialog& dialog, QDialog& window) {
    auto& names = static_cast<NameDialog&>(dialog);
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel(QStringLiteral("&Name:"), &window);
    names.field = new QLineEdit(&window);
    label->setBuddy(names.field);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &window);
    layout->addWidget(label);
    layout->addWidget(names.field);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
}

TEST_F(QtDialogWindowTest, DialogRunsItsRegisteredFormAndKeepsItsPlacement) {
    NameDialog unformed;
    EXPECT_EQ(unformed.DoModal(), YID_CANCEL) << "a template without a form cannot show";

    YRegisterDialogForm(NameDialog::kTemplate, &BuildNameForm);
    NameDialog dialog;
    QSize leftAt;
    WhenModalShows([&](QWidget& window) {
        // OK with the field empty: the dialog keeps its window.
        QTest::keyClick(&window, Qt::Key_Return);
        LetEventsRun();
        EXPECT_TRUE(window.isVisible());
        QTest::keyClicks(dialog.field, QStringLiteral("Work"));
        window.resize(window.size() + QSize(40, 30));
        leftAt = window.size();
        QTest::keyClick(&window, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), YID_OK);
    EXPECT_EQ(dialog.GetWindow(), nullptr);

    NameDialog again;
    WhenModalShows([&](QWidget& window) {
        EXPECT_EQ(window.size(), leftAt);
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    EXPECT_EQ(again.DoModal(), YID_CANCEL);
}

}  // namespace
}  // namespace rivode::test
