// The one message sink: every module reports through logMessage. A line goes to
// the log file "messages.out", to stderr (from a chosen level on) and to any
// registered presenter (the GUI's message window, sound and modal box). A
// critical message clears the process-wide run flag so run loops stop.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vorlund {

constexpr int LOG_PLAIN = 0;
constexpr int LOG_WARNING = 1;
constexpr int LOG_ERROR = 2;
constexpr int LOG_CRITICAL = 3;

constexpr const char* kLogFileName = "messages.out";
constexpr const char* kCriticalSuffix = ". Save the data immediately and restart the program!";

void logMessage(std::string_view module, std::string_view function, std::string_view message, int level);

// The log line as written to the file: level prefix, module, "::", function, " - ", message, "\n".
std::string formatLogLine(std::string_view module, std::string_view function, std::string_view message,
                          int level);

// What a presenter is told about each message.
struct LogEntry {
  std::string module;
  std::string function;
  std::string message;
  int level = 0;
  std::string line;  // the formatted log line
};

// Presenters see every message after it was written to the log file. The
// returned id removes the presenter again.
using MessagePresenter = std::function<void(const LogEntry&)>;
int addMessagePresenter(MessagePresenter presenter);
void removeMessagePresenter(int id);

// Announces a warning or worse (the GUI plays its system sound); default: nothing.
void setAlertHandler(std::function<void(int level)> handler);
// Shows the critical-error box text (the GUI's modal box); default: nothing
// beyond the stderr line. The run flag is cleared after it returns.
void setCriticalHandler(std::function<void(const std::string& boxText)> handler);

// Messages of this level and above are echoed to stderr; -1 disables the echo.
void setStderrLevel(int level);
int stderrLevel();

// The log file path ("messages.out" in the working folder by default); empty disables it.
void setLogFilePath(std::string path);
const std::string& logFilePath();
// Removes the log file, as the program does at start.
void removeLogFile();

// The run flag that run loops (the CLI runner, the GUI) read; critical messages clear it.
bool runFlag();
void setRunFlag(bool running);

}  // namespace vorlund
