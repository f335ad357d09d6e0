#include "tests/davaraze/ScopedEnvironment.h"
#include "tests/davaraze/qt/ModalDriver.h"
#include "tests/support/WindowLayoutRules.h"
#include "tests/ui/GuiHostFixture.h"
#include "ui/host/SessionOptionsCommand.h"

#include <RivodeRavudaVU/ColorScheme.h>
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/HighlightConfig.h>
#include <RivodeRavudaVU/KeyCodes.h>
#include <RivodeRavudaVU/KeyMappingEditor.h>
#include <RivodeRavudaVU/KeywordLists.h>
#include <RivodeRavudaVU/ProductNumbers.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace rivode {
namespace {

using test::LetEventsRun;
using test::Press;
using test::WhenModalShows;

void RestorePageFactories();

class SessionOptionsTest : public test::GuiHostTest {
protected:
    SessionOptionsTest() {
        const YAppFnTable table{LoadConnectProtocolModule, nullptr, nullptr};
        bool fips = false;
        YReportMessageParams report;
        loaded_ = LoadConnectionProtocolDlls(table, ui::kGuiProduct,
                                             GetDefaultConnectModuleFolder(), fips, report);
        SessionOptionsDialogBase::m_pageStateMap.Clear();
    }
    ~SessionOptionsTest() override { RestorePageFactories(); }

    // A stored session of protocol at "Work\Host".
    YRefPtr<ISessionConfig> StoredSession(const char16_t* protocol) {
        auto session = YRefPtr<ISessionConfig>::Adopt(new SessionConfig);
        session->Load(nullptr);
        session->SetPath(u"Work\\Host");
        session->SetProtocolName(protocol);
        YReportMessageParams report;
        SessionDatabaseImpl& database = *GetSessionDatabaseImpl();
        EXPECT_TRUE(database.IsFolder(u"Work") || database.CreateFolder(u"Work", report));
        EXPECT_TRUE(database.SaveSession(*session, !database.Exists(u"Work\\Host"), report));
        return GetSessionDatabaseImpl()->OpenSession(u"Work\\Host");
    }

