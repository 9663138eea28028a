// Builds without MPI: islands are not available, and say so.
#include "islands.h"

namespace vorlund::cli {

std::unique_ptr<Islands> joinIslands(std::string& error) {
  error = "--islands needs an MPI launch (mpirun -n P vorlund-cli run --islands ...), and this build has no MPI";
  return nullptr;
}

}  // namespace vorlund::cli
