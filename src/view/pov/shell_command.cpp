#include "view/pov/shell_command.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

namespace vorlund {

namespace {
// $0 of the script: what the shell names in its own error messages.
constexpr const char* kScriptName = "vorlund-pov";
}  // namespace

int runShellScript(const std::string& script, const std::vector<std::string>& args) {
  std::vector<std::string> words = {"/bin/sh", "-c", script, kScriptName};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  pid_t child = 0;
  if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) return kShellCannotRun;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return kShellCannotRun;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return kShellSignalBase + WTERMSIG(status);
  return kShellCannotRun;
}

}  // namespace vorlund
