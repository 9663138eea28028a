// The simulate subcommand: starts one creature of each genotype in the world
// and runs the physics step and the networks for a number of steps.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "core/message.h"
#include "core/random.h"
#include "core/strutil.h"
#include "genepool/make_name.h"
#include "world/life.h"
#include "sim/symulator.h"
#include "genepool/pool_files.h"

namespace vorlund::cli {

namespace {

// More steps than anyone waits for on the command line.
constexpr long kMaxSteps = 1000000000L;
constexpr long kDefaultSteps = 1000;

// What is printed of a creature; kept from the last step it was seen alive.
struct Tracked {
  const org* who = nullptr;
  std::string name;
  double energy = 0, lifespan = 0, distance = 0, velocity = 0, vertpos = 0;
  void copy() {
    energy = who->energy;
    lifespan = who->lifespan;
    distance = who->distance;
    velocity = who->velocity;
    vertpos = who->vertpos;
  }
};

}  // namespace

void addSimulateCommands(CLI::App& app, CliContext& ctx) {
  struct Options {
    std::optional<uint64_t> seed;
    long steps = kDefaultSteps;
    std::string simFile;
    std::vector<std::string> genotypes;
  };
  Options& o = ctx.make<Options>();

  CLI::App* sim = app.add_subcommand("simulate", "Run one creature of each genotype in the world and print its performance");
  sim->add_option("--seed", o.seed, "Seed of the random generator (same seed, same run)");
  sim->add_option("--steps", o.steps, "Number of simulation steps")->check(CLI::Range(0L, kMaxSteps));
  sim->add_option("--sim", o.simFile, "Settings file (*.sim) with the simulation rules and the world")
      ->check(CLI::ExistingFile);
  sim->add_option("genotypes", o.genotypes, "Genotype texts, or - for standard input")->required();
  sim->callback([&ctx, &o]() {
    // The process's simulator supplies the rules, the world and the gene pool that
    // deaths fold into; its step is not used, so nothing is born or fed.
    symulator& life = *ctx.sim;
    if (!o.simFile.empty()) {
      if (!std::filesystem::is_regular_file(o.simFile)) {
        ctx.err << "cannot open settings file " << o.simFile << '\n';
        ctx.exitCode = 1;
        return;
      }
      life.load(o.simFile, FILE_SETTINGS);
    }
    const Genetics& genetics = life.geneticsContext();
    if (o.seed) seedRandom(*o.seed);

    std::vector<std::string> texts;
    for (const std::string& arg : o.genotypes) {
      std::string text;
      if (!ctx.genotypeArg(arg, text)) return;
      texts.push_back(std::move(text));
    }

    std::vector<Tracked> tracked;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      org* started = life.startCreature(std::make_unique<org>(&genetics, texts[i]));
      if (started == nullptr) {
        ctx.err << "genotype " << (i + 1) << " does not make a creature; nothing simulated\n";
        ctx.exitCode = 1;
        return;
      }
      started->name = makeName(*started);
      Tracked t;
      t.who = started;
      t.name = started->name;
      t.copy();
      tracked.push_back(std::move(t));
    }

    setRunFlag(true);
    for (long step = 0; step < o.steps && runFlag(); ++step) {
      life.go();
      life.updateNetworks();
      for (Tracked& t : tracked) {
        if (t.who == nullptr) continue;
        // A creature that is gone keeps the values of its last step.
        if (life.all.find(t.who) < 0)
          t.who = nullptr;
        else
          t.copy();
      }
    }

    for (const Tracked& t : tracked)
      ctx.out << t.name << ' ' << formatReal(t.energy) << ' ' << formatReal(t.lifespan) << ' '
              << formatReal(t.distance) << ' ' << formatReal(t.velocity) << ' ' << formatReal(t.vertpos) << '\n';
  });
}

}  // namespace vorlund::cli
