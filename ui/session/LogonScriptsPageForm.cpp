// The Logon Actions page: the expect/send list with its buttons, and the logon script file.
#include "ui/session/PageForm.h"
#include "ui/session/PageForms.h"

#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace rivode::ui {

namespace {

class LogonList {
public:
    LogonList(SessionLogonScriptsPage& page, QTreeWidget* list) : page_(page), list_(list) {}

    void Fill(int selected) {
        list_->clear();
        for (const ExpectSendPair& pair : page_.pairs) {
            QStringList cells;
            for (const YUnicodeString& cell : SessionLogonScriptsPage::GetRowCells(pair)) {
                cells << ToQ(cell);
            }
            new QTreeWidgetItem(list_, cells);
        }
        if (selected >= 0 && selected < list_->topLevelItemCount()) {
            list_->setCurrentItem(list_->topLevelItem(selected));
        }
    }

    int Selected() const {
        QTreeWidgetItem* item = list_->currentItem();
        return item != nullptr ? list_->indexOfTopLevelItem(item) : -1;
    }

    void Add() {
        ExpectSendPropertiesDialog dialog(ExpectSendPair{}, list_->window());
        if (dialog.DoModal() == YID_OK) {
            Fill(page_.Add(dialog.pair, Selected()));
        }
    }

    void Edit() {
        const int row = Selected();
        if (row < 0) {
            return;
        }
        ExpectSendPropertiesDialog dialog(page_.pairs[static_cast<std::size_t>(row)],
                                          list_->window());
        if (dialog.DoModal() == YID_OK) {
            Fill(page_.Replace(row, dialog.pair));
        }
    }

    void Delete() { Fill(page_.Delete(Selected())); }
    void MoveUp() { Fill(page_.MoveUp(Selected())); }
    void MoveDown() { Fill(page_.MoveDown(Selected())); }

private:
    SessionLogonScriptsPage& page_;
    QTreeWidget* list_;
};

}  // namespace