    bool loaded_ = false;
};

std::vector<YUnicodeString> ShownPaths(const YPropertyTreeDialog& dialog) {
    std::vector<YUnicodeString> paths;
    for (const YPropertyTreePage* page : dialog.GetShownPages()) {
        paths.push_back(page->GetPath());
    }
    return paths;
}

bool Shows(const YPropertyTreeDialog& dialog, std::u16string_view path) {
    const std::vector<YUnicodeString> shown = ShownPaths(dialog);
    return std::find(shown.begin(), shown.end(), path) != shown.end();
}

// The dialog's window over session, with the choices no test varies left at their defaults.
int RunDialog(ISessionConfig& session, int product = ui::kGuiProduct,
              GlobalConfig* global = nullptr, int mode = 0) {
    bool keywords = false;
    return ShowSessionOptionsDialog(global, &session, mode, false, false, 0, false, 0, false,
                                    keywords, product, nullptr);
}

TEST_F(SessionOptionsTest, PagesFollowTheProtocolTheProductAndTheMode) {
    ASSERT_TRUE(loaded_);
    struct Case {
        const char16_t* protocol;
        int mode;
        bool terminalPages;  // Logon Actions and the Terminal subtree
        bool okDisabled;
        const char16_t* title;
    };
    const Case cases[] = {
        {u"SSH2", 0, true, false, u"Session Options - Host"},
        {u"Raw", 0, false, false, u"Session Options - Host"},
        {u"SSH2", kSessionOptionsModeReadOnly, true, true, u"Session Options - Host (Read Only)"},
        {u"Telnet", kSessionOptionsModeMultiple, true, false, u"Session Options - multiple"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(ToUtf8(test.protocol));
        const YRefPtr<ISessionConfig> session = StoredSession(test.protocol);
        bool keywords = false;
        SessionOptionsDialogBase dialog(nullptr, session.get(), test.mode, false, false, 0, false,
                                        0, false, keywords, ui::kGuiProduct, nullptr);
        ASSERT_TRUE(dialog.OnInitDialog());
        EXPECT_EQ(dialog.GetTitle(), test.title);
        EXPECT_EQ(Shows(dialog, u"Connection\\Logon Actions"), test.terminalPages);
        EXPECT_EQ(Shows(dialog, u"Terminal\\Emulation\\Advanced"), test.terminalPages);
        EXPECT_EQ(dialog.IsOkButtonDisabled(), test.okDisabled);
        EXPECT_EQ(dialog.IsReadOnlyPromptPending(), test.okDisabled);
        // A product without transfer protocols: one protocol combo box, no File Transfer pages,
        // and the ANSI Color page only when the application-wide option asks for it.
        EXPECT_EQ(dialog.GetConnectPage().GetTemplateId(), SessionConnectPage::kOneKindTemplateId);
        EXPECT_FALSE(Shows(dialog, u"File Transfer"));
        EXPECT_FALSE(Shows(dialog, u"Terminal\\Appearance\\ANSI Color"));
    }
}

TEST_F(SessionOptionsTest, ChangingTheProtocolMovesThePagesOrIsRefused) {
    ASSERT_TRUE(loaded_);
    const YRefPtr<ISessionConfig> session = StoredSession(u"SSH2");
    bool keywords = false;
    SessionOptionsDialogBase dialog(nullptr, session.get(), 0, false, false, 0, false, 0, false,
                                    keywords, ui::kGuiProduct, nullptr);
    ASSERT_TRUE(dialog.OnInitDialog());
    SessionConnectPage& connect = dialog.GetConnectPage();
    EXPECT_TRUE(connect.OnTerminalProtocolChanged(u"Raw"));
    EXPECT_FALSE(Shows(dialog, u"Terminal"));
    EXPECT_EQ(session->GetProtocolName(), u"Raw");
    EXPECT_FALSE(connect.OnTerminalProtocolChanged(u"Carrier Pigeon"));
    EXPECT_EQ(connect.terminalProtocol, u"Raw");
    ASSERT_EQ(recorder_->messages.size(), 1u);
    EXPECT_NE(recorder_->messages[0].find(u"Carrier Pigeon"), YUnicodeString::npos);
    EXPECT_TRUE(connect.OnTerminalProtocolChanged(u"Telnet"));
    EXPECT_TRUE(Shows(dialog, u"Terminal\\Log File"));
}

// A protocol module's page set: one page named after the protocol below the Connection page.
class NamedProtocolPages : public IProtocolPages {
public:
    NamedProtocolPages(const YUnicodeString& name, YPropertyTreePage& connect)
        : page_(0, name + u" pages") {
        connect.AddPage(&page_);
    }
    void Show(YPropertyTreeDialog& dialog, ISessionConfig&) override { dialog.ShowPage(&page_); }
    void Hide(YPropertyTreeDialog& dialog) override { dialog.HidePage(&page_); }

private:
    YPropertyTreePage page_;
};

IProtocolPages* CreateNamedPages(const ConnectProtocolEntry& entry, YPropertyTreeDialog&, int,
                                 ISessionConfig&, int, YPropertyTreePage& connect) {
    return new NamedProtocolPages(entry.name, connect);
}

// The protocols of both products in the table.
bool LoadBothKinds() {
    const YAppFnTable table{LoadConnectProtocolModule, nullptr, nullptr};
    bool fips = false;
    YReportMessageParams report;
    return LoadSingleProductConnectionProtocolDlls(table, kProductQuillfile,
                                                   GetDefaultConnectModuleFolder(), fips, report);
}

// The page factories the modules filled, put back once a test is done (the table outlives it).
std::vector<std::pair<ConnectProtocolEntry*, decltype(ConnectProtocolEntry::functions.createPages)>>
    replacedPageFactories;

void RestorePageFactories() {
    for (const auto& [entry, factory] : replacedPageFactories) {
        entry->functions.createPages = factory;
    }
    replacedPageFactories.clear();
}

// Both kinds, the modules of SSH2, Telnet and SFTP offering named pages.
bool LoadBothKindsWithPages() {
    if (!LoadBothKinds()) {
        return false;
    }
    for (const char16_t* name : {u"SSH2", u"Telnet", u"SFTP"}) {
        // The module's entry function fills the slot; here the test does.
        auto* entry = const_cast<ConnectProtocolEntry*>(GetConnectProtocolTable().Find(name));
        replacedPageFactories.emplace_back(entry, entry->functions.createPages);
        entry->functions.createPages = CreateNamedPages;
    }
    return true;
}

std::vector<YUnicodeString> ProtocolPagesShown(const YPropertyTreeDialog& dialog) {
    std::vector<YUnicodeString> shown;
    for (const YUnicodeString& path : ShownPaths(dialog)) {
        if (path.ends_with(u" pages")) {
            shown.push_back(path.substr(std::u16string_view(u"Connection\\").size()));
        }
    }
    return shown;
}

TEST_F(SessionOptionsTest, ProtocolPageSetsFollowBothSidesProtocols) {
    ASSERT_TRUE(loaded_);
    ASSERT_TRUE(LoadBothKindsWithPages());
    using Names = std::vector<YUnicodeString>;
    struct Case {
        const char16_t* terminal;
        const char16_t* transfer;
        Names pages;
        bool terminalPages;
        bool fileTransfer;
        bool transferComboEnabled;
    };
    const Case cases[] = {
        {u"SSH2", u"SFTP", {u"SSH2 pages"}, true, true, true},
        {u"Telnet", u"SFTP", {u"Telnet pages", u"SFTP pages"}, true, true, true},
        {u"Serial", u"SFTP", {}, true, true, false},
        {u"None", u"SFTP", {u"SFTP pages"}, false, true, true},
        {u"Telnet", u"None", {u"Telnet pages"}, true, false, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(ToUtf8(YUnicodeString(test.terminal) + u"+" + test.transfer));
        const YRefPtr<ISessionConfig> session = StoredSession(test.terminal);
        session->SetTransferProtocolName(test.transfer);
        bool keywords = false;
        SessionOptionsDialogBase dialog(nullptr, session.get(), 0, false, false, 0, false, 0, false,
                                        keywords, kProductQuillterm, nullptr);
        ASSERT_TRUE(dialog.OnInitDialog());
        EXPECT_EQ(dialog.GetConnectPage().GetTemplateId(),
                  SessionConnectPage::kBothKindsTemplateId);
        EXPECT_EQ(ProtocolPagesShown(dialog), test.pages);
        EXPECT_EQ(Shows(dialog, u"Terminal"), test.terminalPages);
        EXPECT_EQ(Shows(dialog, u"File Transfer\\FTP/SFTP"), test.fileTransfer);
        EXPECT_EQ(dialog.GetConnectPage().IsTransferComboEnabled(), test.transferComboEnabled);
    }

    // Changing sides: the other side's pages follow the rule as well.
    const YRefPtr<ISessionConfig> session = StoredSession(u"Telnet");
    session->SetTransferProtocolName(u"SFTP");
    bool keywords = false;
    SessionOptionsDialogBase dialog(nullptr, session.get(), 0, false, false, 0, false, 0, false,
                                    keywords, kProductQuillterm, nullptr);
    ASSERT_TRUE(dialog.OnInitDialog());
    SessionConnectPage& connect = dialog.GetConnectPage();
    ASSERT_TRUE(connect.OnTerminalProtocolChanged(u"SSH2"));
    EXPECT_EQ(ProtocolPagesShown(dialog), Names{u"SSH2 pages"});
    ASSERT_TRUE(connect.OnTransferProtocolChanged(u"None"));
    EXPECT_FALSE(Shows(dialog, u"File Transfer"));
    ASSERT_TRUE(connect.OnTerminalProtocolChanged(u"None"));
    EXPECT_EQ(ProtocolPagesShown(dialog), Names{});
    YReportMessageParams report;
    int field = 0;
    EXPECT_FALSE(connect.Validate(report, field));
    EXPECT_EQ(report.GetMessageId(), msg::BothProtocolsNone);
    EXPECT_EQ(field, SessionConnectPage::kTerminalField);
    // The logon actions stay below the protocol pages made since the dialog opened.
    const std::vector<YPropertyTreePage*>& below = connect.GetChildren();
    EXPECT_EQ(below.back(), &dialog.GetLogonScriptsPage());
}

TEST_F(SessionOptionsTest, ReadOnlyPromptComesOnceTheWindowShows) {
    ASSERT_TRUE(loaded_);
    const YRefPtr<ISessionConfig> session = StoredSession(u"SSH2");
    bool okEnabled = true;
    std::size_t messagesWhenShown = 99;
    WhenModalShows([&](QWidget& window) {
        LetEventsRun();
        okEnabled = window.findChild<QAbstractButton*>(QStringLiteral("YID_OK"))->isEnabled();
        messagesWhenShown = recorder_->messages.size();
        // Every page can be read, none edited: no field of any page takes input.
        auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("pages"));
        for (QTreeWidgetItemIterator item(tree); *item != nullptr; ++item) {
            tree->setCurrentItem(*item);
            LetEventsRun(10);
            auto* page =
                window.findChild<QStackedWidget*>(QStringLiteral("pageArea"))->currentWidget();
            for (const QWidget* field : page->findChildren<QWidget*>()) {
                const bool input = qobject_cast<const QAbstractButton*>(field) != nullptr ||
                                   qobject_cast<const QLineEdit*>(field) != nullptr ||
                                   qobject_cast<const QComboBox*>(field) != nullptr ||
                                   qobject_cast<const QSpinBox*>(field) != nullptr;
                EXPECT_FALSE(input && field->isEnabled())
                    << (*item)->text(0).toStdString() << ": " << field->metaObject()->className()
                    << " " << field->objectName().toStdString();
            }
        }
        Press(window, "YID_OK");  // refused while read-only
        LetEventsRun();
        EXPECT_TRUE(window.isVisible());
        Press(window, "YID_CANCEL");
    });
    EXPECT_EQ(RunDialog(*session, ui::kGuiProduct, nullptr, kSessionOptionsModeReadOnly),
              YID_CANCEL);
    EXPECT_FALSE(okEnabled);
    ASSERT_EQ(messagesWhenShown, 1u);
    EXPECT_EQ(recorder_->messages[0], LoadMessageString(msg::SessionOptionsLocked));
}

QWidget* PageWidget(QWidget& window) {
    return window.findChild<QStackedWidget*>(QStringLiteral("pageArea"))->currentWidget();
}

void ClickPage(QWidget& window, const QString& name) {
    auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("pages"));
    const auto items = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_FALSE(items.isEmpty()) << name.toStdString();
    tree->scrollToItem(items.front());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(items.front()).center());
}

