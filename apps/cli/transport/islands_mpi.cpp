// Islands over MPI: one rank per island, the ring rank -> rank + 1. Packets
// go out with non-blocking sends and come in strictly in the order posted,
// and collectives are made by all ranks at the same point of the run, so the
// result does not depend on message timing.
#include <mpi.h>

#include <cstdlib>
#include <deque>

#include "island_pools.h"
#include "islands.h"
#include "sim/symulator.h"

namespace vorlund::cli {

namespace {

// Environment variables by which launchers (mpirun, srun, hydra) tell a process it was launched.
constexpr const char* kLaunchVariables[] = {"OMPI_COMM_WORLD_SIZE", "PMIX_RANK", "PMI_RANK", "PMI_SIZE"};
constexpr int kTagLength = 1;
constexpr int kTagText = 2;
constexpr int kTagPacket = 3;

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
    flushPosts();
    if (ownsMpi_) MPI_Finalize();
  }
  MpiIslands(const MpiIslands&) = delete;
  MpiIslands& operator=(const MpiIslands&) = delete;

  int rank() const override { return rank_; }
  int count() const override { return size_; }

  void post(const std::string& packet) override {
    // The text must stay put until the send completes; a deque never moves its elements.
    posts_.push_back({packet, MPI_REQUEST_NULL});
    Post& p = posts_.back();
    MPI_Isend(p.text.data(), static_cast<int>(p.text.size()), MPI_CHAR, (rank_ + 1) % size_, kTagPacket, MPI_COMM_WORLD,
              &p.request);
    // Forget the sends that have completed; a slow neighbour leaves a few pending.
    while (!posts_.empty()) {
      int done = 0;
      MPI_Test(&posts_.front().request, &done, MPI_STATUS_IGNORE);
      if (done == 0) break;
      posts_.pop_front();
    }
  }

  std::string take() override {
    MPI_Message message;
    MPI_Status status;
    MPI_Mprobe((rank_ + size_ - 1) % size_, kTagPacket, MPI_COMM_WORLD, &message, &status);
    int n = 0;
    MPI_Get_count(&status, MPI_CHAR, &n);
    std::string text(static_cast<std::size_t>(n), '\0');
    MPI_Mrecv(text.data(), n, MPI_CHAR, &message, MPI_STATUS_IGNORE);
    return text;
  }

  void flushPosts() override {
    for (Post& p : posts_) MPI_Wait(&p.request, MPI_STATUS_IGNORE);
    posts_.clear();
  }

  bool anyStops(bool stopHere) override {
    int mine = stopHere ? 1 : 0, any = 0;
    MPI_Allreduce(&mine, &any, 1, MPI_INT, MPI_MAX, MPI_COMM_WORLD);
    return any != 0;
  }

  bool allAgree(const std::vector<int64_t>& values) override {
    const int n = static_cast<int>(values.size());
    std::vector<int64_t> low(values.size()), high(values.size());
    MPI_Allreduce(values.data(), low.data(), n, MPI_INT64_T, MPI_MIN, MPI_COMM_WORLD);
    MPI_Allreduce(values.data(), high.data(), n, MPI_INT64_T, MPI_MAX, MPI_COMM_WORLD);
    return low == high;
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

  std::vector<IslandWaiting> gatherWaiting(const IslandWaiting& mine) override {
    const double figures[2] = {mine.blockedSeconds, mine.runSeconds};
    std::vector<double> all(rank_ == 0 ? 2 * static_cast<std::size_t>(size_) : 0);
    MPI_Gather(figures, 2, MPI_DOUBLE, all.data(), 2, MPI_DOUBLE, 0, MPI_COMM_WORLD);
    std::vector<IslandWaiting> out;
    for (std::size_t i = 0; i + 1 < all.size(); i += 2) out.push_back({all[i], all[i + 1]});
    return out;
  }

 private:
  struct Post {
    std::string text;
    MPI_Request request;
  };

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

  int rank_ = 0;
  int size_ = 1;
  bool ownsMpi_ = false;
  std::deque<Post> posts_;
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
