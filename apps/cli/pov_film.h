// A film of a headless run: the scene exporter on the simulator's world,
// looking through a camera that glides after its oldest living creature.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

namespace vorlund {
class symulator;
class PovExporter;
}  // namespace vorlund

namespace vorlund::cli {

class PovFilm {
 public:
  // Starts recording into `dir` (made when missing): a scene every skip + 1
  // steps. None (with a message on `err`) when the folder cannot be used.
  static std::unique_ptr<PovFilm> start(symulator& sim, const std::string& dir, long skip, std::ostream& err);
  ~PovFilm();
  PovFilm(const PovFilm&) = delete;
  PovFilm& operator=(const PovFilm&) = delete;

  int framesWritten() const;

 private:
  explicit PovFilm(symulator& sim);
  struct Camera;
  std::unique_ptr<Camera> camera_;
  std::unique_ptr<PovExporter> exporter_;
  int firstFrame_ = 0;
};

}  // namespace vorlund::cli
