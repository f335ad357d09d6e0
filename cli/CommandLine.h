// rivode's command line: arguments, help, and the command they choose.
#pragma once

namespace rivode::cli {

// Parses the arguments, runs the chosen command and returns the exit status: 0 done, 1 the
// store failed or what was asked for does not exist, 2 the command line is wrong.
int RunCommandLine(int argc, char** argv);

}  // namespace rivode::cli
