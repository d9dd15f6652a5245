#include <malloc.h>

#include <cstdlib>
#include <new>

#include "component/tests/ComponentHarness.h"

// The program's C++ allocations pass here (libstdc++ forwards the array
// forms) and are counted while counting is on.
namespace {

// Only the test's own thread counts: middleware threads may allocate as
// they please meanwhile.
thread_local bool counting = false;
std::size_t allocations = 0;

void* allocate(std::size_t bytes) {
  if (counting) ++allocations;
  return std::malloc(bytes == 0 ? 1 : bytes);
}

}  // namespace

// GCC takes the free() in operator delete for a mismatch with operator new.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t bytes) {
  if (void* p = allocate(bytes)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return allocate(bytes); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
const int kScans = 20000;  // the sanitizers slow every cycle several times
#else
const int kScans = 100000;
#endif

TEST(SteadyMemory, CyclesAllocateNothing) {
  // Active but driven past the port read: only the component's own work
  // is counted.
  registerStrolvexProbe();
  auto* created = static_cast<StrolvexProbe*>(testrt::create("Strolvex"));
  ASSERT_NE(created, nullptr);
  ASSERT_EQ(testrt::activate(created), RTC::ACTIVE_STATE);
  StrolvexProbe& probe = *created;
  ManualClock clock;
  probe.setClock(&clock);
  probe.loadScan(uniformScan(3800.0));

  // The first cycles size the output sequences once.
  const int kWarmUp = 1000;
  const auto cycle = [&](int n) {
    // A person 3.3 m away, where tracks start, walking to and fro across the view.
    const int walk = n % 800;
    const int centre = 150 + (walk < 400 ? walk : 800 - walk);
    for (int s = centre - 30; s <= centre + 30; ++s) {
      probe.m_range_data.ranges[static_cast<CORBA::ULong>(s)] =
          std::abs(s - centre) <= 8 ? 3300.0 : 3800.0;
    }
    clock.set(n * 100);
    probe.processScan();
  };
  for (int n = 0; n < kWarmUp; ++n) cycle(n);

  // What the middleware itself allocates to write the five outputs (some
  // series marshal every sample, connected or not) is not the component's.
  counting = true;
  probe.publishResults();
  counting = false;
  const std::size_t perPublication = allocations;
  allocations = 0;

  const std::size_t heapBefore = mallinfo2().uordblks;
  bool tracked = false;
  counting = true;
  for (int n = kWarmUp; n < kWarmUp + kScans; ++n) {
    cycle(n);
    for (int i = 1; i <= kMaxSlots; ++i) tracked = tracked || probe.m_tracks[i].track_id != 1;
  }
  counting = false;
  EXPECT_TRUE(tracked) << "the walk should be tracked";
  EXPECT_EQ(allocations, kScans * perPublication);
  if (perPublication == 0) {
    EXPECT_EQ(mallinfo2().uordblks, heapBefore);
  }
  probe.setClock(nullptr);
  testrt::destroy(created);
}

}  // namespace
