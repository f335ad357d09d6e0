// The command's two channels: results on stdout, messages on stderr, both UTF-8.
#pragma once

#include "ExitStatus.h"

#include <RivodeRavudaVU/YReportMessageParams.h>

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace rivode::cli {

void PrintLine(std::string_view line);
// One JSON document followed by a line break; text that is not valid UTF-8 becomes U+FFFD.
void PrintJson(const nlohmann::json& document);
// Prints a message that is not a failure (the command goes on) on stderr.
void PrintNote(std::string_view message);
// Prints the failure's message on stderr and returns its exit status.
ExitStatus Fail(const CommandFailure& failure);
// Makes sure every result reached stdout; a full disk or a closed pipe is a failure.
[[nodiscard]] bool FinishOutput();

// The report's text in the user's language, without its final line break. Never empty, so a
// failure always says why: a report without text gives the system's text of its cause, else
// fallback, else a line that names the message the library gave.
std::string ReportText(const YReportMessageParams& report, std::string_view fallback = {});

}  // namespace rivode::cli
