#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SiblingProducts.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <DavaraZE/YLaunchApp.h>
#include <DavaraZE/YMessageBox.h>

#include <cryptopp/base64.h>
#include <cryptopp/filters.h>

namespace {

// The placeholder the sibling reads as "no usable path".
constexpr char16_t kUnconvertiblePath[] = u"====";

// Paths travel in Base64 so that blanks, quotes and characters outside the system's code page
// survive the command line unchanged.
YUnicodeString EncodeArgument(const YUnicodeString& text) {
    std::string utf8;
    if (!rivode::ToUtf8Strict(text, utf8)) {
        return kUnconvertiblePath;
    }
    std::string encoded;
    CryptoPP::StringSource source(
        utf8, true,
        new CryptoPP::Base64Encoder(new CryptoPP::StringSink(encoded), /*insertLineBreaks=*/false));
    return u"\"" + rivode::FromAscii(encoded) + u"\"";
}

bool Launch(QWidget* parent, int product, const YUnicodeString& executable,
            const YUnicodeString& parameters) {
    if (!executable.empty() && LaunchApp(executable, parameters, 1)) {
        return true;
    }
    YReportMessageParams report(rivode::msg::ProductLaunchFailed);
    report.AddString(GetProductDisplayName(product));
    report.AddString(executable.empty() ? GetSiblingExecutablePath(product) : executable);
    YMessageBox(parent, report, YMB_ICONWARNING);
    return false;
}

}  // namespace

YUnicodeString GetLaunchAppParameters(std::uint32_t flags, const YUnicodeString& configFolder,
                                      const char16_t* sessionPath) {
    YUnicodeString parameters = u"/EncodedArgs /F " + EncodeArgument(configFolder);
    if ((flags & kLaunchOpenInTab) != 0) {
        parameters += u" /T";
    }
    if (sessionPath != nullptr) {
        parameters += u" /S " + EncodeArgument(sessionPath);
    }
    return parameters;
}

bool LaunchTerminalApp(QWidget* parent, const YUnicodeString& parameters) {
    YUnicodeString executable = GetQuilltermPath();
    if (executable.empty()) {
        executable = GetQtmPath();
    }
    return Launch(parent, 3, executable, parameters);
}

bool LaunchFileTransferApp(QWidget* parent, const YUnicodeString& parameters) {
    return Launch(parent, 6, GetQuillfilePath(), parameters);
}

bool LaunchTerminalApp(QWidget* parent, const YUnicodeString& configFolder,
                       const char16_t* sessionPath, bool openInTab) {
    return LaunchTerminalApp(parent, GetLaunchAppParameters(openInTab ? kLaunchOpenInTab : 0,
                                                            configFolder, sessionPath));
}

bool LaunchFileTransferApp(QWidget* parent, const YUnicodeString& configFolder,
                           const char16_t* sessionPath) {
    return LaunchFileTransferApp(parent, GetLaunchAppParameters(0, configFolder, sessionPath));
}
