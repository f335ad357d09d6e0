#include <DavaraZE/YAppName.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YUserInterface.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

namespace {

constexpr std::uint32_t kCustomerBit = 0x20000000;

// A report names its own weight: an error gets the error icon unless the caller chose another.
unsigned IconOfSeverity(std::uint32_t id) {
    if (id == 0) {
        return 0;
    }
    if ((id & kCustomerBit) == 0) {
        return YMB_ICONERROR;  // an operating-system error code
    }
    switch (id >> 30) {
        case 3:
            return YMB_ICONERROR;
        case 2:
            return YMB_ICONWARNING;
        case 1:
            return YMB_ICONINFORMATION;
        default:
            return 0;
    }
}

YUnicodeString TextOf(IReportMessageParams& report) {
    const char16_t* text = report.GetText();
    YUnicodeString result = text != nullptr ? YUnicodeString(text) : YUnicodeString();
    while (!result.empty() &&
           (result.back() == u'\n' || result.back() == u'\r' || result.back() == u' ')) {
        result.pop_back();
    }
    return result;
}

int Show(YMessageBoxRequest& request, const char16_t* caption) {
    request.caption = caption != nullptr && *caption != 0 ? YUnicodeString(caption) : YGetAppName();
    return YGetUserInterface()->ShowMessageBox(request);
}

}  // namespace

int YMessageBox(IReportMessageParams& report, unsigned style, const char16_t* caption) {
    return YMessageBox(nullptr, report, style, caption);
}

int YMessageBox(QWidget* parent, IReportMessageParams& report, unsigned style,
                const char16_t* caption) {
    if ((style & YMB_ICONMASK) == 0) {
        style |= IconOfSeverity(report.GetMessageId());
    }
    YMessageBoxRequest request;
    request.parent = parent;
    request.text = TextOf(report);
    request.style = style;
    return Show(request, caption);
}

int YMessageBox(const YUnicodeString& text, unsigned style, const char16_t* caption) {
    return YMessageBox(nullptr, text, style, caption);
}

int YMessageBox(QWidget* parent, const YUnicodeString& text, unsigned style,
                const char16_t* caption) {
    YMessageBoxRequest request;
    request.parent = parent;
    request.text = text;
    request.style = style;
    return Show(request, caption);
}

int YOptionalMessageBox(QWidget* parent, const YUnicodeString& text, unsigned style,
                        const YUnicodeString& checkBoxText, bool& suppressed,
                        const char16_t* caption) {
    if (suppressed) {
        return YMessageBoxDefaultButton(style);
    }
    YMessageBoxRequest request;
    request.parent = parent;
    request.text = text;
    request.style = style;
    request.checkBoxText = checkBoxText;
    request.suppressed = &suppressed;
    return Show(request, caption);
}

std::vector<int> YMessageBoxButtons(unsigned style) {
    switch (style & YMB_TYPEMASK) {
        case YMB_OKCANCEL:
            return {YID_OK, YID_CANCEL};
        case YMB_ABORTRETRYIGNORE:
            return {YID_ABORT, YID_RETRY, YID_IGNORE};
        case YMB_YESNOCANCEL:
            return {YID_YES, YID_NO, YID_CANCEL};
        case YMB_YESNO:
            return {YID_YES, YID_NO};
        case YMB_RETRYCANCEL:
            return {YID_RETRY, YID_CANCEL};
        default:
            return {YID_OK};
    }
}

int YMessageBoxDefaultButton(unsigned style) {
    const std::vector<int> buttons = YMessageBoxButtons(style);
    const std::size_t index = (style & YMB_DEFMASK) >> 8;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

int YMessageBoxSafeAnswer(unsigned style) {
    const std::vector<int> buttons = YMessageBoxButtons(style);
    for (const int safe : {YID_CANCEL, YID_NO, YID_ABORT}) {
        for (const int button : buttons) {
            if (button == safe) {
                return safe;
            }
        }
    }
    return buttons.front();
}
