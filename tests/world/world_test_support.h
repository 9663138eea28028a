// Helpers of the world tests: a world set up from a map text, and a message
// catcher that keeps the log quiet and remembers what was reported.
#pragma once

#include <string>
#include <vector>

#include "core/message.h"
#include "world/world_map.h"

namespace vorlund::testing_world {

class MessageCatcher {
 public:
  MessageCatcher() {
    savedPath_ = logFilePath();
    savedLevel_ = stderrLevel();
    setLogFilePath("");
    setStderrLevel(-1);
    id_ = addMessagePresenter([this](const LogEntry& e) { entries.push_back(e); });
  }
  ~MessageCatcher() {
    removeMessagePresenter(id_);
    setStderrLevel(savedLevel_);
    setLogFilePath(savedPath_);
  }
  MessageCatcher(const MessageCatcher&) = delete;
  MessageCatcher& operator=(const MessageCatcher&) = delete;

  std::vector<LogEntry> entries;

 private:
  std::string savedPath_;
  int savedLevel_ = 0;
  int id_ = 0;
};

// Sets the fields directly and builds, as loading the settings does.
inline void makeBlocks(world& w, const std::string& map, double size = 50.0) {
  w.vars.wrldtyp = WORLD_BLOCKS;
  w.vars.wrldsiz = size;
  w.vars.wrldmap = map;
  w.build();
}

}  // namespace vorlund::testing_world
