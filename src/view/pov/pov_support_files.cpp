#include "view/pov/pov_support_files.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "core/durable_file.h"

namespace vorlund {

namespace {
constexpr const char* kIncludeName = "vorlund.inc";
constexpr const char* kIniName = "povray.ini";
constexpr const char* kIniText =
    "; Settings POV-Ray reads when it renders in this folder.\n"
    "; The scenes are written in the language of version 3.7.\n"
    "Version=3.7\n";
}  // namespace

const char* povrayIniText() { return kIniText; }

bool writeFileAtomically(const std::string& path, const std::string& text, bool sync) {
  if (path.empty() || path.back() == '/') return false;
  DurableOptions options;
  options.temp = path + ".part" + std::to_string(getpid());
  options.sync = sync;
  std::string error;
  return replaceFileDurably(path, text, error, options);
}

bool installSupportFiles(const std::string& dir) {
  const std::pair<const char*, const char*> files[] = {{kIncludeName, vorlundIncludeText()}, {kIniName, kIniText}};
  for (const auto& [name, text] : files) {
    const std::string path = dir + name;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) continue;
    if (!writeFileAtomically(path, text)) return false;
  }
  return true;
}

}  // namespace vorlund
