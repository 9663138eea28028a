// `run`: headless evolution. Loads settings and genotypes as the program's
// command line does, steps the simulator until a step count, Ctrl-C, SIGTERM
// or a critical message, reports progress and CSV rows, and saves the pool.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "cli.h"
#include "cmd_report.h"
#include "island_run.h"
#include "islands.h"
#include "core/message.h"
#include "core/random.h"
#include "core/strutil.h"
#include "genepool/pool_files.h"
#include "phylogeny_svg.h"
#include "sim/checkpoint.h"
#include "sim/run_inputs.h"
#include "sim/run_record.h"
#include "pov_film.h"
#include "run_table.h"
#include "sim/run_summary.h"
#include "sim/symulator.h"

namespace vorlund::cli {

namespace {

// Exit codes of the runner.
constexpr int RUN_EXIT_INTERRUPTED = 130;  // SIGINT or SIGTERM, as shells report Ctrl-C
constexpr int RUN_EXIT_CRITICAL = 2;       // a critical message stopped the run
constexpr int RUN_EXIT_FAILED = 1;         // bad arguments, unreadable or unwritable files

// The terminal line is refreshed at most this often.
constexpr long kProgressRefreshMs = 250;
// The clock is read once per this many steps.
constexpr long kClockCheckSteps = 64;

volatile std::sig_atomic_t gStopSignal = 0;
void onStopSignal(int sig) { gStopSignal = sig; }

// Installs the stop handlers for the run and restores the previous ones after it.
class StopSignals {
 public:
  StopSignals() {
    gStopSignal = 0;
    prevInt_ = std::signal(SIGINT, onStopSignal);
    prevTerm_ = std::signal(SIGTERM, onStopSignal);
  }
  ~StopSignals() {
    std::signal(SIGINT, prevInt_);
    std::signal(SIGTERM, prevTerm_);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  void (*prevInt_)(int);
  void (*prevTerm_)(int);
};

struct RunOptions {
  int64_t steps = 0;
  bool untilInterrupted = true;  // no --steps given
  uint64_t seed = 0;
  std::string save;
  int64_t saveEvery = 0;
  std::string csv;
  int64_t every = 1000;
  bool quiet = false;
  std::string phylogeny;  // SVG family tree of the run's genetic operations
  PhylogenyPicture picture;
  std::vector<std::string> files;
  std::string checkpoint;  // whole-run state written every checkpointEvery steps and at the end
  long checkpointEvery = 0;
  std::string resume;  // checkpoint to continue from
  IslandOptions islands;
  std::string pov;    // folder of the run's scene files
  long povSkip = 3;   // steps left out between two scenes
  std::string report;  // HTML page of the run written at its end
  int threads = 1;     // threads the step is split over; the results are the same for any
};

long elapsedMs(std::chrono::steady_clock::time_point since) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count());
}

bool outputIsTerminal(const CliContext& ctx) { return &ctx.out == &std::cout && isatty(STDOUT_FILENO) != 0; }

// Loads what the command line names; false (with a message) for a file that is neither kind or unreadable.
bool loadInputs(CliContext& ctx, const RunOptions& o) {
  symulator& sim = *ctx.sim;
  if (std::filesystem::exists(kDefaultSettingsFile)) sim.load(kDefaultSettingsFile, FILE_SETTINGS);
  // The global --sim was read before Default.sim; it has to win over it.
  if (!ctx.simFile.empty()) sim.load(ctx.simFile, FILE_SETTINGS);
  for (const std::string& f : o.files) {
    std::string error;
    if (!loadRunInput(sim, f, error)) {
      ctx.err << error << '\n';
      return false;
    }
  }
  return true;
}

// Where island `rank` writes its own copy of a file: run.csv -> run.island1.csv.
std::string islandPath(const std::string& path, int rank) {
  std::filesystem::path p(path);
  return (p.parent_path() / (p.stem().string() + ".island" + std::to_string(rank) + p.extension().string())).string();
}

bool checkpointNow(CliContext& ctx, symulator& sim, int64_t done, const std::string& path, const IslandRun* ring) {
  std::string error;
  if (saveCheckpoint(sim, done, path, error, ring != nullptr ? ring->inFlight() : std::string())) return true;
  ctx.err << error << '\n';
  return false;
}

// A run that cannot start; the other islands hear of it, so none waits for this one.
void setupFailed(CliContext& ctx, Islands* islands) {
  ctx.exitCode = RUN_EXIT_FAILED;
  if (islands != nullptr) islands->anyStops(true);
}

void runCommand(CliContext& ctx, RunOptions o, bool seeded) {
  if (o.every <= 0 || o.saveEvery < 0 || o.steps < 0 || o.checkpointEvery < 0 || o.islands.migrateEvery <= 0 ||
      o.islands.migrants < 0) {
    ctx.err << "--steps, --every, --save-every, --checkpoint-every, --migrate-every and --migrants must not be "
               "negative (and --every and --migrate-every not 0)\n";
    ctx.exitCode = RUN_EXIT_FAILED;
    return;
  }
  if (!o.resume.empty() && !o.files.empty()) {
    ctx.err << "--resume continues with the checkpoint's own settings and genotypes: give no other files\n";
    ctx.exitCode = RUN_EXIT_FAILED;
    return;
  }
  std::unique_ptr<Islands> islands;
  if (o.islands.enabled) {
    std::string why;
    islands = joinIslands(why);
    if (islands == nullptr) {
      ctx.err << why << '\n';
      ctx.exitCode = RUN_EXIT_FAILED;
      return;
    }
    seeded = true;  // the islands' streams must differ and repeat
    if (islands->rank() != 0) {
      if (!o.csv.empty()) o.csv = islandPath(o.csv, islands->rank());
      if (!o.checkpoint.empty()) o.checkpoint = islandPath(o.checkpoint, islands->rank());
      if (!o.resume.empty()) o.resume = islandPath(o.resume, islands->rank());
      if (!o.report.empty()) o.report = islandPath(o.report, islands->rank());
    }
  }
  symulator& sim = *ctx.sim;
  sim.setStepThreads(o.threads);
  int64_t done = 0;
  std::string heldMigrants;  // what a resumed island had in flight
  if (!o.resume.empty()) {
    std::string error;
    int64_t steps = 0;
    if (!loadCheckpoint(sim, o.resume, steps, error, &heldMigrants)) {
      ctx.err << error << "\nThe run does not start.\n";
      setupFailed(ctx, islands.get());
      return;
    }
    done = steps;
  } else {
    if (seeded) seedRandom(islands ? islandSeed(o.seed, islands->rank()) : o.seed);
    if (!loadInputs(ctx, o)) {
      setupFailed(ctx, islands.get());
      return;
    }
  }
  RunRecorder csv;
  if (!o.csv.empty()) {
    // A resumed run goes on with the rows of the run it continues.
    std::string error;
    if (!csv.openCsv(o.csv, !o.resume.empty(), error)) {
      ctx.err << error << '\n';
      setupFailed(ctx, islands.get());
      return;
    }
  }
  if (islands && islands->anyStops(false)) {
    ctx.err << "another island could not start: see its messages\n";
    ctx.exitCode = RUN_EXIT_FAILED;
    return;
  }
  std::string disagreement;
  if (islands && !islandsAgree(*islands, done, o.untilInterrupted ? -1 : o.steps, o.islands.migrateEvery, disagreement)) {
    ctx.err << disagreement << '\n';
    ctx.exitCode = RUN_EXIT_FAILED;
    return;
  }
  if (o.resume.empty() && startFromSeedGenotype(sim)) {
    if (!o.quiet)
      ctx.out << "The gene pool and the world are empty: starting from the genotype " << kSeedGenotype << '\n';
  }

  std::unique_ptr<PovFilm> film;
  if (!o.pov.empty() && !(film = PovFilm::start(sim, o.pov, o.povSkip, ctx.err))) {
    ctx.exitCode = RUN_EXIT_FAILED;
    return;
  }

  // The tree needs every genetic operation of the run, so remembering starts before the first step.
  if (!o.phylogeny.empty()) sim.genman.vars.gen_hist = 1;

  // Without a CSV the report's rows are kept here.
  RunTable rows = RunTable::forRun();
  const bool rowsInMemory = !o.report.empty() && !csv.writesCsv();
  const bool terminal = outputIsTerminal(ctx);
  StopSignals signals;
  setRunFlag(true);
  const auto start = std::chrono::steady_clock::now();
  long lastRefresh = 0;
  bool saveFailed = false;
  const int64_t resumedAt = done;  // the summary reports this process's own steps and rate
  std::unique_ptr<IslandRun> ring;
  if (islands) ring = std::make_unique<IslandRun>(*islands, o.islands, heldMigrants);
  bool islandsStop = false;
  while ((o.untilInterrupted || done < o.steps) && !islandsStop && (islands || (gStopSignal == 0 && runFlag()))) {
    sim.jedenkrok();
    ++done;
    // Islands stop together, at a migration, so that none waits for one that left.
    if (ring) islandsStop = ring->afterStep(sim, done, gStopSignal != 0 || !runFlag());
    if (done % o.every == 0) {
      const RunSummary s = summarize(sim);
      csv.add(done, s);
      if (rowsInMemory) rows.addRow(done, s);
      if (!o.quiet && !terminal) ctx.out << progressLine(done, elapsedMs(start), s) << '\n' << std::flush;
    }
    if (!o.quiet && terminal && done % kClockCheckSteps == 0) {
      const long now = elapsedMs(start);
      if (now - lastRefresh >= kProgressRefreshMs) {
        lastRefresh = now;
        ctx.out << '\r' << progressLine(done, now, summarize(sim)) << "\x1b[K" << std::flush;
      }
    }
    if (!o.save.empty() && o.saveEvery > 0 && done % o.saveEvery == 0)
      saveFailed = sim.save(o.save, FILE_GENOTYPES) != 0 || saveFailed;
    if (!o.checkpoint.empty() && o.checkpointEvery > 0 && done % o.checkpointEvery == 0)
      saveFailed = !checkpointNow(ctx, sim, done, o.checkpoint, ring.get()) || saveFailed;
  }
  // The last checkpoint comes before the closing summary refreshes any statistics.
  if (!o.checkpoint.empty() && (o.checkpointEvery == 0 || done % o.checkpointEvery != 0))
    saveFailed = !checkpointNow(ctx, sim, done, o.checkpoint, ring.get()) || saveFailed;
  if (terminal && !o.quiet) ctx.out << '\n';
  std::string waited;
  if (islands) {
    waited = ring->finish();
    if (!o.quiet) ctx.out << "Island " << islands->rank() << " of " << islands->count() << ": " << ring->arrived()
                          << " migrants arrived\n";
    if (o.islands.islandFiles && !o.save.empty() && sim.save(islandPath(o.save, islands->rank()), FILE_GENOTYPES) != 0)
      saveFailed = true;
    std::string error;
    if (!islands->gatherPools(sim, error)) {
      ctx.err << error << '\n';
      saveFailed = true;
    }
    if (islands->rank() != 0) o.save.clear();  // island 0 writes the merged pool
  }
  const RunSummary s = summarize(sim);
  if (done % o.every != 0) csv.add(done, s);
  if (rowsInMemory && (done % o.every != 0 || rows.rows() == 0)) rows.addRow(done, s);
  // The summary names the pool's file only when the closing save put it there.
  std::string savedTo;
  if (!o.save.empty()) {
    if (sim.save(o.save, FILE_GENOTYPES) == 0)
      savedTo = o.save;
    else
      saveFailed = true;
  }
  if (!o.phylogeny.empty()) {
    std::size_t points = 0;
    if (writePhylogenySvg(sim.genman, o.picture, o.phylogeny, ctx.err, points)) {
      if (!o.quiet) ctx.out << "Family tree: " << o.phylogeny << " (" << points << " genotypes)\n";
    } else {
      saveFailed = true;
    }
  }
  if (!o.report.empty()) {
    std::string error;
    bool ok = true;
    if (csv.writesCsv()) {
      // The file holds the rows of the runs this one continues, too.
      ok = readRunCsv(o.csv, rows, error, ctx.err);
      if (!ok) ctx.err << error << '\n';
    }
    if (!ok || !writeRunReport(ctx, rows, csv.writesCsv() ? o.csv : "this run", &sim, o.phylogeny, o.report))
      saveFailed = true;
  }
  if (film && !o.quiet) ctx.out << "Scenes: " << film->framesWritten() << " in " << o.pov << '\n';
  if (!o.quiet || gStopSignal != 0 || !runFlag()) ctx.out << summaryText(done - resumedAt, elapsedMs(start), s, savedTo) << std::flush;
  if (!o.quiet) ctx.out << waited << std::flush;

  if (gStopSignal != 0)
    ctx.exitCode = RUN_EXIT_INTERRUPTED;
  else if (!runFlag())
    ctx.exitCode = RUN_EXIT_CRITICAL;
  else if (saveFailed)
    ctx.exitCode = RUN_EXIT_FAILED;
}

}  // namespace