void Type(QWidget& window, const char* field, const QString& text) {
    auto* edit = PageWidget(window)->findChild<QLineEdit*>(QString::fromLatin1(field));
    ASSERT_NE(edit, nullptr) << field;
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void Tick(QWidget& window, std::uint32_t label) {
    const QString text = QString::fromStdU16String(LoadMessageString(label));
    for (QAbstractButton* box : PageWidget(window)->findChildren<QAbstractButton*>()) {
        if (box->text() == text) {
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
            return;
        }
    }
    ADD_FAILURE() << "no check box " << text.toStdString();
}

// Acts on the modal window that shows after window (the question that follows a dialog).
void WhenNextModalShows(QWidget* window, std::function<void(QWidget&)> act, int pollsLeft = 300) {
    QTimer::singleShot(10, [window, act, pollsLeft] {
        QWidget* next = QApplication::activeModalWidget();
        if (next != nullptr && next != window && next->isVisible()) {
            act(*next);
        } else if (pollsLeft > 0) {
            WhenNextModalShows(window, act, pollsLeft - 1);
        }
    });
}

// Acts on the modal window that shows holding a widget named child (a dialog that follows another
// one closing, when the window below is briefly the active one again).
void WhenModalWithChildShows(const char* child, std::function<void(QWidget&)> act,
                             int pollsLeft = 300) {
    QTimer::singleShot(10, [child, act, pollsLeft] {
        QWidget* next = QApplication::activeModalWidget();
        if (next != nullptr && next->isVisible() &&
            next->findChild<QWidget*>(QLatin1String(child)) != nullptr) {
            act(*next);
        } else if (pollsLeft > 0) {
            WhenModalWithChildShows(child, act, pollsLeft - 1);
        }
    });
}

// The pages made from value rows bind each kind of field the same way: one case of each kind
// (a check box, a number, a text, a choice, a font, a margin) stands for every row of that kind.
TEST_F(SessionOptionsTest, EditsInTheWidgetsLandInTheSessionOnOkOnly) {
    ASSERT_TRUE(loaded_);
    struct Case {
        const char* name;
        std::function<void(QWidget&)> edit;
        std::function<bool(SessionConfig&)> landed;
    };
    const Case cases[] = {
        {"name, trimmed", [](QWidget& w) { Type(w, "field1", QStringLiteral("  Jump ")); },
         [](SessionConfig& s) { return s.GetPath() == u"Work\\Jump"; }},
        {"log file and midnight",
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("Log File"));
             Type(w, "field1", QStringLiteral("/logs/%H-%D.log"));
             Tick(w, msg::LogMidnightLabel);
         },
         [](SessionConfig& s) {
             return s.logFilename.Get() == u"/logs/%H-%D.log" && s.newLogFileAtMidnight;
         }},
        {"automate logon, a pair added through buttons in the message table's words",
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("Logon Actions"));
             Tick(w, msg::LogonAutomateLabel);
             WhenNextModalShows(&w, [](QWidget& pair) {
                 for (const auto& [name, text] : {std::pair{"YID_OK", msg::ButtonOk},
                                                  std::pair{"YID_CANCEL", msg::ButtonCancel}}) {
                     auto* button = pair.findChild<QAbstractButton*>(QLatin1String(name));
                     ASSERT_NE(button, nullptr) << name;
                     EXPECT_EQ(button->text(), QString::fromStdU16String(LoadMessageString(text)));
                 }
                 QTest::keyClicks(pair.findChild<QLineEdit*>(QStringLiteral("expect")),
                                  QStringLiteral("login:"));
                 Press(pair, "YID_OK");
             });
             const QString add = QString::fromStdU16String(LoadMessageString(msg::ListAddButton));
             for (QAbstractButton* button : PageWidget(w)->findChildren<QAbstractButton*>()) {
                 if (button->text() == add) {
                     button->click();
                 }
             }
             auto* list = PageWidget(w)->findChild<QTreeWidget*>();
             ASSERT_NE(list, nullptr);
             EXPECT_FALSE(list->findItems(QStringLiteral("login:"), Qt::MatchExactly).isEmpty());
         },
         [](SessionConfig& s) { return s.useLoginScript.Get(); }},
        {"rows",
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("Emulation"));
             auto* rows = PageWidget(w)->findChild<QSpinBox*>(QStringLiteral("field4"));
             ASSERT_NE(rows, nullptr);
             rows->selectAll();
             QTest::keyClicks(rows, QStringLiteral("40"));
         },
         [](SessionConfig& s) { return s.terminalConfig.rows.Get() == 40; }},
        {"protocol, its pages leaving the tree",
         [](QWidget& w) {
             auto* protocol = PageWidget(w)->findChild<QComboBox*>(QStringLiteral("field2"));
             ASSERT_NE(protocol, nullptr);
             protocol->setCurrentIndex(protocol->findText(QStringLiteral("Raw")));
             LetEventsRun();
             auto* tree = w.findChild<QTreeWidget*>(QStringLiteral("pages"));
             EXPECT_TRUE(tree->findItems(QStringLiteral("Terminal"), Qt::MatchExactly).isEmpty());
         },
         [](SessionConfig& s) { return s.GetProtocolName() == u"Raw"; }},
        {"true color keeps ANSI color and 256 colors on",
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("Emulation"));
             auto* mode = PageWidget(w)->findChild<QComboBox*>(QStringLiteral("field2"));
             ASSERT_NE(mode, nullptr);
             mode->setCurrentIndex(mode->findText(QStringLiteral("True color")));
         },
         [](SessionConfig& s) {
             const TerminalConfig& t = s.terminalConfig;
             return t.ansiColor && t.enableXterm256Color && t.enableXtermTruecolor;
         }},
        {"window position from the right edge",
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("Window"));
             Tick(w, msg::WindowUsePositionLabel);
             auto* x = PageWidget(w)->findChild<QSpinBox*>(QStringLiteral("field11"));
             ASSERT_NE(x, nullptr);
             x->selectAll();
             QTest::keyClicks(x, QStringLiteral("120"));
             auto* from = PageWidget(w)->findChild<QComboBox*>(QStringLiteral("field12"));
             ASSERT_NE(from, nullptr);
             from->setCurrentIndex(from->findText(QStringLiteral("Right edge")));
         },
         [](SessionConfig& s) {
             const TerminalConfig& t = s.terminalConfig;
             return t.usePosition && t.xPosition == 120 && !t.xPositionRelativeLeft;
         }},
        {"the session's own printer",
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("Printing"));
             Type(w, "field2", QStringLiteral("Office"));
         },
         [](SessionConfig& s) { return s.printerConfig.printerName.Get() == u"Office"; }},
        {"another color scheme; the default one is shown by its name",
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("Appearance"));
             auto* scheme = PageWidget(w)->findChild<QComboBox*>(QStringLiteral("field1"));
             ASSERT_NE(scheme, nullptr);
             EXPECT_EQ(scheme->currentText().toStdU16String(), GetDefaultColorSchemeName());
             ASSERT_GT(scheme->count(), 1);
             scheme->setCurrentIndex(scheme->currentIndex() == 0 ? 1 : 0);
         },
         [](SessionConfig& s) { return !s.terminalConfig.colorScheme.Get().empty(); }},
        {"host and port on the protocol module's page",
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("SSH2"));
             Type(w, "field1", QStringLiteral("build.example.net"));
             auto* port = PageWidget(w)->findChild<QSpinBox*>(QStringLiteral("field2"));
             ASSERT_NE(port, nullptr);
             EXPECT_EQ(port->value(), 22);
             port->selectAll();
             QTest::keyClicks(port, QStringLiteral("2222"));
         },
         [](SessionConfig& s) {
             return s.remoteHostConfig.hostname.Get() == u"build.example.net" &&
                    s.GetTerminalConnectConfig()->GetPort() == 2222;
         }},
        {"whole-word matching, written to the session's keyword list",
         [](QWidget& w) {
             auto* tree = w.findChild<QTreeWidget*>(QStringLiteral("pages"));
             const auto keywords =
                 tree->findItems(QStringLiteral("Keyword Highlighting"), Qt::MatchRecursive);
             ASSERT_EQ(keywords.size(), 1);
             tree->setCurrentItem(keywords.front()->child(0));
             LetEventsRun();
             auto* style = PageWidget(w)->findChild<QComboBox*>(QStringLiteral("field4"));
             ASSERT_NE(style, nullptr);
             style->setCurrentIndex(style->findText(QStringLiteral("Whole words")));
         },
         [](SessionConfig& s) {
             YReportMessageParams report;
             const YRefPtr<HighlightConfig> list = OpenKeywordList(s.keywordSet.Get(), report);
             return list && !list->GetRegexLineMode();
         }},
        {"the terminal font chosen in the font chooser",
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("Appearance"));
             WhenNextModalShows(&w, [](QWidget& chooser) {
                 auto* fonts = qobject_cast<QFontDialog*>(&chooser);
                 ASSERT_NE(fonts, nullptr);
                 fonts->setCurrentFont(QFont(QStringLiteral("DejaVu Sans Mono"), 12));
                 fonts->accept();
             });
             auto* font = PageWidget(w)->findChild<QAbstractButton*>(QStringLiteral("field9"));
             ASSERT_NE(font, nullptr);
             font->click();
             EXPECT_EQ(font->text(), QStringLiteral("DejaVu Sans Mono, 12 pt"));
         },
         [](SessionConfig& s) {
             const YLogFont& font = s.terminalConfig.normalFont.Get();
             return font.GetFaceName() == u"DejaVu Sans Mono" && font.height == -16;
         }},
        {"page margins in inches, to the thousandth",
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("Printing"));
             for (const auto& [field, text] : {std::pair{"field13", "0.75"}, {"field16", "1.2"}}) {
                 auto* margin =
                     PageWidget(w)->findChild<QDoubleSpinBox*>(QString::fromLatin1(field));
                 ASSERT_NE(margin, nullptr) << field;
                 margin->selectAll();
                 QTest::keyClicks(margin, QString::fromLatin1(text));
             }
         },
         [](SessionConfig& s) {
             const YMarginData& margins = s.printerConfig.pageMargins.Get();
             return margins.left == 0.75 && margins.right == 0.5 && margins.top == 0.5 &&
                    margins.bottom == 1.2;
         }},
        {"Shift+F5 pressed into Map Key, mapped to a VT key in Map Selected Key",
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("Mapped Keys"));
             WhenNextModalShows(&w, [](QWidget& capture) {
                 QTest::keyPress(&capture, Qt::Key_Shift, Qt::ShiftModifier);
                 LetEventsRun();
                 EXPECT_TRUE(capture.isVisible());  // Shift alone keeps it waiting
                 WhenModalWithChildShows("functionTypes", [](QWidget& selected) {
                     EXPECT_EQ(selected.findChild<QLabel*>(QStringLiteral("combination"))->text(),
                               QStringLiteral("Shift-VK_F5"));
                     selected.findChild<QComboBox*>(QStringLiteral("functionTypes"))
                         ->setCurrentIndex(SelectedKeyDialogBase::kVtRow);
                     auto* functions = selected.findChild<QComboBox*>(QStringLiteral("functions"));
                     ASSERT_NE(functions, nullptr);
                     ASSERT_TRUE(functions->isVisible());
                     functions->setCurrentIndex(
                         functions->findText(QStringLiteral("VT_F15 (HELP)")));
                     Press(selected, "YID_OK");
                 });
                 QTest::keyClick(&capture, Qt::Key_F5, Qt::ShiftModifier);
             });
             const QString map = QString::fromStdU16String(LoadMessageString(msg::MapAKeyButton));
             for (QAbstractButton* button : PageWidget(w)->findChildren<QAbstractButton*>()) {
                 if (button->text() == map) {
                     button->click();
                 }
             }
             auto* list = PageWidget(w)->findChild<QTreeWidget*>();
             ASSERT_NE(list, nullptr);
             EXPECT_EQ(list->findItems(QStringLiteral("Shift-VK_F5"), Qt::MatchExactly).size(), 1);
         },
         [](SessionConfig& s) {
             return s.terminalConfig.keymap.GetFunctionCode(0x74 | kKeyShift) ==
                    FunctionNameToCode(u"VT_F15");
         }},
    };
    {
        // The keyword list new sessions name, stored, so its match style can be edited.
        const auto fresh = YRefPtr<ISessionConfig>::Adopt(new SessionConfig);
        fresh->Load(nullptr);
        const YRefPtr<HighlightConfig> list = CreateHighlightConfig();
        YReportMessageParams report;
        ASSERT_TRUE(
            SaveKeywordList(static_cast<SessionConfig&>(*fresh).keywordSet.Get(), *list, report));
    }
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        for (const int button : {YID_CANCEL, YID_OK}) {
            const YRefPtr<ISessionConfig> session = StoredSession(u"SSH2");
            SessionOptionsDialogBase::m_pageStateMap.Clear();
            WhenModalShows([&](QWidget& window) {
                test.edit(window);
                Press(window, button == YID_OK ? "YID_OK" : "YID_CANCEL");
            });
            EXPECT_EQ(RunDialog(*session), button);
            EXPECT_EQ(test.landed(static_cast<SessionConfig&>(*session)), button == YID_OK);
        }
    }
    EXPECT_TRUE(recorder_->messages.empty());
}

