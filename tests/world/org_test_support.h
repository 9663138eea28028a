// Helpers for the creature tests: capturing messages and building bodies.
#pragma once

#include <string>
#include <vector>

#include "core/message.h"

namespace vorlund::test {

// Collects the messages logged while it lives (nothing goes to the log file).
class MessageCapture {
 public:
  MessageCapture() {
    setLogFilePath("");
    id_ = addMessagePresenter([this](const LogEntry& e) { entries.push_back(e); });
  }
  ~MessageCapture() { removeMessagePresenter(id_); }
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  int count(const std::string& message) const {
    int n = 0;
    for (const LogEntry& e : entries)
      if (e.message == message) ++n;
    return n;
  }
  int countContaining(const std::string& part) const {
    int n = 0;
    for (const LogEntry& e : entries)
      if (e.message.find(part) != std::string::npos) ++n;
    return n;
  }

  std::vector<LogEntry> entries;

 private:
  int id_ = 0;
};

}  // namespace vorlund::test
