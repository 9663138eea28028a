// Collects the messages logged while it lives, and restores the run flag that
// critical messages clear.
#pragma once

#include <vector>

#include "core/message.h"

namespace vorlund::testing {

class LogCapture {
 public:
  LogCapture() {
    id_ = addMessagePresenter([this](const LogEntry& e) { entries.push_back(e); });
  }
  ~LogCapture() {
    removeMessagePresenter(id_);
    setRunFlag(true);
  }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<LogEntry> entries;

 private:
  int id_ = 0;
};

}  // namespace vorlund::testing
