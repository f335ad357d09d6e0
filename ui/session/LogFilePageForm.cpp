// The Log File page: the file name with its browse button and substitutions, how the log
// starts and what it writes, and the custom data.
#include "ui/session/PageForm.h"
#include "ui/session/PageForms.h"

#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace rivode::ui {

QWidget* BuildLogFilePage(YPropertyTreePage& base, QWidget* parent) {
    auto& page = static_cast<SessionLogFilePage&>(base);
    auto* widget = new QWidget(parent);
    auto* layout = new QVBoxLayout(widget);

    QLineEdit* file = BoundEdit(page.logFilename);
    MarkField(file, SessionLogFilePage::kFileNameField);
    auto* browse = new QPushButton(QStringLiteral("..."));
    browse->setToolTip(MessageText(msg::BrowseLogFileTip));
    browse->setAccessibleName(browse->toolTip());
    QObject::connect(browse, &QPushButton::clicked, file, [&page, file] {
        if (page.OnBrowseLogFile(file->window())) {
            file->setText(ToQ(page.logFilename));
        }
    });
    layout->addWidget(BuddyLabel(MessageText(msg::LogFileNameLabel), file));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file, 1);
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    QStringList substitutions;
    for (const YUnicodeString& line : SessionLogFilePage::GetSubstitutions()) {
        substitutions << ToQ(line);
    }
    auto* hint = new QLabel(MessageText(msg::LogSubstitutionsTitle) + QLatin1Char('\n') +
                            substitutions.join(QLatin1Char('\n')));
    hint->setObjectName(QStringLiteral("substitutions"));
    layout->addWidget(hint);

    auto* options = new QGridLayout;
    options->addWidget(BoundCheck(MessageText(msg::LogPromptLabel), page.logPrompt), 0, 0);
    options->addWidget(
        BoundCheck(MessageText(msg::LogStartOnConnectLabel), page.startLogUponConnect), 1, 0);
    options->addWidget(BoundCheck(MessageText(msg::LogRawLabel), page.rawLog), 2, 0);
    options->addWidget(BoundCheck(MessageText(msg::LogMidnightLabel), page.newLogFileAtMidnight), 0,
                       1);
    options->addWidget(BoundCheck(MessageText(msg::LogTimestampLabel), page.timestampEachLine), 1,
                       1);
    auto* mode = new QGroupBox(MessageText(msg::LogModeTitle));
    auto* overwrite = new QRadioButton(MessageText(msg::LogOverwriteLabel));
    auto* append = new QRadioButton(MessageText(msg::LogAppendLabel));
    (page.appendToFile ? append : overwrite)->setChecked(true);
    QObject::connect(append, &QRadioButton::toggled, append,
                     [&page](bool on) { page.appendToFile = on; });
    auto* modeLayout = new QVBoxLayout(mode);
    modeLayout->addWidget(overwrite);
    modeLayout->addWidget(append);
    options->addWidget(mode, 3, 0);
    auto* trace = new QSpinBox;
    trace->setRange(0, 10);
    trace->setValue(static_cast<int>(page.traceLevel));
    QObject::connect(trace, &QSpinBox::valueChanged, trace,
                     [&page](int value) { page.traceLevel = static_cast<std::uint32_t>(value); });
    auto* traceRow = new QHBoxLayout;
    traceRow->addWidget(BuddyLabel(MessageText(msg::LogTraceLevelLabel), trace));
    traceRow->addWidget(trace);
    traceRow->addStretch();
    options->addLayout(traceRow, 3, 1, Qt::AlignTop);
    layout->addLayout(options);

    auto* custom = new QGroupBox(MessageText(msg::LogCustomDataTitle));
    auto* customForm = new QFormLayout(custom);
    QLineEdit* connect = BoundEdit(page.customConnect);
    QLineEdit* disconnect = BoundEdit(page.customDisconnect);
    QLineEdit* eachLine = BoundEdit(page.customEachLine);
    customForm->addRow(BuddyLabel(MessageText(msg::LogUponConnectLabel), connect), connect);
    customForm->addRow(BuddyLabel(MessageText(msg::LogUponDisconnectLabel), disconnect),
                       disconnect);
    customForm->addRow(BuddyLabel(MessageText(msg::LogEachLineLabel), eachLine), eachLine);
    customForm->addRow(BoundCheck(MessageText(msg::LogOnlyCustomLabel), page.logOnlyCustom));
    layout->addWidget(custom);
    layout->addStretch();
    return widget;
}

}  // namespace rivode::ui