bool Enabled(QWidget& window, const char* field) {
    auto* widget = PageWidget(window)->findChild<QWidget*>(QString::fromLatin1(field));
    EXPECT_NE(widget, nullptr) << field;
    return widget != nullptr && widget->isEnabled();
}

void Choose(QWidget& window, const char* field, const char* text) {
    auto* combo = PageWidget(window)->findChild<QComboBox*>(QString::fromLatin1(field));
    ASSERT_NE(combo, nullptr) << field;
    const int index = combo->findText(QString::fromLatin1(text));
    ASSERT_GE(index, 0) << text;
    combo->setCurrentIndex(index);
    LetEventsRun();
}

// Pages built while the session had one protocol (or emulation) show the choice made later on
// another page.
TEST_F(SessionOptionsTest, ProtocolAndEmulationChoicesRefreshThePagesThatDependOnThem) {
    ASSERT_TRUE(loaded_);
    ASSERT_TRUE(LoadBothKinds());
    const YRefPtr<ISessionConfig> session = StoredSession(u"Telnet");
    session->SetTransferProtocolName(u"FTP");
    struct Step {
        const char* name;
        const char* page;
        const char* field;
        bool enabled;
        std::function<void(QWidget&)> before;  // on the Connection or Emulation page
    };
    const auto onConnection = [](const char* field, const char* protocol) {
        return [=](QWidget& w) {
            ClickPage(w, QStringLiteral("Connection"));
            Choose(w, field, protocol);
        };
    };
    const Step steps[] = {
        {"FTP reads listings by the server's system", "FTP/SFTP", "field1", true, nullptr},
        {"FTP sets no modes", "FTP/SFTP", "field4", false, nullptr},
        {"SFTP lists in structured entries", "FTP/SFTP", "field1", false,
         onConnection("field3", "SFTP")},
        {"nor in local time", "FTP/SFTP", "field2", false, nullptr},
        {"SFTP creates files with a mode", "FTP/SFTP", "field4", true, nullptr},
        {"Telnet's logon may wait for a carriage return", "Logon Actions", "initialReturn", true,
         nullptr},
        {"SSH2 logs on in the protocol", "Logon Actions", "initialReturn", false,
         onConnection("field2", "SSH2")},
        {"VT100 swaps Backspace and Delete", "Mapped Keys", "mapBackspace", true, nullptr},
        {"TN3270 chosen but not yet stored does not", "Mapped Keys", "mapDelete", false,
         [](QWidget& w) {
             ClickPage(w, QStringLiteral("Emulation"));
             Choose(w, "field1", "TN3270");
         }},
    };
    WhenModalShows([&](QWidget& window) {
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            if (step.before) {
                step.before(window);
            }
            ClickPage(window, QString::fromLatin1(step.page));
            LetEventsRun(10);
            EXPECT_EQ(Enabled(window, step.field), step.enabled);
        }
        Press(window, "YID_CANCEL");
    });
    EXPECT_EQ(RunDialog(*session, kProductQuillterm), YID_CANCEL);
    EXPECT_TRUE(recorder_->messages.empty());
}

