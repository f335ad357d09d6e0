#include "Output.h"

#include <cstdio>
#include <iostream>

namespace rivode::cli {

void PrintLine(std::string_view line) {
    std::cout << line << '\n';
}

void PrintJson(const nlohmann::json& document) {
    std::cout << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

void PrintNote(std::string_view message) {
    std::cerr << "rivode: " << message << std::endl;
}

ExitStatus Fail(const CommandFailure& failure) {
    std::cerr << "rivode: " << failure.message << std::endl;
    return failure.status;
}

bool FinishOutput() {
    std::cout.flush();
    return static_cast<bool>(std::cout);
}

std::string ReportText(const YReportMessageParams& report, std::string_view fallback) {
    // A report that holds no failure would read "Success".
    if (!report.IsSuccess()) {
        // Formatting caches the text inside the report, so it needs a report of its own.
        YReportMessageParams copy(report);
        std::string text = ToUtf8(copy.GetTextTrimmed());
        if (!text.empty()) {
            return text;
        }
    }
    if (const int cause = GetSystemErrorCause(report); cause != 0) {
        YReportMessageParams system;
        SetSystemErrorReport(system, cause);
        std::string text = ToUtf8(system.GetTextTrimmed());
        if (!text.empty()) {
            return text;
        }
    }
    if (!fallback.empty()) {
        return std::string(fallback);
    }
    char id[16];
    std::snprintf(id, sizeof id, "0x%08X", static_cast<unsigned>(report.GetMessageId()));
    return std::string("the library gave no reason (message ") + id + ")";
}

}  // namespace rivode::cli
