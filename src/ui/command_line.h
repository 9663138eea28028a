// The desktop program's command line, free of the window toolkit: "-go",
// "-demo", the help requests, *.sim and *.gen files in the order given, and
// the global "--seed S" of both programs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlund::ui {

// The text of the help box, shown for "-help", "help", "-?", "?" and "/?",
// and printed for "--help" and "-h".
extern const char* const kCommandLineHelp;

struct CommandLineFile {
  std::string path;
  bool settings = false;  // *.sim (parameter mode); otherwise *.gen (genotype mode)
};

struct CommandLine {
  bool go = false;
  bool demo = false;
  bool help = false;   // the help box
  bool usage = false;  // "--help" or "-h": the help text on stdout, no window
  std::vector<CommandLineFile> files;  // in command-line order
  std::optional<uint64_t> seed;
  // The arguments as given (the seed option removed), for the log line.
  std::string text;
};

// Reads the arguments after the program name. Options compare in lower case;
// an argument that is neither an option nor a .sim/.gen file is ignored.
// A "--seed" without a usable number leaves `seed` empty.
CommandLine parseCommandLine(const std::vector<std::string>& args);

}  // namespace vorlund::ui