// The Windows key and AltGr, held while a key is pressed into Map Key, are named as key maps
// name them: the Windows modifier, and Ctrl with Alt.
TEST_F(SessionOptionsTest, MapKeyTakesTheWindowsKeyAndAltGrAsKeyMapsNameThem) {
    struct Case {
        const char* name;
        Qt::Key held;
        Qt::KeyboardModifiers modifiers;
        Qt::Key key;
        unsigned scanCode;
        unsigned captured;
    };
    const Case cases[] = {
        {"Windows+F5", Qt::Key_Super_L, Qt::MetaModifier, Qt::Key_F5, 0x3F, kKeyWindows},
        {"AltGr+E", Qt::Key_AltGr, Qt::NoModifier, Qt::Key_E, 0x12, kKeyCtrl | kKeyAlt},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        bool waited = false;
        WhenModalShows([&](QWidget& capture) {
            // QTest types only keys that have a character; these are sent as the window would.
            QKeyEvent press(QEvent::KeyPress, test.held, test.modifiers);
            QApplication::sendEvent(&capture, &press);
            LetEventsRun();
            waited = capture.isVisible();
            QTest::keyClick(&capture, test.key, test.modifiers);
        });
        unsigned scanCode = 0;
        unsigned modifiers = 0;
        EXPECT_TRUE(LaunchCaptureKeyDialog(scanCode, modifiers, nullptr));
        EXPECT_TRUE(waited);
        EXPECT_EQ(scanCode, test.scanCode);
        EXPECT_EQ(modifiers, test.captured);
    }
}

