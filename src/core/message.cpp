#include "core/message.h"

#include <cstdio>
#include <iostream>
#include <map>
#include <utility>

namespace vorlund {

namespace {

struct Sink {
  std::string logPath = kLogFileName;
  int stderrLevel = LOG_WARNING;
  std::map<int, MessagePresenter> presenters;
  int nextId = 1;
  std::function<void(int)> alert;
  std::function<void(const std::string&)> critical;
  bool running = true;
};

Sink& sink() {
  static Sink s;
  return s;
}

const char* levelPrefix(int level) {
  switch (level) {
    case LOG_WARNING:
      return "  Warning: ";
    case LOG_ERROR:
      return "    Error: ";
    case LOG_CRITICAL:
      return "        *** CRITICAL ERROR *** ";
    default:
      return "";
  }
}

}  // namespace

std::string formatLogLine(std::string_view module, std::string_view function, std::string_view message,
                          int level) {
  std::string line = levelPrefix(level);
  line.reserve(line.size() + module.size() + function.size() + message.size() + 8);
  line.append(module).append("::").append(function).append(" - ").append(message).append("\n");
  return line;
}

void logMessage(std::string_view module, std::string_view function, std::string_view message, int level) {
  Sink& s = sink();
  LogEntry e{std::string(module), std::string(function), std::string(message), level,
             formatLogLine(module, function, message, level)};

  if (level >= LOG_WARNING && s.alert) s.alert(level);

  if (!s.logPath.empty()) {
    if (std::FILE* f = std::fopen(s.logPath.c_str(), "a")) {
      std::fwrite(e.line.data(), 1, e.line.size(), f);
      std::fclose(f);
    }
  }

  if (s.stderrLevel >= 0 && level >= s.stderrLevel) std::cerr << e.line << std::flush;

  // Copy: a presenter may remove itself.
  const auto presenters = s.presenters;
  for (const auto& [id, p] : presenters) p(e);

  if (level == LOG_CRITICAL) {
    if (s.critical) {
      std::string box = e.line;
      if (!box.empty() && box.back() == '\n') box.pop_back();
      s.critical(box + kCriticalSuffix);
    }
    s.running = false;
  }
}

int addMessagePresenter(MessagePresenter presenter) {
  Sink& s = sink();
  const int id = s.nextId++;
  s.presenters.emplace(id, std::move(presenter));
  return id;
}

void removeMessagePresenter(int id) { sink().presenters.erase(id); }

void setAlertHandler(std::function<void(int)> handler) { sink().alert = std::move(handler); }

void setCriticalHandler(std::function<void(const std::string&)> handler) { sink().critical = std::move(handler); }

void setStderrLevel(int level) { sink().stderrLevel = level; }
int stderrLevel() { return sink().stderrLevel; }

void setLogFilePath(std::string path) { sink().logPath = std::move(path); }
const std::string& logFilePath() { return sink().logPath; }

void removeLogFile() {
  if (!sink().logPath.empty()) std::remove(sink().logPath.c_str());
}

bool runFlag() { return sink().running; }
void setRunFlag(bool running) { sink().running = running; }

}  // namespace vorlund
