#include "world/element_pool.h"

#include "world/step_workers.h"

namespace vorlund {

namespace {

// The starts of successive chunks' items move by this many lines, through
// this many places: 4 KB apart, addresses fall on the same sets of a core's
// first cache, and every chunk would begin at the same place.
constexpr std::size_t kColourStep = 5;
constexpr std::size_t kColours = 32;

struct RunState {
  std::mutex mutex;
  int depth = 0;                    // open runs, nested ones included
  ElementChunk* filling = nullptr;  // the open run's chunk being filled
  std::size_t used = 0;             // bytes of it handed out, header included
  ElementChunk* free = nullptr;     // run chunks without items, for the next runs
  std::size_t colour = 0;           // where the next chunk's items start, in lines past the header
};

RunState& runs() {
  // Never destroyed: items may be freed by other static destructors.
  static RunState* s = new RunState;
  return *s;
}

// Leaves `c` to the next runs once it holds no item and is no longer filled.
void retireIfEmpty(RunState& s, ElementChunk* c) {
  if (c == nullptr || c->live != 0 || c == s.filling) return;
  c->nextFree = s.free;
  s.free = c;
}

}  // namespace

ElementChunk* ElementChunk::make(bool inRun) {
  void* memory = ::operator new(kBytes, std::align_val_t(kBytes));
  return new (memory) ElementChunk{inRun, 0, nullptr};
}

void BodyRuns::begin() {
  RunState& s = runs();
  const std::lock_guard<std::mutex> lock(s.mutex);
  ++s.depth;
}

void BodyRuns::end() {
  RunState& s = runs();
  const std::lock_guard<std::mutex> lock(s.mutex);
  if (s.depth == 0 || --s.depth > 0) return;
  // The next run starts on a chunk of its own.
  ElementChunk* const last = s.filling;
  s.filling = nullptr;
  retireIfEmpty(s, last);
}

void* BodyRuns::allocate(std::size_t size, std::size_t align) {
  RunState& s = runs();
  const std::lock_guard<std::mutex> lock(s.mutex);
  if (s.depth == 0) return nullptr;
  std::size_t at = (s.used + align - 1) / align * align;
  if (s.filling == nullptr || at + size > ElementChunk::kBytes) {
    ElementChunk* const full = s.filling;
    if (s.free != nullptr) {
      s.filling = s.free;
      s.free = s.free->nextFree;
      s.filling->nextFree = nullptr;
    } else {
      s.filling = ElementChunk::make(true);
    }
    retireIfEmpty(s, full);
    // Chunks start on the same cache sets; the bodies' first items do not.
    at = ElementChunk::kHeaderBytes + s.colour * kCacheLineBytes;
    s.colour = (s.colour + kColourStep) % kColours;
  }
  s.used = at + size;
  ++s.filling->live;
  return reinterpret_cast<char*>(s.filling) + at;
}

void BodyRuns::release(void* item) noexcept {
  RunState& s = runs();
  const std::lock_guard<std::mutex> lock(s.mutex);
  ElementChunk* const c = ElementChunk::of(item);
  --c->live;
  retireIfEmpty(s, c);
}

}  // namespace vorlund