TEST_F(SessionOptionsTest, AnsiColorPickedIntoTheSessionsOwnPaletteOnOkOnly) {
    ASSERT_TRUE(loaded_);
    // The page shows once the application lets sessions have palettes of their own.
    const YRefPtr<GlobalConfig> global = GetGlobalConfig();
    ASSERT_TRUE(global);
    global->hideSessionAnsiColorPage.Set(false);
    for (const int button : {YID_CANCEL, YID_OK}) {
        const YRefPtr<ISessionConfig> session = StoredSession(u"SSH2");
        SessionOptionsDialogBase::m_pageStateMap.Clear();
        WhenModalShows([&](QWidget& w) {
            ClickPage(w, QStringLiteral("ANSI Color"));
            WhenNextModalShows(&w, [](QWidget& chooser) {
                auto* colors = qobject_cast<QColorDialog*>(&chooser);
                ASSERT_NE(colors, nullptr);
                colors->setCurrentColor(QColor(0x12, 0x34, 0x56));
                colors->accept();
            });
            // Black, its bold form, red, bold red: each bold color follows its normal one.
            auto* boldRed = PageWidget(w)->findChild<QAbstractButton*>(QStringLiteral("field11"));
            ASSERT_NE(boldRed, nullptr);
            EXPECT_EQ(boldRed->text(), QStringLiteral("#FF0000"));
            boldRed->click();
            EXPECT_EQ(boldRed->text(), QStringLiteral("#123456"));
            Press(w, button == YID_OK ? "YID_OK" : "YID_CANCEL");
        });
        EXPECT_EQ(RunDialog(*session, ui::kGuiProduct, global.get()), button);
        // Sixteen colors of red, green, blue and a zero; the untouched ones are the
        // application's palette, which the session starts from.
        std::vector<std::uint8_t> expected;
        if (button == YID_OK) {
            expected.assign(64, 0);
            expected[4] = 0xA0;  // red
            expected[36] = 0x12;
            expected[37] = 0x34;
            expected[38] = 0x56;
        }
        const auto& stored =
            static_cast<SessionConfig&>(*session).terminalConfig.ansiColorRgb.Get();
        ASSERT_EQ(stored.size(), expected.size());
        if (!expected.empty()) {
            EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + 8, expected.begin()));
            EXPECT_TRUE(
                std::equal(stored.begin() + 36, stored.begin() + 40, expected.begin() + 36));
        }
    }
}

