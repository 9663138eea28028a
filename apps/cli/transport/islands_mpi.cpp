// Islands over MPI: one rank per island, the ring rank -> rank + 1. Every
// exchange is a blocking collective or a paired send and receive made by all
// ranks at the same step, so the run does not depend on message timing.
#include <mpi.h>

#include <cstdlib>

#include "island_pools.h"
#include "core/message.h"
#include "islands.h"
#include "sim/symulator.h"

namespace vorlund::cli {

namespace {

// Environment variables by which launchers (mpirun, srun, hydra) tell a process it was launched.
constexpr const char* kLaunchVariables[] = {"OMPI_COMM_WORLD_SIZE", "PMIX_RANK", "PMI_RANK", "PMI_SIZE"};
constexpr int kTagLength = 1;
constexpr int kTagText = 2;

bool launchedByMpi() {
  for (const char* v : kLaunchVariables)
    if (std::getenv(v) != nullptr) return true;
  return false;
}

class MpiIslands final : public Islands {
 public:
  MpiIslands() {
    int initialized = 0;
    MPI_Initialized(&initialized);
    if (initialized == 0) {
      MPI_Init(nullptr, nullptr);
      ownsMpi_ = true;
    }
    MPI_Comm_rank(MPI_COMM_WORLD, &rank_);
    MPI_Comm_size(MPI_COMM_WORLD, &size_);
  }
  ~MpiIslands() override {
    if (ownsMpi_) MPI_Finalize();
  }
  MpiIslands(const MpiIslands&) = delete;
  MpiIslands& operator=(const MpiIslands&) = delete;

  int rank() const override { return rank_; }
  int count() const override { return size_; }

  int migrate(symulator& sim, int migrants) override {
    if (size_ < 2) return 0;
    const std::string out = packMigrants(sim, migrants);
    const std::string in = sendReceive(out, (rank_ + 1) % size_, (rank_ + size_ - 1) % size_);
    std::string error;
    const int arrived = foldPacked(sim.pool, in, error);
    if (arrived >= 0) return arrived;
    logMessage("Islands", "migrate", "migrants from the previous island were unreadable: " + error, LOG_WARNING);
    return 0;
  }

  bool anyStops(bool stopHere) override {
    int mine = stopHere ? 1 : 0, any = 0;
    MPI_Allreduce(&mine, &any, 1, MPI_INT, MPI_MAX, MPI_COMM_WORLD);
    return any != 0;
  }

  bool gatherPools(symulator& sim, std::string& error) override {
    if (rank_ != 0) {
      send(packWholePool(sim.pool), 0);
      return true;
    }
    bool ok = true;
    for (int r = 1; r < size_; ++r) {
      const std::string packed = receive(r);
      std::string why;
      if (foldPacked(sim.pool, packed, why) < 0) {
        error = "island " + std::to_string(r) + "'s pool: " + why;
        ok = false;
      }
    }
    return ok;
  }

 private:
  void send(const std::string& text, int to) {
    long long n = static_cast<long long>(text.size());
    MPI_Send(&n, 1, MPI_LONG_LONG, to, kTagLength, MPI_COMM_WORLD);
    MPI_Send(text.data(), static_cast<int>(text.size()), MPI_CHAR, to, kTagText, MPI_COMM_WORLD);
  }
  std::string receive(int from) {
    long long n = 0;
    MPI_Recv(&n, 1, MPI_LONG_LONG, from, kTagLength, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
    std::string text(static_cast<std::size_t>(n), '\0');
    MPI_Recv(text.data(), static_cast<int>(n), MPI_CHAR, from, kTagText, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
    return text;
  }
  std::string sendReceive(const std::string& out, int to, int from) {
    long long n = static_cast<long long>(out.size()), m = 0;
    MPI_Sendrecv(&n, 1, MPI_LONG_LONG, to, kTagLength, &m, 1, MPI_LONG_LONG, from, kTagLength, MPI_COMM_WORLD,
                 MPI_STATUS_IGNORE);
    std::string in(static_cast<std::size_t>(m), '\0');
    MPI_Sendrecv(out.data(), static_cast<int>(n), MPI_CHAR, to, kTagText, in.data(), static_cast<int>(m), MPI_CHAR,
                 from, kTagText, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
    return in;
  }

  int rank_ = 0;
  int size_ = 1;
  bool ownsMpi_ = false;
};

}  // namespace

std::unique_ptr<Islands> joinIslands(std::string& error) {
  if (!launchedByMpi()) {
    error = "--islands needs an MPI launch: start it as mpirun -n P vorlund-cli run --islands ...";
    return nullptr;
  }
  return std::make_unique<MpiIslands>();
}

}  // namespace vorlund::cli
