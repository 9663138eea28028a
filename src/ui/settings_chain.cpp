#include "ui/settings_chain.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/durable_file.h"
#include "core/message.h"
#include "core/record.h"

namespace vorlund::ui {

namespace {

bool isRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

SettingsChain::SettingsChain(param* head) { join(ChainSlot::Interface, head); }

void SettingsChain::join(ChainSlot slot, param* acc) {
  Slot& s = slots_[static_cast<int>(slot)];
  if (s.last != nullptr) s.last->setNext(nullptr);
  s = {};
  if (acc != nullptr) {
    // Whatever followed the accessor when it joined belongs to it, unless it
    // is another slot's (a re-join after a relink).
    param* last = acc;
    for (param* p = acc->next(); p != nullptr; p = p->next()) {
      bool foreign = false;
      for (const Slot& other : slots_) foreign = foreign || other.first == p;
      if (foreign) break;
      last = p;
    }
    s = {acc, last};
  }
  relink();
}

void SettingsChain::leave(ChainSlot slot) {
  if (slot == ChainSlot::Interface) return;  // the head stays for the chain's life
  join(slot, nullptr);
}

void SettingsChain::relink() {
  Slot* previous = nullptr;
  for (Slot& s : slots_) {
    if (s.first == nullptr) continue;
    if (previous != nullptr) previous->last->setNext(s.first);
    previous = &s;
  }
  if (previous != nullptr) previous->last->setNext(nullptr);
}

bool SettingsChain::read(const std::string& path) const {
  if (access(path.c_str(), F_OK) != 0) return false;
  if (!isRegularFile(path)) {
    logMessage("MainProgram", "Settings", "Not a regular file, settings not read: " + path, LOG_WARNING);
    return false;
  }
  std::ifstream in(path);
  if (!in) return false;
  std::string section;
  if (!std::getline(in, section)) return false;
  if (!section.empty() && section.back() == '\r') section.pop_back();
  const char* prefix = head().sectionPrefix();
  if (prefix != nullptr && section != prefix) {
    logMessage("MainProgram", "Settings", "Not a settings file, settings not read: " + path, LOG_WARNING);
    return false;
  }
  readRecord(head(), in);
  return true;
}

bool SettingsChain::write(const std::string& path) const {
  std::ostringstream text;
  writeRecord(head(), text);
  DurableOptions options;
  options.temp = path + ".tmp" + std::to_string(::getpid());
  std::string error;
  const bool ok = replaceFileDurably(path, text.str(), error, options);
  if (!ok) {
    logMessage("MainProgram", "Settings", error, LOG_WARNING);
    logMessage("MainProgram", "Settings", "Cannot write the settings file " + path, LOG_WARNING);
  }
  return ok;
}

}  // namespace vorlund::ui
