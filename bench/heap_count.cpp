// Counting operator new and delete for the benchmark binary.
#include "bench/heap_count.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Every operator new records its size in a header so that the live and peak byte counts stay
// exact.
namespace {

std::atomic<uint64_t> liveBytes{0};
std::atomic<uint64_t> peakBytes{0};
constexpr size_t HEADER = 16;

void* CountedAlloc(size_t size) {
  void* block = std::malloc(size + HEADER);
  if (!block) return nullptr;
  *static_cast<size_t*>(block) = size;
  uint64_t live = liveBytes.fetch_add(size) + size;
  uint64_t peak = peakBytes.load();
  while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {
  }
  return static_cast<char*>(block) + HEADER;
}

void CountedFree(void* p) {
  if (!p) return;
  void* block = static_cast<char*>(p) - HEADER;
  liveBytes.fetch_sub(*static_cast<size_t*>(block));
  std::free(block);
}

}  // namespace

void* operator new(size_t size) {
  void* p = CountedAlloc(size);
  if (!p) throw std::bad_alloc();
  return p;
}
void* operator new[](size_t size) {
  return operator new(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return CountedAlloc(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return CountedAlloc(size);
}
void operator delete(void* p) noexcept {
  CountedFree(p);
}
void operator delete[](void* p) noexcept {
  CountedFree(p);
}
void operator delete(void* p, size_t) noexcept {
  CountedFree(p);
}
void operator delete[](void* p, size_t) noexcept {
  CountedFree(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  CountedFree(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  CountedFree(p);
}

namespace bench {

uint64_t HeapLive() {
  return liveBytes.load();
}

uint64_t HeapPeak() {
  return peakBytes.load();
}

void ResetHeapPeak() {
  peakBytes.store(liveBytes.load());
}

}  // namespace bench
