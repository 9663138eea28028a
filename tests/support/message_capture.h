// Test helper: collects every message logged while it lives and keeps stderr
// and the log file quiet meanwhile; restores them, and the run flag that
// critical messages clear, afterwards.
#pragma once

#include <string>
#include <vector>

#include "core/message.h"

namespace vorlund::test_support {

class MessageCapture {
 public:
  MessageCapture() : savedPath_(logFilePath()), savedLevel_(stderrLevel()) {
    setLogFilePath("");
    setStderrLevel(-1);
    id_ = addMessagePresenter([this](const LogEntry& e) { entries.push_back(e); });
  }
  ~MessageCapture() {
    removeMessagePresenter(id_);
    setStderrLevel(savedLevel_);
    setLogFilePath(savedPath_);
    setRunFlag(true);
  }
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  bool has(const std::string& function, const std::string& message) const {
    for (const LogEntry& e : entries)
      if (e.function == function && e.message == message) return true;
    return false;
  }

  int count(const std::string& message) const {
    int n = 0;
    for (const LogEntry& e : entries) n += e.message == message ? 1 : 0;
    return n;
  }
  // The one message caught, as "module::function level: message"; how many
  // there were when not exactly one.
  std::string single() const {
    if (entries.size() != 1) return std::to_string(entries.size()) + " messages";
    const LogEntry& e = entries[0];
    static const char* const kLevels[] = {"plain", "warning", "error", "critical"};
    return e.module + "::" + e.function + " " + (e.level >= 0 && e.level < 4 ? kLevels[e.level] : "?") + ": " +
           e.message;
  }
  int countContaining(const std::string& part) const {
    int n = 0;
    for (const LogEntry& e : entries) n += e.message.find(part) != std::string::npos ? 1 : 0;
    return n;
  }

  std::vector<LogEntry> entries;

 private:
  std::string savedPath_;
  int savedLevel_;
  int id_ = 0;
};

}  // namespace vorlund::test_support
