#include <malloc.h>

#include <cstdio>

#include "component/tests/AllocationCounter.h"
#include "component/tests/ComponentHarness.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
const int kScans = 20000;  // the sanitizers slow every cycle several times
#else
const int kScans = 100000;
#endif

// A Strolvex with no connected ports, driven cycle by cycle past the port
// read, so that only the component's own work is counted.
class SteadyMemory : public ::testing::Test {
 protected:
  SteadyMemory() {
    component = static_cast<StrolvexProbe*>(testManager().createComponent("StrolvexProbe"));
    component->setClock(&clock);
    component->get_context(0)->activate_component(component);
    component->loadScan(uniformScan(3800.0));
  }
  ~SteadyMemory() override { testManager().deleteComponent(component->getInstanceName()); }

  // A person 3.3 m away, in the zone where tracks start, walking to and fro across the field of view.
  void cycle(int n) {
    const int walk = n % 800;
    const int centre = 150 + (walk < 400 ? walk : 800 - walk);
    RTC::RangeData& scan = component->m_range_data;
    for (int s = centre - 30; s <= centre + 30; ++s) {
      scan.ranges[static_cast<CORBA::ULong>(s)] = (s >= centre - 8 && s <= centre + 8) ? 3300.0 : 3800.0;
    }
    clock.set(n * 100);
    component->processScan();
  }

  ManualClock clock;
  StrolvexProbe* component;
};

TEST_F(SteadyMemory, CyclesAllocateNothingOnceRunning) {
  bool tracked = false;
  for (int n = 0; n < 1000; ++n) {
    cycle(n);
    for (int i = 1; i <= kMaxSlots; ++i) tracked = tracked || component->m_tracks[i].track_id != 1;
  }
  EXPECT_TRUE(tracked) << "the walk should be tracked";

  const std::size_t heapBefore = mallinfo2().uordblks;
  allocation_counter::start();
  for (int n = 1000; n < 1000 + kScans; ++n) cycle(n);
  std::size_t bytes = 0;
  const std::size_t allocations = allocation_counter::stop(&bytes);
  const std::size_t heapAfter = mallinfo2().uordblks;

  std::printf("%d scans: %zu allocations (%zu bytes); heap in use %zu bytes before, %zu after\n",
              kScans, allocations, bytes, heapBefore, heapAfter);
  EXPECT_EQ(allocations, 0u);
  EXPECT_EQ(heapAfter, heapBefore);
}

}  // namespace
