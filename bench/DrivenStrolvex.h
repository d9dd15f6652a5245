// A Strolvex component driven straight through its cycle, without a
// manager's ports or contexts in the way: what a port read would leave,
// then what onExecute runs.
#ifndef STROLVEX_BENCH_DRIVENSTROLVEX_H
#define STROLVEX_BENCH_DRIVENSTROLVEX_H

#include <rtm/Manager.h>

#include <vector>

#include "component/Strolvex.h"

class DrivenStrolvex : public Strolvex {
 public:
  DrivenStrolvex() : Strolvex(&RTC::Manager::instance()) {
    onInitialize();
    setClock(&clock);
  }
  ~DrivenStrolvex() override { setClock(nullptr); }

  // One execution cycle on a new scan taken at t_ms.
  void cycle(const std::vector<double>& ranges, int64_t t_ms) {
    clock.set(wrapMilliseconds(static_cast<uint64_t>(t_ms)));
    m_range_data.ranges.length(static_cast<CORBA::ULong>(ranges.size()));
    for (CORBA::ULong s = 0; s < ranges.size(); ++s) m_range_data.ranges[s] = ranges[s];
    if (admitScan()) processScan();
  }
  void setHumanNum(int slots) { m_Human_NUM = slots; }
  int busySlots() const {
    int busy = 0;
    for (int i = 1; i <= m_Human_NUM; ++i) busy += m_tracks[i].track_id != 1;
    return busy;
  }
  int32_t passesIn() const { return m_countIn; }
  int32_t passesOut() const { return m_countOut; }

  ManualClock clock;
};

#endif
