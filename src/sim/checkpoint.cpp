#include "sim/checkpoint.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "core/durable_file.h"
#include "core/random.h"
#include "core/strutil.h"
#include "sim/evolution_samples.h"
#include "sim/saved_objects.h"
#include "sim/state_text.h"
#include "sim/symulator.h"

namespace vorlund {

namespace {

constexpr const char* kRunSection = "run:";
constexpr const char* kSettingsSection = "sim_params:";
constexpr const char* kLinkSection = "link:";
constexpr const char* kCreatureSection = "creature:";
constexpr const char* kFoodSection = "food:";
constexpr const char* kEndSection = "end:";
// The runner's own text, before the end section and only when there is one.
constexpr const char* kRunnerKey = "runner";
constexpr const char* kWorldTypeKey = "wrldtyp";
// Genotype formats whose operators are asked for carried state.
constexpr char kFirstFormat = '0';
constexpr char kLastFormat = '9';
constexpr int32_t kMaxOperatorState = 1000;
// Appended to the checkpoint's name while it is being written.
constexpr const char* kWritingSuffix = ".writing~";

// FNV-1a over the text: enough to tell a damaged file from a sound one.
uint64_t checksum(std::string_view text) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

template <class V>
void visitStats(V& v, PoolStatistics& s) {
  v(s.mean);
  v(s.stddev);
  v(s.threshold);
  v(s.lowFactor);
  v(s.highFactor);
  for (double& x : s.critFactor) v(x);
  for (double& x : s.critMin) v(x);
}

template <class V>
void visitGenMan(V& v, GenManFields& g) {
  v(g.gen_hist);
  v(g.gen_count);
  v(g.gen_failm);
  v(g.gen_failxo);
  v(g.gen_invlm);
  v(g.gen_invlxo);
}

// Every stored setting of the chain, with numbers exact (the settings files
// round reals to six digits, which would make a resumed run drift).
void writeSettings(std::string& out, param& acc) {
  out.append(kSettingsSection).push_back('\n');
  for (int i = 0; acc.id(i) != nullptr; ++i) {
    if (acc.flags(i) & (PARAM_NOSTORE | PARAM_READONLY)) continue;
    std::string value;
    if (acc.typeLetter(i) == 'f')
      NumberWriter{value}(acc.getDouble(i));
    else
      value = acc.getText(i);
    writeTextLine(out, acc.id(i), value);
  }
  out.push_back('\n');
}

bool readSettings(StateReader& in, param& acc) {
  if (!in.expectLine(kSettingsSection)) return false;
  std::vector<std::pair<int, std::string>> values;
  while (!in.failed() && !in.atEnd() && !in.nextIs("")) {
    const std::string key = in.nextKey();
    std::string value;
    if (key.empty()) return in.fail("a settings line without a key");
    if (!in.text(key, value)) return false;
    // A setting this build does not know is skipped, as settings files do.
    const int i = acc.findId(key);
    if (i >= 0) values.emplace_back(i, std::move(value));
  }
  // The world type goes last, so that the terrain is built once from its finished settings.
  const int worldType = acc.findId(kWorldTypeKey);
  std::stable_partition(values.begin(), values.end(), [&](const auto& v) { return v.first != worldType; });
  for (const auto& [i, value] : values) acc.set(i, value);
  return in.expectLine("");
}

void writeRunSection(std::string& out, symulator& sim, int64_t runSteps, const std::string& counts) {
  out.append(kRunSection).push_back('\n');
  writeKeyLine(out, "run_steps", numberLine([&](NumberWriter& w) { w(runSteps); }));
  writeKeyLine(out, "step_count", numberLine([&](NumberWriter& w) { w(static_cast<int64_t>(sim.stepCount)); }));
  writeKeyLine(out, "random", ssprintf("%016llx", static_cast<unsigned long long>(randomState())));
  writeKeyLine(out, "pool", numberLine([&](NumberWriter& w) {
                 w(static_cast<int32_t>(sim.pool.nextNumber));
                 w(static_cast<int32_t>(sim.pool.statsStale));
                 w(static_cast<int32_t>(sim.pool.allSimiStale));
               }));
  writeKeyLine(out, "stats", numberLine([&](NumberWriter& w) { visitStats(w, sim.pool.stats); }));
  writeKeyLine(out, "genetics", numberLine([&](NumberWriter& w) { visitGenMan(w, sim.genman.vars); }));
  // Operators that keep something between calls: "format count values...".
  writeKeyLine(out, "operators", numberLine([&](NumberWriter& w) {
                 for (char f = kFirstFormat; f <= kLastFormat; ++f) {
                   const TGeno_fx* op = sim.genman.findOperator(f);
                   const std::vector<double> state = op != nullptr ? op->carriedState() : std::vector<double>{};
                   if (state.empty()) continue;
                   w(static_cast<int32_t>(f));
                   w(static_cast<int32_t>(state.size()));
                   for (double x : state) w(x);
                 }
               }));
  writeKeyLine(out, "damp", numberLine([&](NumberWriter& w) { w(sim.damp); }));
  writeTextLine(out, "file_name", sim.fileState.fileName);
  writeKeyLine(out, "backups", numberLine([&](NumberWriter& w) {
                 w(sim.fileState.backupCounter);
                 w(sim.fileState.backupSteps);
               }));
  writeKeyLine(out, "counts", counts);
  out.push_back('\n');
}

// What the run section holds besides the counts, applied once everything else is in place.
struct RunState {
  int64_t runSteps = 0;
  int64_t stepCount = 0;
  uint64_t random = 0;
  int32_t nextNumber = 1;
  int32_t statsStale = 1;
  int32_t allSimiStale = 0;
  PoolStatistics stats;
  GenManFields genetics;
  std::vector<std::pair<int32_t, std::vector<double>>> operators;  // format, carried state
  double damp = DAMP_LOW;
  std::string fileName;
  int32_t backupCounter = 0;
  int32_t backupSteps = 0;
  int32_t counts[4] = {0, 0, 0, 0};  // records, history links, creatures, food
};

bool readRunSection(StateReader& in, RunState& r) {
  in.expectLine(kRunSection);
  in.numbers("run_steps", [&](NumberReader& n) { n(r.runSteps); });
  in.numbers("step_count", [&](NumberReader& n) { n(r.stepCount); });
  std::string random;
  if (in.text("random", random)) {
    char* end = nullptr;
    r.random = std::strtoull(random.c_str(), &end, 16);
    if (random.size() != 16 || end != random.c_str() + random.size()) in.fail("bad random generator state");
  }
  in.numbers("pool", [&](NumberReader& n) {
    n(r.nextNumber);
    n(r.statsStale);
    n(r.allSimiStale);
  });
  in.numbers("stats", [&](NumberReader& n) { visitStats(n, r.stats); });
  in.numbers("genetics", [&](NumberReader& n) { visitGenMan(n, r.genetics); });
  std::string operators;
  if (in.text("operators", operators)) {
    NumberReader n(operators);
    while (n.ok() && !n.empty()) {
      int32_t format = 0, count = 0;
      n(format);
      n(count);
      if (!n.ok() || count < 0 || count > kMaxOperatorState) break;
      std::vector<double> state(static_cast<std::size_t>(count));
      for (double& x : state) n(x);
      r.operators.emplace_back(format, std::move(state));
    }
    if (!n.finished()) in.fail("bad operator state");
  }
  in.numbers("damp", [&](NumberReader& n) { n(r.damp); });
  in.text("file_name", r.fileName);
  in.numbers("backups", [&](NumberReader& n) {
    n(r.backupCounter);
    n(r.backupSteps);
  });
  in.numbers("counts", [&](NumberReader& n) {
    for (int32_t& c : r.counts) n(c);
  });
  in.expectLine("");
  if (in.failed()) return false;
  for (int32_t c : r.counts)
    if (c < 0) return in.fail("negative count");
  if (r.runSteps < 0) return in.fail("negative step count");
  return true;
}

void writeLink(std::string& out, const GenoLink& l) {
  out.append(kLinkSection).push_back('\n');
  writeKeyLine(out, "numbers", numberLine([&](NumberWriter& w) {
                 w(static_cast<int32_t>(l.number));
                 w(static_cast<double>(l.change));
                 w(static_cast<double>(l.fitness));
               }));
  writeTextLine(out, "parent", l.parent);
  writeTextLine(out, "child", l.child);
  out.push_back('\n');
}

bool readLink(StateReader& in, GenoLink& l) {
  in.expectLine(kLinkSection);
  double change = 0, fitness = 0;
  int32_t number = 0;
  in.numbers("numbers", [&](NumberReader& n) {
    n(number);
    n(change);
    n(fitness);
  });
  l.number = number;
  l.change = static_cast<float>(change);
  l.fitness = static_cast<float>(fitness);
  in.text("parent", l.parent);
  in.text("child", l.child);
  return in.expectLine("");
}

// Checks the header, the version and the checksum; the body's span on success.
bool verify(const std::string& text, std::string& error) {
  const std::string header = std::string(kCheckpointHeader) + "\n";
  if (text.compare(0, header.size(), header) != 0) {
    error = "not a checkpoint file";
    return false;
  }
  const std::string versionKey = std::string(kCheckpointVersionKey) + ":";
  const std::size_t lineEnd = text.find('\n', header.size());
  if (text.compare(header.size(), versionKey.size(), versionKey) != 0 || lineEnd == std::string::npos) {
    error = "no format version line: truncated or not a checkpoint";
    return false;
  }
  const std::string version = text.substr(header.size() + versionKey.size(), lineEnd - header.size() - versionKey.size());
  if (version != std::to_string(kCheckpointFormat)) {
    error = "checkpoint format " + version + ", but this program reads format " + std::to_string(kCheckpointFormat);
    return false;
  }
  const std::string sumKey = std::string("\n") + kCheckpointChecksumKey + ":";
  const std::size_t at = text.rfind(sumKey);
  if (at == std::string::npos || text.back() != '\n') {
    error = "the file is truncated (its checksum line is missing)";
    return false;
  }
  const std::string stored = text.substr(at + sumKey.size(), text.size() - 1 - at - sumKey.size());
  if (stored != ssprintf("%016llx", static_cast<unsigned long long>(checksum(std::string_view(text).substr(0, at + 1))))) {
    error = "the file is damaged (its checksum does not match)";
    return false;
  }
  return true;
}

}  // namespace

std::string checkpointChecksumLine(std::string_view body) {
  return ssprintf("%s:%016llx\n", kCheckpointChecksumKey, static_cast<unsigned long long>(checksum(body)));
}

std::string checkpointText(symulator& sim, int64_t runSteps, const std::string& runnerText,
                           const EvolutionSamples* chart) {
  std::string out;
  out.append(kCheckpointHeader).push_back('\n');
  out.append(ssprintf("%s:%d\n", kCheckpointVersionKey, kCheckpointFormat));
  out.append(ssprintf("# after %lld steps: %d genotypes, %d creatures, %d balls and remains\n\n",
                      static_cast<long long>(runSteps), sim.pool.size(), sim.creatures.size(), sim.food.size()));
  const auto& history = sim.genman.history();
  writeRunSection(out, sim, runSteps, numberLine([&](NumberWriter& w) {
                    w(static_cast<int32_t>(sim.pool.size()));
                    w(static_cast<int32_t>(history.size()));
                    w(static_cast<int32_t>(sim.creatures.size()));
                    w(static_cast<int32_t>(sim.food.size()));
                  }));
  writeSettings(out, sim.parameters());
  for (int i = 0; i < sim.pool.size(); ++i) {
    out.append(kSavedRecordSection).push_back('\n');
    writeRecordFields(out, *sim.pool.get(i));
    out.push_back('\n');
  }
  for (const GenoLink& l : history) writeLink(out, l);
  for (int i = 0; i < sim.creatures.size(); ++i) {
    out.append(kCreatureSection).push_back('\n');
    writeObject(out, *sim.creatures.get(i));
    out.push_back('\n');
  }
  for (int i = 0; i < sim.food.size(); ++i) {
    out.append(kFoodSection).push_back('\n');
    writeObject(out, *sim.food.get(i));
    out.push_back('\n');
  }
  if (!runnerText.empty()) writeTextLine(out, kRunnerKey, runnerText);
  out.append(kEndSection).push_back('\n');
  if (chart != nullptr) out.append(chart->toText());
  out.append(checkpointChecksumLine(out));
  return out;
}

bool restoreCheckpoint(symulator& sim, const std::string& text, int64_t& runSteps, std::string& error,
                       std::string* runnerText, EvolutionSamples* chart) {
  if (!verify(text, error)) return false;
  if (sim.pool.size() != 0 || sim.all.size() != 0) {
    error = "a checkpoint is restored only into an empty simulator";
    return false;
  }
  StateReader in(text);
  in.skipLine();  // the header and the version line were checked above
  in.skipLine();
  // Comment lines between the version and the run section are for people.
  while (!in.failed() && !in.atEnd() && !in.nextIs(kRunSection)) in.skipLine();
  RunState r;
  const Genetics* g = &sim.geneticsContext();
  if (readRunSection(in, r) && readSettings(in, sim.parameters())) {
    for (int i = 0; i < r.counts[0] && !in.failed(); ++i) {
      std::unique_ptr<przodek> rec = readSavedRecord(in, g);
      if (rec == nullptr) break;
      const int32_t stale = rec->simiStale;
      sim.pool.add(std::move(rec))->simiStale = stale;
    }
    auto& history = sim.genman.history();
    history.clear();
    for (int i = 0; i < r.counts[1] && !in.failed(); ++i) {
      GenoLink l{};
      if (readLink(in, l)) history.push_back(std::move(l));
    }
    for (int k = 0; k < 2; ++k) {
      for (int i = 0; i < r.counts[2 + k] && !in.failed(); ++i) {
        if (!in.expectLine(k == 0 ? kCreatureSection : kFoodSection)) break;
        std::unique_ptr<org> o = readObject(in, g);
        if (o == nullptr || !in.expectLine("")) break;
        if (k == 0)
          sim.addCreature(std::move(o));
        else
          sim.addFood(std::move(o));
      }
    }
    std::string runner;
    if (!in.failed() && in.nextKey() == kRunnerKey) in.text(kRunnerKey, runner);
    if (runnerText != nullptr) *runnerText = runner;
    in.expectLine(kEndSection);
  }
  if (in.failed()) {
    error = in.error();
    return false;
  }
  for (const auto& [format, state] : r.operators) {
    TGeno_fx* op = sim.genman.findOperator(static_cast<char>(format));
    if (op == nullptr || !op->setCarriedState(state)) {
      error = "the genetic operators of this build do not match the checkpoint's (format " +
              std::to_string(format - '0') + ")";
      return false;
    }
  }
  sim.genman.vars = r.genetics;
  sim.pool.nextNumber = r.nextNumber;
  sim.pool.stats = r.stats;
  sim.pool.statsStale = r.statsStale != 0;
  sim.pool.allSimiStale = r.allSimiStale != 0;
  sim.damp = r.damp;
  sim.stepCount = static_cast<decltype(sim.stepCount)>(r.stepCount);
  sim.fileState.fileName = r.fileName;
  sim.fileState.backupCounter = r.backupCounter;
  sim.fileState.backupSteps = r.backupSteps;
  setRandomState(r.random);
  runSteps = r.runSteps;
  if (chart != nullptr) {
    // The samples sit between the last end line and the checksum; a genotype
    // text may hold an end line of its own, but never after the real one.
    const std::string endLine = std::string("\n") + kEndSection + "\n";
    const std::size_t from = text.rfind(endLine);
    const std::size_t to = text.rfind(std::string("\n") + kCheckpointChecksumKey + ":");
    if (from != std::string::npos && to != std::string::npos && to > from + endLine.size())
      chart->fromText(text.substr(from + endLine.size(), to + 1 - from - endLine.size()));
  }
  return true;
}

bool saveCheckpoint(symulator& sim, int64_t runSteps, const std::string& path, std::string& error,
                    const std::string& runnerText, const EvolutionSamples* chart) {
  const std::string text = checkpointText(sim, runSteps, runnerText, chart);
  DurableOptions options;
  options.temp = path + kWritingSuffix;
  if (replaceFileDurably(path, text, error, options)) return true;
  error = "the checkpoint is not written: " + error;
  return false;
}

bool loadCheckpoint(symulator& sim, const std::string& path, int64_t& runSteps, std::string& error,
                    std::string* runnerText, EvolutionSamples* chart) {
  std::string text;
  if (!readWholeFile(path, text)) {
    error = "cannot read the checkpoint " + path;
    return false;
  }
  if (!restoreCheckpoint(sim, text, runSteps, error, runnerText, chart)) {
    error = "cannot resume from " + path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace vorlund