QWidget* BuildLogonScriptsPage(YPropertyTreePage& base, QWidget* parent) {
    auto& page = static_cast<SessionLogonScriptsPage&>(base);
    auto* widget = new QWidget(parent);
    auto* layout = new QVBoxLayout(widget);

    QCheckBox* automate = BoundCheck(MessageText(msg::LogonAutomateLabel), page.useLoginScript);
    layout->addWidget(automate);

    auto* list = new QTreeWidget;
    MarkField(list, SessionLogonScriptsPage::kListField);
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    QStringList titles;
    for (const YUnicodeString& title : SessionLogonScriptsPage::GetColumnTitles()) {
        titles << ToQ(title);
    }
    list->setHeaderLabels(titles);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    auto* rows = new LogonList(page, list);
    QObject::connect(list, &QObject::destroyed, [rows] { delete rows; });
    rows->Fill(page.pairs.empty() ? -1 : 0);

    auto* add = new QPushButton(MessageText(msg::ListAddButton));
    auto* edit = new QPushButton(MessageText(msg::ListEditButton));
    auto* remove = new QPushButton(MessageText(msg::ListDeleteButton));
    auto* up = new QToolButton;
    up->setArrowType(Qt::UpArrow);
    up->setToolTip(MessageText(msg::MoveUpTip));
    up->setAccessibleName(up->toolTip());
    auto* down = new QToolButton;
    down->setArrowType(Qt::DownArrow);
    down->setToolTip(MessageText(msg::MoveDownTip));
    down->setAccessibleName(down->toolTip());
    QObject::connect(add, &QPushButton::clicked, list, [rows] { rows->Add(); });
    QObject::connect(edit, &QPushButton::clicked, list, [rows] { rows->Edit(); });
    QObject::connect(list, &QTreeWidget::itemDoubleClicked, list, [rows] { rows->Edit(); });
    QObject::connect(remove, &QPushButton::clicked, list, [rows] { rows->Delete(); });
    QObject::connect(up, &QToolButton::clicked, list, [rows] { rows->MoveUp(); });
    QObject::connect(down, &QToolButton::clicked, list, [rows] { rows->MoveDown(); });

    auto* listRow = new QHBoxLayout;
    listRow->addWidget(list, 1);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(up);
    arrows->addWidget(down);
    arrows->addStretch();
    listRow->addLayout(arrows);
    layout->addLayout(listRow, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    buttons->addStretch();
    layout->addLayout(buttons);
    QCheckBox* initialReturn =
        BoundCheck(MessageText(msg::LogonInitialReturnLabel), page.sendInitialCarriageReturn);
    initialReturn->setObjectName(QStringLiteral("initialReturn"));
    layout->addWidget(initialReturn);
    FollowPageRefresh(page, widget, [&page, initialReturn] {
        initialReturn->setEnabled(page.IsInitialReturnApplicable());
    });

    const auto enableList = [=](bool on) {
        for (QWidget* w : {static_cast<QWidget*>(list), static_cast<QWidget*>(add),
                           static_cast<QWidget*>(edit), static_cast<QWidget*>(remove),
                           static_cast<QWidget*>(up), static_cast<QWidget*>(down)}) {
            w->setEnabled(on);
        }
    };
    enableList(page.useLoginScript);
    QObject::connect(automate, &QCheckBox::toggled, list, enableList);

    QCheckBox* useFile = BoundCheck(MessageText(msg::LogonScriptLabel), page.useScriptFile);
    QLineEdit* file = BoundEdit(page.scriptFilename);
    MarkField(file, SessionLogonScriptsPage::kScriptFileField);
    auto* browse = new QPushButton(QStringLiteral("..."));
    browse->setToolTip(MessageText(msg::BrowseLogonScriptTip));
    browse->setAccessibleName(browse->toolTip());
    QObject::connect(browse, &QPushButton::clicked, file, [&page, file] {
        if (page.OnBrowseScript(file->window())) {
            file->setText(ToQ(page.scriptFilename));
        }
    });
    QLineEdit* arguments = BoundEdit(page.scriptArguments);
    QLabel* argumentsLabel = BuddyLabel(MessageText(msg::LogonArgumentsLabel), arguments);
    auto* script = new QGridLayout;
    script->addWidget(useFile, 0, 0);
    script->addWidget(file, 0, 1);
    script->addWidget(browse, 0, 2);
    script->addWidget(argumentsLabel, 1, 0);
    script->addWidget(arguments, 1, 1, 1, 2);
    layout->addLayout(script);
    const auto enableFile = [=](bool on) {
        for (QWidget* w :
             {static_cast<QWidget*>(file), static_cast<QWidget*>(browse),
              static_cast<QWidget*>(arguments), static_cast<QWidget*>(argumentsLabel)}) {
            w->setEnabled(on);
        }
    };
    enableFile(page.useScriptFile);
    QObject::connect(useFile, &QCheckBox::toggled, file, enableFile);
    return widget;
}

void BuildExpectSendForm(YDialog& base, QDialog& window) {
    auto& dialog = static_cast<ExpectSendPropertiesDialog&>(base);
    window.setWindowTitle(ToQ(ExpectSendPropertiesDialog::GetTitle()));
    auto* form = new QFormLayout;
    QLineEdit* expect = BoundEdit(dialog.pair.expect);
    expect->setObjectName(QStringLiteral("expect"));
    QLineEdit* send = BoundEdit(dialog.pair.send);
    send->setObjectName(QStringLiteral("send"));
    auto* hide = BoundCheck(MessageText(msg::HideLabel), dialog.pair.hide);
    hide->setObjectName(QStringLiteral("hide"));
    const auto echo = [send](bool hidden) {
        send->setEchoMode(hidden ? QLineEdit::Password : QLineEdit::Normal);
    };
    echo(dialog.pair.hide);
    QObject::connect(hide, &QCheckBox::toggled, send, echo);
    form->addRow(BuddyLabel(MessageText(msg::ExpectLabel), expect), expect);
    form->addRow(BuddyLabel(MessageText(msg::SendLabel), send), send);
    form->addRow(QString(), hide);
    auto* layout = new QVBoxLayout(&window);
    layout->addLayout(form);
    layout->addWidget(DialogButtons(window, true));
    expect->setMinimumWidth(expect->fontMetrics().averageCharWidth() * 40);
}

}  // namespace rivode::ui
