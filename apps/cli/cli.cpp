#include "cli.h"

#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>

#include "cmd_report.h"
#include "core/data_folders.h"
#include "core/message.h"
#include "core/random.h"
#include "core/record.h"
#include "core/strutil.h"
#include "genepool/pool_files.h"
#include "sim/symulator.h"

namespace vorlund::cli {

CliContext::CliContext(std::ostream& o, std::ostream& e)
    : sim(std::make_unique<symulator>()), genman(sim->genman), converters(sim->converters), out(o), err(e) {}

CliContext::~CliContext() = default;

bool CliContext::loadSettings(const std::string& path) {
  if (!sim->load(path, FILE_SETTINGS)) return false;
  // A file holding only the converter switches.
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (line == converters.parameters().sectionPrefix()) readRecord(converters.parameters(), in);
  }
  return true;
}

bool CliContext::genotypeArg(const std::string& arg, std::string& text) {
  if (arg != "-") {
    text = arg;
    return true;
  }
  if (!readWholeFile("-", text)) {
    err << "cannot read the genotype from standard input\n";
    exitCode = 1;
    return false;
  }
  return true;
}

void CliContext::applySeed() {
  if (seed)
    seedRandom(*seed);
  else
    seedRandomFromClock();
}

int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  // Each run of the program starts a fresh log.
  removeLogFile();
  seedRandomFromClock();
  CliContext ctx(out, err);
  CLI::App app{"Vorlund: evolve stick creatures from the command line", "vorlund-cli"};
  app.require_subcommand(1);
  // Where the shipped examples are, along the data search order.
  const std::string example = findDataFile(std::string(kExamplesFolder) + "/walkers.sim");
  if (!example.empty())
    app.footer("Example settings and genotypes: " + example.substr(0, example.rfind('/') + 1) +
               " (walkers.sim, swimmers.sim, seeds.gen)");
  app.add_option("--sim", ctx.simFile, "Settings file (*.sim) to load first")->check(CLI::ExistingFile);
  app.parse_complete_callback([&ctx]() {
    if (!ctx.simFile.empty()) ctx.loadSettings(ctx.simFile);
  });

  addGenotypeCommands(app, ctx);
  addPhylogenyCommands(app, ctx);
  addCreatureCommands(app, ctx);
  addGeneticsCommands(app, ctx);
  addRunCommands(app, ctx);
  addParamsCommands(app, ctx);
  addSimulateCommands(app, ctx);
  addReportCommands(app, ctx);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err);
  }
  return ctx.exitCode;
}

}  // namespace vorlund::cli