TEST_F(SessionOptionsTest, RefusedFieldsKeepTheDialogOpenAndStoreNothing) {
    ASSERT_TRUE(loaded_);
    struct Case {
        const char* logFile;
        bool midnight;
        std::uint32_t message;
    };
    const Case cases[] = {
        {"/logs/a:b.log", false, msg::LogFileNameIllegalCharacter},
        {"/logs/host.log", true, msg::LogFileNameNeedsDate},
        {"/logs/%d.log", true, msg::LogFileNameNeedsDate},  // the day is "%D", letter case counts
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.logFile);
        const YRefPtr<ISessionConfig> session = StoredSession(u"SSH2");
        recorder_->messages.clear();
        WhenModalShows([&](QWidget& window) {
            ClickPage(window, QStringLiteral("Log File"));
            Type(window, "field1", QString::fromLatin1(test.logFile));
            if (test.midnight) {
                Tick(window, msg::LogMidnightLabel);
            }
            Press(window, "YID_OK");
            LetEventsRun();
            EXPECT_TRUE(window.isVisible());
            EXPECT_TRUE(PageWidget(window)->findChild<QLineEdit*>("field1")->hasFocus());
            Press(window, "YID_CANCEL");
        });
        EXPECT_EQ(RunDialog(*session), YID_CANCEL);
        ASSERT_EQ(recorder_->messages.size(), 1u);
        YReportMessageParams expected(test.message);
        expected.AddString(u":");
        EXPECT_EQ(recorder_->messages[0], expected.GetTextTrimmed());
        EXPECT_TRUE(static_cast<SessionConfig&>(*session).logFilename.Get().empty());
        EXPECT_FALSE(session->IsModified());
    }
}

// Controls of one page that share a mnemonic letter ("&Host" and "&Hide"): Alt with that letter
// reaches only one of them. Letters compare as the keyboard types them, without regard to case.
std::vector<std::string> MnemonicClashes(const QWidget& page) {
    std::map<QChar, QString> owners;
    std::vector<std::string> clashes;
    const auto visit = [&](const QString& text) {
        for (qsizetype i = text.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < text.size();
             i = text.indexOf(QLatin1Char('&'), i + 2)) {
            if (text[i + 1] == QLatin1Char('&')) {
                continue;  // an escaped ampersand
            }
            const QChar letter = text[i + 1].toLower();
            const auto [owner, added] = owners.emplace(letter, text);
            if (!added) {
                clashes.push_back("'" + text.toStdString() + "' and '" +
                                  owner->second.toStdString() + "'");
            }
            return;
        }
    };
    for (const QWidget* widget : page.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&page)) {
            continue;
        }
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            visit(label->text());
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            visit(button->text());
        } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
            visit(group->title());
        }
    }
    return clashes;
}

// Once in English and once in French (Canada), whose texts are longer and carry mnemonics of
// their own.
TEST_F(SessionOptionsTest, EveryPageIsLaidOutWithoutFaults) {
    ASSERT_TRUE(loaded_);
    if (!test::HaveFonts()) {
        GTEST_SKIP() << "no fonts: text widths cannot be judged";
    }
    // Every page at once: both kinds of protocols, and the ANSI Color page asked for.
    ASSERT_TRUE(LoadBothKindsWithPages());
    const YRefPtr<GlobalConfig> global = GetGlobalConfig();
    global->hideSessionAnsiColorPage = false;
    for (const char* locale : {"en_US.UTF-8", "fr_CA.UTF-8"}) {
        SCOPED_TRACE(locale);
        test::ScopedEnvironment environment;
        environment.Set("LC_ALL", locale);
        const YRefPtr<ISessionConfig> session = StoredSession(u"Telnet");
        session->SetTransferProtocolName(u"FTP");
        // Stored numbers beyond the first of their lists, which the choices must still name.
        auto& values = static_cast<SessionConfig&>(*session);
        values.operatingSystem.Set(4);
        values.terminalConfig.resizeMode.Set(2);
        QStringList seen;
        WhenModalShows([&](QWidget& window) {
            auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("pages"));
            for (QTreeWidgetItemIterator item(tree); *item != nullptr; ++item) {
                tree->setCurrentItem(*item);
                LetEventsRun(10);
                const std::string page = (*item)->text(0).toStdString();
                for (const std::string& fault : test::CheckWindowLayout(window)) {
                    ADD_FAILURE() << page << ": " << fault;
                }
                for (const std::string& clash : MnemonicClashes(*PageWidget(window))) {
                    ADD_FAILURE() << page << ": one mnemonic for " << clash;
                }
                // A choice names what it holds: a bare number means a stored value without a
                // name.
                for (const QComboBox* combo : PageWidget(window)->findChildren<QComboBox*>()) {
                    bool number = false;
                    combo->currentText().toUInt(&number);
                    EXPECT_FALSE(number) << page << ": " << combo->currentText().toStdString();
                }
                seen << (*item)->text(0);
            }
            Press(window, "YID_CANCEL");
        });
        EXPECT_EQ(RunDialog(*session, kProductQuillterm, global.get()), YID_CANCEL);
        // Connection, Telnet's pages, FTP's page from its module, Logon Actions, the fourteen
        // Terminal pages and the three File Transfer pages.
        EXPECT_EQ(seen.size(), 21) << seen.join(QLatin1Char(',')).toStdString();
    }
}

