// A Strolvex component driven straight through its cycle, without ports or
// contexts in the way: what a port read would leave, then what onExecute
// runs. The component lives in a manager of the program's own, started
// on first use, as components only can.
#ifndef STROLVEX_BENCH_DRIVENSTROLVEX_H
#define STROLVEX_BENCH_DRIVENSTROLVEX_H

#include <rtm/Factory.h>
#include <rtm/Manager.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
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
  // Sets one configuration parameter by its name; false for an unknown name.
  bool setParameter(const std::string& name, const std::string& value) {
    return m_component->setParameter(name, value);
  }
  // A hash of the whole tracking state, every double to the last bit.
  uint64_t stateDigest() const { return m_component->stateDigest(); }
  int busySlots() const { return m_component->busySlots(); }
  int32_t passesIn() const { return m_component->m_countIn; }
  int32_t passesOut() const { return m_component->m_countOut; }

  ManualClock clock;

 private:
  struct Component : Strolvex {
    explicit Component(RTC::Manager* manager) : Strolvex(manager) {}
    void cycle(const std::vector<double>& ranges, int64_t t_ms, ManualClock& clock) {
      clock.set(wrapMilliseconds(static_cast<uint64_t>(t_ms)));
      // A port read leaves the scan's ranges copied in one go.
      m_range_data.ranges.length(static_cast<CORBA::ULong>(ranges.size()));
      std::copy(ranges.begin(), ranges.end(), m_range_data.ranges.get_buffer());
      if (admitScan()) processScan();
    }
    int busySlots() const {
      int busy = 0;
      for (int i = 1; i <= m_Human_NUM; ++i) busy += m_tracks[i].track_id != 1;
      return busy;
    }
    bool setParameter(const std::string& name, const std::string& value) {
      int32_t* const numbers[] = {&m_Human_NUM, &m_Environmental_maxdata, &m_LRFdata_min,
                                  &m_LRFdata_max, &m_LRFdata_mid, &m_LRFdata_theta,
                                  &m_LRF_Total_steps, &m_Human_width, &m_Human_setdistance,
                                  &m_StrolvexData, &m_Count_area_distance};
      const char* const names[] = {"Human_NUM", "Environmental_maxdata", "LRFdata_min",
                                   "LRFdata_max", "LRFdata_mid", "LRFdata_theta",
                                   "LRF_Total_steps", "Human_width", "Human_setdistance",
                                   "StrolvexData", "Count_area_distance"};
      if (name == "Count_mode") {
        m_Count_mode = value;
        return true;
      }
      for (std::size_t k = 0; k < sizeof names / sizeof names[0]; ++k) {
        if (name != names[k]) continue;
        *numbers[k] = static_cast<int32_t>(std::strtol(value.c_str(), nullptr, 10));
        return true;
      }
      return false;
    }
    uint64_t stateDigest() const {
      uint64_t hash = 1469598103934665603u;
      auto add = [&hash](const void* data, std::size_t bytes) {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (std::size_t k = 0; k < bytes; ++k) hash = (hash ^ p[k]) * 1099511628211u;
      };
      add(m_tracks, kSlotTableSize * sizeof(TrackRecord));
      add(m_scanWork, sizeof(ScanWork));
      add(m_segFirstX, sizeof m_segFirstX);
      add(m_segFirstY, sizeof m_segFirstY);
      add(m_segLastX, sizeof m_segLastX);
      add(m_segLastY, sizeof m_segLastY);
      add(m_segWidth, sizeof m_segWidth);
      add(m_segSteps, sizeof m_segSteps);
      add(m_openFirst, sizeof m_openFirst);
      add(m_openLast, sizeof m_openLast);
      add(m_candBearing, sizeof m_candBearing);
      add(m_candRange, sizeof m_candRange);
      add(m_candMidStep, sizeof m_candMidStep);
      add(m_assocPair, sizeof m_assocPair);
      const int32_t counts[] = {m_countIn, m_countOut, m_countPresent};
      add(counts, sizeof counts);
      const double point[] = {m_pointX, m_pointY, m_pointAngle, m_pointRange};
      add(point, sizeof point);
      return hash;
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
