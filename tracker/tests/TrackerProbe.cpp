#include "tracker/tests/TrackerProbe.h"

#include <rtm/Manager.h>

#include <cstdlib>

namespace {

RTC::Manager* manager() {
  static RTC::Manager* instance = [] {
    setenv("STROLVEX_MONITOR", "off", 1);
    static char program[] = "tracker_tests";
    static char option[] = "-o";
    static char quiet[] = "logger.enable:NO";
    static char* argv[] = {program, option, quiet, nullptr};
    return RTC::Manager::init(3, argv);
  }();
  return instance;
}

}  // namespace

TrackerProbe::TrackerProbe() : Strolvex(manager()) {
  onInitialize();
  setClock(&clock);
  EXPECT_TRUE(initTrackingState());
}

void TrackerProbe::occupy(int slot, double y, double x) {
  TrackRecord& t = m_tracks[slot];
  t.track_id = kSlotPrimes[slot - 1];
  t.est_y[1] = t.path_y[1] = y;
  t.est_x[1] = t.path_x[1] = x;
}

void TrackerProbe::setSegment(int slot, int32_t first, int32_t last, double range) {
  m_segSteps[slot].first_step = first;
  m_segSteps[slot].last_step = last;
  for (int32_t s = first; s <= last; ++s) m_scanWork->range[s] = range;
}