TEST_F(SessionOptionsTest, KeyMappingDialogsAreLaidOutWithoutFaults) {
    if (!test::HaveFonts()) {
        GTEST_SKIP() << "no fonts: text widths cannot be judged";
    }
    const YRefPtr<ISessionConfig> session = StoredSession(u"SSH2");
    ProfileKeymap& keymap = static_cast<SessionConfig&>(*session).terminalConfig.keymap;
    WhenModalShows([](QWidget& window) {
        for (const std::string& fault : test::CheckWindowLayout(window)) {
            ADD_FAILURE() << "Map Key: " << fault;
        }
        Press(window, "YID_CANCEL");
    });
    unsigned scanCode = 0;
    unsigned modifiers = 0;
    EXPECT_FALSE(LaunchCaptureKeyDialog(scanCode, modifiers, nullptr));

    // Every function type's controls, on the dialog with its keyboard.
    OnScreenKeyboard keyboard;
    SelectedKeyDialog dialog(nullptr, &keymap, keyboard.FindByScanCode(0x1E, false), kKeyCtrl,
                             nullptr);
    dialog.SetKeyboard(&keyboard);
    WhenModalShows([](QWidget& window) {
        auto* types = window.findChild<QComboBox*>(QStringLiteral("functionTypes"));
        ASSERT_NE(types, nullptr);
        EXPECT_EQ(types->count(), SelectedKeyDialogBase::kRowCount);
        for (int row = 0; row < types->count(); ++row) {
            types->setCurrentIndex(row);
            LetEventsRun(10);
            for (const std::string& fault : test::CheckWindowLayout(window)) {
                ADD_FAILURE() << types->currentText().toStdString() << ": " << fault;
            }
        }
        Press(window, "YID_CANCEL");
    });
    EXPECT_EQ(dialog.DoModal(), YID_CANCEL);
    EXPECT_EQ(keymap.GetSize(), 0u);
}

bool StoredEmacsMode(const YUnicodeString& path) {
    const YRefPtr<ISessionConfig> session = GetSessionDatabaseImpl()->OpenSession(path);
    return session && static_cast<SessionConfig&>(*session).terminalConfig.emacsMode.Get();
}

TEST_F(SessionOptionsTest, RivodeGuiSavesOnOkThroughTheSessionDatabase) {
    ASSERT_TRUE(loaded_);
    (void)StoredSession(u"SSH2");
    ui::GuiOptions options;
    options.command = ui::GuiCommand::Session;
    options.sessionPath = u"Work\\Host";
    options.page = u"Terminal\\Emulation\\Emacs";
    std::string problem;

    WhenModalShows([](QWidget& window) {
        Tick(window, msg::EmacsModeLabel);
        Press(window, "YID_CANCEL");
    });
    EXPECT_EQ(ui::RunSessionOptions(options, problem), 0) << problem;
    EXPECT_FALSE(StoredEmacsMode(u"Work\\Host"));

    WhenModalShows([](QWidget& window) {
        Tick(window, msg::EmacsModeLabel);
        ClickPage(window, QStringLiteral("Connection"));
        Type(window, "field1", QStringLiteral("Jump"));
        Press(window, "YID_OK");
    });
    EXPECT_EQ(ui::RunSessionOptions(options, problem), 0) << problem;
    EXPECT_FALSE(GetSessionDatabaseImpl()->Exists(u"Work\\Host"));
    EXPECT_TRUE(StoredEmacsMode(u"Work\\Jump"));

    options.page = u"No Such Page";
    EXPECT_EQ(ui::RunSessionOptions(options, problem), 1);  // the session is gone
    options.sessionPath = u"Work\\Jump";
    EXPECT_EQ(ui::RunSessionOptions(options, problem), 2);
}

TEST_F(SessionOptionsTest, RivodeGuiMapKeySavesTheCombinationsNewFunction) {
    ASSERT_TRUE(loaded_);
    (void)StoredSession(u"SSH2");
    ui::GuiOptions options;
    options.command = ui::GuiCommand::Session;
    options.sessionPath = u"Work\\Host";
    options.mapKey = u"Shift-Extended-VK_INSERT";
    std::string problem;
    WhenModalShows([](QWidget& window) {
        window.findChild<QComboBox*>(QStringLiteral("functionTypes"))
            ->setCurrentIndex(SelectedKeyDialogBase::kDisableRow);
        Press(window, "YID_OK");
    });
    EXPECT_EQ(ui::RunSessionOptions(options, problem), 0) << problem;
    const YRefPtr<ISessionConfig> stored = GetSessionDatabaseImpl()->OpenSession(u"Work\\Host");
    ASSERT_TRUE(stored);
    EXPECT_EQ(static_cast<SessionConfig&>(*stored).terminalConfig.keymap.GetFunctionCode(
                  0x2D | kKeyShift | kKeyExtended),
              kFunctionDisabled);
    options.mapKey = u"Ctrl-VK_NO_SUCH_KEY";
    EXPECT_EQ(ui::RunSessionOptions(options, problem), 2);
}

TEST_F(SessionOptionsTest, RivodeGuiDefaultAsksWhetherEverySessionTakesTheChange) {
    ASSERT_TRUE(loaded_);
    (void)StoredSession(u"SSH2");
    ui::GuiOptions options;
    options.command = ui::GuiCommand::Default;
    options.page = u"Emacs";
    std::string problem;
    for (const char* answer : {"YID_OK", "YID_CANCEL"}) {
        SCOPED_TRACE(answer);
        WhenModalShows([answer](QWidget& window) {
            Tick(window, msg::EmacsModeLabel);
            WhenNextModalShows(&window, [answer](QWidget& question) { Press(question, answer); });
            Press(window, "YID_OK");
        });
        EXPECT_EQ(ui::RunSessionOptions(options, problem), 0) << problem;
        // The first run turns Emacs mode on for every session, the second off again for the
        // default session only.
        const bool all = std::string_view(answer) == "YID_OK";
        EXPECT_EQ(StoredEmacsMode(YUnicodeString(kDefaultSessionName)), all);
        EXPECT_TRUE(StoredEmacsMode(u"Work\\Host"));
    }
}

}  // namespace
}  // namespace rivode
