// Silences the message log while a fuzz input runs (the code under test
// reports every bad input) and restores it, and the run flag that critical
// messages clear, afterwards.
#pragma once

#include <string>

#include "core/message.h"

class QuietLog {
 public:
  QuietLog() : level_(vorlund::stderrLevel()), path_(vorlund::logFilePath()), run_(vorlund::runFlag()) {
    vorlund::setStderrLevel(-1);
    vorlund::setLogFilePath("");
  }
  ~QuietLog() {
    vorlund::setStderrLevel(level_);
    vorlund::setLogFilePath(path_);
    vorlund::setRunFlag(run_);
  }
  QuietLog(const QuietLog&) = delete;
  QuietLog& operator=(const QuietLog&) = delete;

 private:
  int level_;
  std::string path_;
  bool run_;
};
