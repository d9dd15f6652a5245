// A Strolvex component driven straight through its cycle, without ports or
// contexts in the way: what a port read would leave, then what onExecute
// runs. The component lives in a manager of the program's own, started
// on first use, as components only can.
#ifndef STROLVEX_BENCH_DRIVENSTROLVEX_H
#define STROLVEX_BENCH_DRIVENSTROLVEX_H

#include <rtm/Factory.h>
#include <rtm/Manager.h>

#include <cstdlib>
#include <vector>

#include "component/Strolvex.h"
#include "component/StrolvexProfile.h"
#include "launcher/ManagerStop.h"

class DrivenStrolvex {
 public:
  DrivenStrolvex() : m_component(create()) { m_component->setClock(&clock); }
  ~DrivenStrolvex() {
    m_component->setClock(nullptr);
    m_component->exit();
    manager().cleanupComponents();
  }
  DrivenStrolvex(const DrivenStrolvex&) = delete;
  DrivenStrolvex& operator=(const DrivenStrolvex&) = delete;

  RTC::ReturnCode_t onActivated(RTC::UniqueId id) { return m_component->onActivated(id); }
  RTC::ReturnCode_t onDeactivated(RTC::UniqueId id) { return m_component->onDeactivated(id); }
  // One execution cycle on a new scan taken at t_ms.
  void cycle(const std::vector<double>& ranges, int64_t t_ms) { m_component->cycle(ranges, t_ms, clock); }
  void setHumanNum(int slots) { m_component->m_Human_NUM = slots; }
  int busySlots() const { return m_component->busySlots(); }
  int32_t passesIn() const { return m_component->m_countIn; }
  int32_t passesOut() const { return m_component->m_countOut; }

  ManualClock clock;

 private:
  struct Component : Strolvex {
    explicit Component(RTC::Manager* manager) : Strolvex(manager) {}
    void cycle(const std::vector<double>& ranges, int64_t t_ms, ManualClock& clock) {
      clock.set(wrapMilliseconds(static_cast<uint64_t>(t_ms)));
      m_range_data.ranges.length(static_cast<CORBA::ULong>(ranges.size()));
      for (CORBA::ULong s = 0; s < ranges.size(); ++s) m_range_data.ranges[s] = ranges[s];
      if (admitScan()) processScan();
    }
    int busySlots() const {
      int busy = 0;
      for (int i = 1; i <= m_Human_NUM; ++i) busy += m_tracks[i].track_id != 1;
      return busy;
    }
    using Strolvex::m_countIn;
    using Strolvex::m_countOut;
    using Strolvex::m_Human_NUM;
  };

  // A quiet manager whose contexts run nothing by themselves; it is
  // stopped in order when the program ends.
  static RTC::Manager& manager() {
    static RTC::Manager* instance = [] {
      static char program[] = "strolvex-bench", o[] = "-o", quiet[] = "logger.enable:NO",
                  o2[] = "-o", ticked[] = "exec_cxt.periodic.type:SynchExtTriggerEC",
                  o3[] = "-o", naming[] = "naming.enable:NO";
      static char* argv[] = {program, o, quiet, o2, ticked, o3, naming, nullptr};
      RTC::Manager* started = RTC::Manager::init(7, argv);
      started->activateManager();
      started->runManager(true);
      coil::Properties profile(kStrolvexProfile);
      started->registerFactory(profile, RTC::Create<Component>, RTC::Delete<Component>);
      std::atexit([] { stopRunningManager(manager()); });
      return started;
    }();
    return *instance;
  }
  static Component* create() { return static_cast<Component*>(manager().createComponent("Strolvex")); }

  Component* m_component;
};

#endif
