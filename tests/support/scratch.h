// Test helpers: a scratch folder removed afterwards (optionally the working
// folder meanwhile, for code that writes where it runs), and the
// command-line tool run in-process with its output captured, also from
// inside such a folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli.h"
#include "core/message.h"
#include "core/strutil.h"

namespace vorlund::test_support {

class ScratchDir {
 public:
  explicit ScratchDir(bool enter = false) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? info->name() : "scratch";
    std::replace(name.begin(), name.end(), '/', '_');  // parameterised tests are named "Name/0"
    path = std::filesystem::temp_directory_path() / ("vorlund_" + std::to_string(::getpid()) + "_" + name);
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    if (enter) {
      saved_ = std::filesystem::current_path();
      std::filesystem::current_path(path);
    }
  }
  ~ScratchDir() {
    if (!saved_.empty()) std::filesystem::current_path(saved_);
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string file(const std::string& name) const { return (path / name).string(); }
  std::string write(const std::string& name, const std::string& text) const {
    std::ofstream(file(name), std::ios::binary) << text;
    return file(name);
  }
  static std::string read(const std::string& path) {
    std::string s;
    readWholeFile(path, s);
    return s;
  }

  std::filesystem::path path;

 private:
  std::filesystem::path saved_;
};

// The file without its "# created" line, the only one that depends on when it was written.
inline std::string withoutCreationDate(const std::filesystem::path& path) {
  std::string text;
  if (!readWholeFile(path.string(), text)) return "(unreadable " + path.string() + ")";
  std::istringstream in(text);
  std::string line, kept;
  while (std::getline(in, line))
    if (line.rfind("# created ", 0) != 0) kept += line + '\n';
  return kept;
}

struct ToolRun {
  int code = 0;
  std::string out, err;
};

// Runs `vorlund-cli args...` with standard error's messages silenced.
inline ToolRun runTool(std::vector<std::string> args) {
  args.insert(args.begin(), "vorlund-cli");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int level = stderrLevel();
  setStderrLevel(-1);
  const int code = cli::runCli(static_cast<int>(argv.size()), argv.data(), out, err);
  setStderrLevel(level);
  return {code, out.str(), err.str()};
}

inline std::string exampleFile(const char* name) { return std::string(VORLUND_SOURCE_DIR) + "/examples/" + name; }

// A saved file without its first line (the "# created" date of pools).
inline std::string withoutFirstLine(const std::string& path) {
  const std::string text = ScratchDir::read(path);
  return text.substr(text.find('\n') + 1);
}

// Runs the tool inside a scratch folder (it writes its message log where it
// runs); `prefix` goes before every call's arguments.
struct ScratchRun {
  explicit ScratchRun(std::vector<std::string> prefix = {}) : prefix_(std::move(prefix)) {}
  int run(std::vector<std::string> args) {
    args.insert(args.begin(), prefix_.begin(), prefix_.end());
    const ToolRun r = runTool(std::move(args));
    out.str(r.out);
    err.str(r.err);
    return r.code;
  }
  ScratchDir dir{true};
  std::ostringstream out, err;

 private:
  std::vector<std::string> prefix_;
};

}  // namespace vorlund::test_support
