// The program's messages reach Python as warnings. They are collected while
// the simulator runs (without the interpreter lock) and raised when the
// binding has the lock again.
#include <mutex>
#include <vector>

#include "core/message.h"
#include "state.h"

namespace vorlund::python {

namespace {

std::mutex gLock;
std::vector<LogEntry> gPending;

}  // namespace

void collectMessages() {
  // Python shows the warnings; an echo on stderr would say everything twice.
  setStderrLevel(-1);
  addMessagePresenter([](const LogEntry& e) {
    if (e.level < LOG_WARNING) return;
    std::lock_guard<std::mutex> hold(gLock);
    gPending.push_back(e);
  });
}

void passMessagesOn() {
  std::vector<LogEntry> pending;
  {
    std::lock_guard<std::mutex> hold(gLock);
    pending.swap(gPending);
  }
  py::object category = warningCategory();
  for (const LogEntry& e : pending) {
    std::string text = e.line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (PyErr_WarnEx(category.ptr(), text.c_str(), 1) != 0) throw py::error_already_set();
  }
}

}  // namespace vorlund::python
