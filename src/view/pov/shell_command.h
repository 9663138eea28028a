// Runs a short shell script the way a user's command should be run: through
// /bin/sh -c, with the arguments as positional parameters ($1, $2, ...), so
// that no argument is ever parsed as shell text.
#pragma once

#include <string>
#include <vector>

namespace vorlund {

// What a shell reports when it cannot run something.
constexpr int kShellCannotRun = 127;
// A child killed by a signal reports this plus the signal number, as shells do.
constexpr int kShellSignalBase = 128;

// Waits for the script to finish and returns its exit code (0 for success),
// kShellSignalBase + n when a signal ended it, kShellCannotRun when no shell
// could be started.
int runShellScript(const std::string& script, const std::vector<std::string>& args);

}  // namespace vorlund
