#include <RivodeRavudaVU/RivodeMessages.h>

#include <DavaraZE/YMessageStrings.h>
#include <DavaraZE/YProgressDialog.h>
#include <DavaraZE/YUserInterface.h>

#include "platform/TerminalStreams.h"

#include <algorithm>
#include <iostream>
#include <istream>
#include <ostream>
#include <string>

namespace {

struct AnswerText {
    int button;
    std::uint32_t id;
    const char16_t* english;
};

constexpr AnswerText kAnswers[] = {
    {YID_OK, rivode::msg::AnswerOk, u"OK"},
    {YID_CANCEL, rivode::msg::AnswerCancel, u"Cancel"},
    {YID_ABORT, rivode::msg::AnswerAbort, u"Abort"},
    {YID_RETRY, rivode::msg::AnswerRetry, u"Retry"},
    {YID_IGNORE, rivode::msg::AnswerIgnore, u"Ignore"},
    {YID_YES, rivode::msg::AnswerYes, u"Yes"},
    {YID_NO, rivode::msg::AnswerNo, u"No"},
};

const AnswerText& AnswerOf(int button) {
    for (const AnswerText& answer : kAnswers) {
        if (answer.button == button) {
            return answer;
        }
    }
    return kAnswers[0];
}

// Labels may carry a mnemonic ampersand meant for buttons; a terminal shows none.
YUnicodeString LabelOf(int button) {
    YUnicodeString label = YLoadMessageString(AnswerOf(button).id, AnswerOf(button).english);
    std::erase(label, u'&');
    return label;
}

bool Matches(std::u16string_view typed, const YUnicodeString& label) {
    if (label.empty()) {
        return false;
    }
    return rivode::EqualsNoCase(typed, label) ||
           (typed.size() == 1 &&
            rivode::EqualsNoCase(typed, std::u16string_view(label).substr(0, 1)));
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t' || text.back() == u'\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// Messages break lines the way files do (CR LF); a terminal wants LF alone.
std::string ForTerminal(const YUnicodeString& text) {
    std::string bytes = rivode::ToUtf8(text);
    std::string result;
    result.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                continue;
            }
            result.push_back('\n');
            continue;
        }
        result.push_back(bytes[i]);
    }
    return result;
}

class ConsoleUserInterface final : public YUserInterface {
public:
    ConsoleUserInterface(std::istream& input, std::ostream& output, bool inputIsTerminal,
                         bool outputIsTerminal)
        : input_(input),
          output_(output),
          inputIsTerminal_(inputIsTerminal),
          outputIsTerminal_(outputIsTerminal) {}

    int ShowMessageBox(const YMessageBoxRequest& request) override {
        output_ << ForTerminal(request.caption) << ": " << ForTerminal(request.text) << '\n';
        const std::vector<int> buttons = YMessageBoxButtons(request.style);
        if (buttons.size() == 1) {
            output_.flush();
            return buttons.front();
        }
        const int answer =
            inputIsTerminal_ ? Ask(request.style) : YMessageBoxSafeAnswer(request.style);
        if (!inputIsTerminal_) {
            // Nobody can answer: show which answer was taken, as if it had been typed.
            output_ << ChoicesText(buttons) << ' ' << rivode::ToUtf8(LabelOf(answer)) << '\n';
        }
        output_.flush();
        return answer;
    }

    int RunProgress(YProgressDialog& progress) override {
        YProgressDialog::State state = progress.GetState();
        while (!state.closed) {
            if (outputIsTerminal_) {
                DrawProgressLine(state);
            }
            state = progress.WaitForChange(state.generation, std::chrono::milliseconds(250));
        }
        if (outputIsTerminal_ && drewProgress_) {
            output_ << "\r\x1b[K" << std::flush;
            drewProgress_ = false;
        }
        return state.result;
    }

private:
    static constexpr int kAttempts = 3;

    std::string ChoicesText(const std::vector<int>& buttons) const {
        std::string text = "(";
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            text += (i == 0 ? "" : "/") + rivode::ToUtf8(LabelOf(buttons[i]));
        }
        return text + ")";
    }

    int Ask(unsigned style) {
        const std::vector<int> buttons = YMessageBoxButtons(style);
        const int defaultButton = YMessageBoxDefaultButton(style);
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            output_ << ChoicesText(buttons) << " [" << rivode::ToUtf8(LabelOf(defaultButton))
                    << "] " << std::flush;
            std::string line;
            if (!std::getline(input_, line)) {
                output_ << '\n';
                break;
            }
            const YUnicodeString typed = rivode::FromUtf8(line);
            const std::u16string_view answer = Trimmed(typed);
            if (answer.empty()) {
                return defaultButton;
            }
            if (const int button = ButtonTyped(buttons, answer); button != 0) {
                return button;
            }
        }
        return YMessageBoxSafeAnswer(style);
    }

    // The user's language first; the English words are always understood too.
    static int ButtonTyped(const std::vector<int>& buttons, std::u16string_view answer) {
        for (const int button : buttons) {
            if (Matches(answer, LabelOf(button))) {
                return button;
            }
        }
        for (const int button : buttons) {
            if (Matches(answer, AnswerOf(button).english)) {
                return button;
            }
        }
        return 0;
    }

    void DrawProgressLine(const YProgressDialog::State& state) {
        YUnicodeString text;
        for (const YUnicodeString& line : state.lines) {
            if (!line.empty()) {
                text = line;
                break;
            }
        }
        std::string shown = ForTerminal(text);
        std::replace(shown.begin(), shown.end(), '\n', ' ');
        if (state.total != 0) {
            const std::uint64_t percent =
                state.done >= state.total ? 100 : state.done * 100 / state.total;
            shown += " " + std::to_string(percent) + "%";
        }
        output_ << "\r\x1b[K" << shown << std::flush;
        drewProgress_ = true;
    }

    std::istream& input_;
    std::ostream& output_;
    bool inputIsTerminal_;
    bool outputIsTerminal_;
    bool drewProgress_ = false;
};

}  // namespace

std::shared_ptr<YUserInterface> YCreateConsoleUserInterface() {
    return YCreateConsoleUserInterface(std::cin, std::cerr,
                                       rivode::platform::IsStandardInputTerminal(),
                                       rivode::platform::IsStandardErrorTerminal());
}

std::shared_ptr<YUserInterface> YCreateConsoleUserInterface(std::istream& input,
                                                            std::ostream& output,
                                                            bool inputIsTerminal,
                                                            bool outputIsTerminal) {
    return std::make_shared<ConsoleUserInterface>(input, output, inputIsTerminal, outputIsTerminal);
}
