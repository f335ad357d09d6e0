#include "davaraze/qt/MessageBoxWindow.h"

#include "davaraze/qt/QtText.h"

#include <RivodeRavudaVU/RivodeMessages.h>

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

#include <map>

namespace davaraze::qt {
namespace {

struct Answer {
    int id;
    const char* objectName;
    std::uint32_t textId;
    const char16_t* english;
    QMessageBox::ButtonRole role;
};

constexpr Answer kAnswers[] = {
    {YID_OK, "YID_OK", rivode::msg::ButtonOk, u"OK", QMessageBox::AcceptRole},
    {YID_CANCEL, "YID_CANCEL", rivode::msg::ButtonCancel, u"Cancel", QMessageBox::RejectRole},
    {YID_ABORT, "YID_ABORT", rivode::msg::ButtonAbort, u"&Abort", QMessageBox::RejectRole},
    {YID_RETRY, "YID_RETRY", rivode::msg::ButtonRetry, u"&Retry", QMessageBox::AcceptRole},
    {YID_IGNORE, "YID_IGNORE", rivode::msg::ButtonIgnore, u"&Ignore", QMessageBox::AcceptRole},
    {YID_YES, "YID_YES", rivode::msg::ButtonYes, u"&Yes", QMessageBox::YesRole},
    {YID_NO, "YID_NO", rivode::msg::ButtonNo, u"&No", QMessageBox::NoRole},
};

const Answer& AnswerOf(int id) {
    for (const Answer& answer : kAnswers) {
        if (answer.id == id) {
            return answer;
        }
    }
    return kAnswers[0];
}

QMessageBox::Icon IconOf(unsigned style) {
    switch (style & YMB_ICONMASK) {
        case YMB_ICONERROR:
            return QMessageBox::Critical;
        case YMB_ICONQUESTION:
            return QMessageBox::Question;
        case YMB_ICONWARNING:
            return QMessageBox::Warning;
        case YMB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// Escape answers as the window's close button would: Cancel where there is one, the only
// button of a one-button box; a Yes/No question has to be answered.
int EscapeAnswer(const std::vector<int>& buttons) {
    for (const int button : buttons) {
        if (button == YID_CANCEL) {
            return button;
        }
    }
    return buttons.size() == 1 ? buttons.front() : 0;
}

}  // namespace

QString ButtonText(int answer) {
    const Answer& found = AnswerOf(answer);
    return LoadText(found.textId, found.english);
}

QString ButtonObjectName(int answer) {
    return QString::fromLatin1(AnswerOf(answer).objectName);
}

int ShowQtMessageBox(const YMessageBoxRequest& request) {
    QMessageBox box(IconOf(request.style), YToQString(request.caption), YToQString(request.text),
                    QMessageBox::NoButton, request.parent);
    box.setTextFormat(Qt::PlainText);
    const std::vector<int> answers = YMessageBoxButtons(request.style);
    const int escape = EscapeAnswer(answers);
    const int defaultAnswer = YMessageBoxDefaultButton(request.style);
    std::map<const QAbstractButton*, int> answerOfButton;
    for (const int answer : answers) {
        QPushButton* button = box.addButton(ButtonText(answer), AnswerOf(answer).role);
        button->setObjectName(ButtonObjectName(answer));
        answerOfButton[button] = answer;
        if (answer == defaultAnswer) {
            box.setDefaultButton(button);
        }
        if (answer == escape) {
            box.setEscapeButton(button);
        }
    }
    QCheckBox* checkBox = nullptr;
    if (request.suppressed != nullptr) {
        checkBox = new QCheckBox(YToQString(request.checkBoxText), &box);
        checkBox->setObjectName(QStringLiteral("suppress"));
        box.setCheckBox(checkBox);
    }
    box.exec();
    const auto clicked = answerOfButton.find(box.clickedButton());
    const int result =
        clicked != answerOfButton.end() ? clicked->second : YMessageBoxSafeAnswer(request.style);
    // Only an answer given with the box ticked silences the question; the caller stores it.
    if (checkBox != nullptr && checkBox->isChecked()) {
        *request.suppressed = true;
    }
    return result;
}

}  // namespace davaraze::qt
