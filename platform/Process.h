// Starting other programs.
#pragma once

#include <string>
#include <vector>

#pragma GCC visibility push(default)

namespace rivode::platform {

// Starts executable with the arguments, detached from this process (its exit is reaped by the
// system, not by the caller). Returns 0 or the errno value of the failure; a program that
// cannot be executed is reported as a failure, not as a child that exits at once.
int StartProcess(const std::string& executable, const std::vector<std::string>& arguments);

}  // namespace rivode::platform

#pragma GCC visibility pop
