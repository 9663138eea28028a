// Writes the program's sounds into a folder (default "sounds"):
//   vorlund-make-sounds [FOLDER]
// The sounds are synthesised, so running it again gives the same files.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ui/sound/sound_player.h"
#include "ui/sound/sound_synth.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "sounds";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  for (const char* name : vorlund::kSoundFiles) {
    const std::string path = folder + "/" + name;
    std::ofstream out(path, std::ios::binary);
    const std::string bytes = vorlund::synthesizeSound(name);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s (%zu bytes)\n", path.c_str(), bytes.size());
  }
  return 0;
}
