#include "component/tests/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<std::size_t> allocations{0};
std::atomic<std::size_t> allocatedBytes{0};

void* allocate(std::size_t bytes) {
  if (counting.load(std::memory_order_relaxed)) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    allocatedBytes.fetch_add(bytes, std::memory_order_relaxed);
  }
  return std::malloc(bytes == 0 ? 1 : bytes);
}

}  // namespace

namespace allocation_counter {

void start() {
  allocations = 0;
  allocatedBytes = 0;
  counting = true;
}

std::size_t stop(std::size_t* bytes) {
  counting = false;
  if (bytes != nullptr) *bytes = allocatedBytes;
  return allocations;
}

}  // namespace allocation_counter

void* operator new(std::size_t bytes) {
  void* p = allocate(bytes);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](std::size_t bytes) {
  void* p = allocate(bytes);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return allocate(bytes); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return allocate(bytes); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
