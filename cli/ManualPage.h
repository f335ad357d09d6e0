// The manual page rivode(1) in roff (man(7) macros), written from rivode's command table and a
// list of examples, so the page shows every command and option rivode accepts.
#pragma once

#include "CommandTable.h"

#include <string>
#include <vector>

namespace rivode::cli {

struct ManualExample {
    std::string command;      // "rivode keys Sessions"
    std::string explanation;  // may be empty
};

// Example lines as the README shows them: a command, then optionally "# explanation". Blank
// lines are skipped; "scripts/rivode" (the README's way to run rivode from the source tree)
// becomes "rivode".
std::vector<ManualExample> ParseManualExamples(const std::vector<std::string>& lines);

std::string ManualPage(const CommandEntry& root, const std::string& version,
                       const std::vector<ManualExample>& examples);

}  // namespace rivode::cli