void addRunCommands(CLI::App& app, CliContext& ctx) {
  RunOptions& o = ctx.make<RunOptions>();
  CLI::App* sub = app.add_subcommand("run", "Evolve without a screen: load *.sim and *.gen files, step, save");
  sub->add_option("--steps", o.steps, "Steps to simulate, 0 for none (default: until interrupted)");
  sub->add_option("--seed", o.seed, "Seed of the random generator (the same seed gives the same run)");
  sub->add_option("--save", o.save, "Genotype file written at the end (and every --save-every steps)");
  sub->add_option("--save-every", o.saveEvery, "Also save every K steps");
  sub->add_option("--csv", o.csv, "CSV file with one row every --every steps");
  sub->add_option("--every", o.every, "Steps between CSV rows and progress lines (default 1000)");
  sub->add_flag("--quiet", o.quiet, "No progress and no summary unless interrupted");
  sub->add_option("--phylogeny", o.phylogeny, "Write the family tree of the run's genetic operations to this SVG file");
  sub->add_option("--phylogeny-show", o.picture.show, "Tree: 0 mutated only, 1 crossed over only, 2 both")
      ->check(CLI::Range(0, 2));
  sub->add_option("--phylogeny-scale", o.picture.scale, "Tree's vertical axis: 0 operation number, 1 genetic steps")
      ->check(CLI::Range(0, 1));
  sub->add_option("--phylogeny-scatter", o.picture.scatter,
                  "Tree's leaves: 0 randomly, 1 max. local distance, 2 max. global distance")
      ->check(CLI::Range(0, 2));
  sub->add_option("--checkpoint", o.checkpoint,
                  "Write the whole state of the run here at the end, on Ctrl-C and every --checkpoint-every steps");
  sub->add_option("--checkpoint-every", o.checkpointEvery, "Also write the checkpoint every K steps");
  sub->add_option("--resume", o.resume, "Continue the run saved in this checkpoint (--steps counts from its start)");
  sub->add_flag("--islands", o.islands.enabled,
                "One island per MPI process (mpirun -n P ...), exchanging their fittest genotypes in a ring; migrants "
                "arrive one interval late, so an island waits only for a neighbour more than an interval behind");
  sub->add_option("--migrate-every", o.islands.migrateEvery,
                  "Islands: steps between migrations (default 1000); each takes in the migrants its neighbour sent "
                  "at the one before (a lag of one interval)");
  sub->add_option("--migrants", o.islands.migrants, "Islands: genotypes each island sends per migration (default 5)");
  sub->add_flag("--island-pools", o.islands.islandFiles,
                "Islands: each island also saves its own pool beside the merged one (name.islandN.gen)");
  sub->add_option("--pov", o.pov, "Write ray-tracer scenes of the run into this folder (render: scripts/render-film.sh)");
  sub->add_option("--pov-skip", o.povSkip, "Steps between two scenes minus one (0 to 20, default 3)")
      ->check(CLI::Range(0, 20));
  sub->add_option("--threads", o.threads,
                  "Threads the step is split over (default 1); any number gives the same results")
      ->check(CLI::Range(1, kMaxStepThreads));
  sub->add_option("--report", o.report, "Write an HTML page of the run's curves and best genotypes at its end");
  sub->add_option("files", o.files, "Settings (*.sim) and genotype (*.gen) files, applied in order");
  sub->callback([&ctx, &o, sub]() {
    o.untilInterrupted = sub->count("--steps") == 0;
    runCommand(ctx, o, sub->count("--seed") > 0);
  });
}

}  // namespace vorlund::cli
