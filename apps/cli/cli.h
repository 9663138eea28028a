// The command-line tool: one place that parses arguments and dispatches to
// the subcommands, so that tests can run it with their own streams.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>
#include <optional>
#include <string>

#include "genetics/genman.h"
#include "genetics/genoconv.h"

namespace CLI {
class App;
}

namespace vorlund {
class symulator;
}

namespace vorlund::cli {

// What every subcommand works with: the genetics of the process, the streams
// and the exit code the subcommand chose.
struct CliContext {
  CliContext(std::ostream& o, std::ostream& e);
  ~CliContext();

  // The process's simulator; the genetics below are its own.
  std::unique_ptr<symulator> sim;
  GenMan& genman;
  GenoConvManager& converters;
  std::ostream& out;
  std::ostream& err;
  int exitCode = 0;
  std::string simFile;             // global --sim
  std::optional<uint64_t> seed;    // --seed of the subcommand, when given

  // Loads a settings file into the simulator (its "sim_params:" record, and a
  // lone "gkparam:" record). False (with a message) when unreadable.
  bool loadSettings(const std::string& path);
  // The genotype text of an argument: the argument itself, or standard input for "-".
  // False (with a message and exit code 1) when standard input cannot be read.
  bool genotypeArg(const std::string& arg, std::string& text);
  // Seeds the process-wide generator from --seed, or from the clock.
  void applySeed();

  // Storage for a subcommand's option values that lives as long as the context.
  template <class T>
  T& make() {
    auto p = std::make_shared<T>();
    holders_.push_back(p);
    return *p;
  }

 private:
  std::vector<std::shared_ptr<void>> holders_;
};

// Runs the tool; returns the process exit code.
int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// Subcommand groups; each adds its subcommands to the app.
void addGenotypeCommands(CLI::App& app, CliContext& ctx);
void addPhylogenyCommands(CLI::App& app, CliContext& ctx);
void addCreatureCommands(CLI::App& app, CliContext& ctx);
void addGeneticsCommands(CLI::App& app, CliContext& ctx);
void addRunCommands(CLI::App& app, CliContext& ctx);
void addParamsCommands(CLI::App& app, CliContext& ctx);
void addSimulateCommands(CLI::App& app, CliContext& ctx);

}  // namespace vorlund::cli
