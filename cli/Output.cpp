#include "cli/Output.h"

#include <iostream>

namespace rivode::cli {

void PrintLine(std::string_view line) {
    std::cout << line << '\n';
}

void PrintJson(const nlohmann::json& document) {
    std::cout << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

ExitStatus Fail(const CommandFailure& failure) {
    std::cerr << "rivode: " << failure.message << std::endl;
    return failure.status;
}

bool FinishOutput() {
    std::cout.flush();
    return static_cast<bool>(std::cout);
}

std::string ReportText(const YReportMessageParams& report) {
    // Formatting caches the text inside the report, so it needs a report of its own.
    YReportMessageParams copy(report);
    return ToUtf8(copy.GetTextTrimmed());
}

}  // namespace rivode::cli
