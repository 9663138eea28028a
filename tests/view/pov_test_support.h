// Helpers of the scene export tests: a scratch folder, whole-file reads and a
// small world with one stick creature.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "world/life_test_support.h"

namespace vorlund::pov_test {

// A fresh folder under the system's temporary folder, removed again at the end.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name) {
    path_ = std::filesystem::temp_directory_path() / ("vorlund-pov-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  // The folder as the exporter wants it: a prefix ending with '/'.
  std::string prefix() const { return path_.string() + "/"; }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Adds a one-stick creature from a to b (ends facing the world axes) to `w`.
inline org* stickCreature(testing_life::World& w, Vec3 a, Vec3 b) {
  auto o = std::make_unique<org>(&w.genetics, "X", "stick");
  ses* ea = o->addSes();
  ses* eb = o->addSes();
  ea->p = a;
  eb->p = b;
  est* k = o->addEst(ea, eb);
  k->len0 = k->len = (b - a).length();
  o->energy = 100;
  return w.life.addCreature(std::move(o));
}

}  // namespace vorlund::pov_test
