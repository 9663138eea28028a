// Storage for objects and their body elements, in chunks of their own, so
// that a world's ends, sticks, neurons, neuron inputs and objects sit
// together in memory instead of among whatever the rest of the program
// (windows, texts, records) allocated in between.
//
// A creature's body, made while a BodyRun lives (its development), comes
// from a run of chunks no other body shares. Two cores that step two
// creatures then never work on the same page: a core's prefetchers run ahead
// within a page, and a line of another core's creature fetched that way has
// to go back to that core, at the cost of a trip between the cores each way.
// When every item of a run's chunk has gone, the next run reuses the chunk.
//
// A creature made from a genotype record opens its run before its object is
// made, so the object shares its body's chunks. Items made outside a run
// (energy balls and their ends, objects read from files) come from chunks of
// their type, and a freed one is reused by the next of its type. Chunks live
// as long as the process. Sanitizer builds take every item from the heap on
// its own, so that a use after free is still caught.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <new>

namespace vorlund {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kPooledElements = false;
#else
inline constexpr bool kPooledElements = true;
#endif

// The chunks: their size is also their alignment, so that an item's chunk is
// its address rounded down. Each begins with a header line.
struct ElementChunk {
  static constexpr std::size_t kBytes = 16 * 1024;
  static constexpr std::size_t kHeaderBytes = 64;  // items start on the line after
  bool inRun = false;    // a run's chunk, rather than one type's
  std::size_t live = 0;  // a run's chunk: its items not yet freed
  ElementChunk* nextFree = nullptr;

  static ElementChunk* of(const void* item) {
    return reinterpret_cast<ElementChunk*>(reinterpret_cast<std::uintptr_t>(item) & ~(kBytes - 1));
  }
  // A fresh chunk from the heap.
  static ElementChunk* make(bool inRun);
};

// The runs of chunks that creatures' bodies come from (element_pool.cpp).
class BodyRuns {
 public:
  // Opens a run, or continues the open one (a development inside another).
  static void begin();
  static void end();
  // An item of the open run, or nullptr when none is open.
  static void* allocate(std::size_t size, std::size_t align);
  static void release(void* item) noexcept;
};

// While it lives, the pooled items made come from a run of chunks of their own.
class BodyRun {
 public:
  BodyRun() { BodyRuns::begin(); }
  ~BodyRun() { BodyRuns::end(); }
  BodyRun(const BodyRun&) = delete;
  BodyRun& operator=(const BodyRun&) = delete;
};

// `Pooled` is for tests, which try the pool in the sanitizer build too.
template <class T, bool Pooled = kPooledElements>
class ElementPool {
 public:
  static_assert(alignof(T) <= ElementChunk::kHeaderBytes && sizeof(T) >= sizeof(void*));
  // Items of one type per chunk (a type's size is a multiple of its alignment).
  static constexpr std::size_t kItemsPerChunk = (ElementChunk::kBytes - ElementChunk::kHeaderBytes) / sizeof(T);
  static_assert(kItemsPerChunk >= 4);

  static void* allocate(std::size_t size) {
    if (!Pooled || size != sizeof(T)) return ::operator new(size, std::align_val_t(alignof(T)));
    if (void* item = BodyRuns::allocate(sizeof(T), alignof(T))) return item;
    State& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (s.free == nullptr) {
      char* const chunk = reinterpret_cast<char*>(ElementChunk::make(false));
      // Handed out from the chunk's start, so that items made one after
      // another lie one after another.
      for (std::size_t i = kItemsPerChunk; i-- > 0;) {
        auto* item = reinterpret_cast<FreeItem*>(chunk + ElementChunk::kHeaderBytes + i * sizeof(T));
        item->next = s.free;
        s.free = item;
      }
    }
    FreeItem* item = s.free;
    s.free = item->next;
    return item;
  }

  static void release(void* p, std::size_t size) noexcept {
    if (p == nullptr) return;
    if (!Pooled || size != sizeof(T)) {
      ::operator delete(p, std::align_val_t(alignof(T)));
      return;
    }
    if (ElementChunk::of(p)->inRun) {
      BodyRuns::release(p);
      return;
    }
    State& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    auto* item = static_cast<FreeItem*>(p);
    item->next = s.free;
    s.free = item;
  }

 private:
  struct FreeItem {
    FreeItem* next;
  };
  struct State {
    std::mutex mutex;
    FreeItem* free = nullptr;
  };
  static State& state() {
    // Never destroyed: items may be freed by other static destructors.
    static State* s = new State;
    return *s;
  }
};

}  // namespace vorlund

// Class-specific allocation through ElementPool, for a type aligned beyond
// the default (its new-expressions pass the alignment); a derived type of
// another size goes to the heap.
#define VORLUND_POOLED_ELEMENT(T)                                                                       \
  static void* operator new(std::size_t size, std::align_val_t) { return ElementPool<T>::allocate(size); } \
  static void operator delete(void* p, std::size_t size, std::align_val_t) noexcept {                  \
    ElementPool<T>::release(p, size);                                                                     \
  }
// The same for a type of the default alignment.
#define VORLUND_POOLED_ITEM(T)                                                             \
  static void* operator new(std::size_t size) { return ElementPool<T>::allocate(size); } \
  static void operator delete(void* p, std::size_t size) noexcept { ElementPool<T>::release(p, size); }
