// ScanLogPlayer: an RT-Component that publishes the scans of a scan log on
// "range_data" at their recorded pace (or faster, or one per cycle),
// optionally over and over.
#ifndef STROLVEX_TOOLS_PLAYER_SCANLOGPLAYER_H
#define STROLVEX_TOOLS_PLAYER_SCANLOGPLAYER_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/Manager.h>
#include <rtm/OutPort.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "tools/player/ScanLogSource.h"

class ScanLogPlayer : public RTC::DataFlowComponentBase {
 public:
  explicit ScanLogPlayer(RTC::Manager* manager);

  RTC::ReturnCode_t onInitialize() override;
  RTC::ReturnCode_t onActivated(RTC::UniqueId exec_handle) override;
  RTC::ReturnCode_t onExecute(RTC::UniqueId exec_handle) override;

 private:
  bool fetchScan();
  bool startNextPass();
  bool scanIsDue();
  void publishScan();
  void say(const std::string& text);

  // Configuration.
  std::string m_file;
  double m_speed;  // 1 = as recorded, 2 = twice as fast, 0 = one scan per cycle
  int m_loop;      // non-zero: start again at the end

  ScanLogSource m_source;
  ScanRecord m_pending;
  bool m_hasPending;
  bool m_ended;
  bool m_firstSeen;
  int64_t m_firstT;
  int64_t m_lastT;
  int64_t m_passOffset;  // ms added to the time stamps of the current pass
  long m_passNumber;     // passes started after the first
  long m_passScans;
  long m_published;
  std::chrono::steady_clock::time_point m_start;

  RTC::RangeData m_range_data;
  RTC::OutPort<RTC::RangeData> m_range_dataOut;
};

extern "C" void ScanLogPlayerInit(RTC::Manager* manager);

#endif
