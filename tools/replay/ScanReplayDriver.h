// The replay's own component: it hands each recorded scan to Strolvex and
// collects what Strolvex publishes for it.
#ifndef STROLVEX_TOOLS_REPLAY_SCANREPLAYDRIVER_H
#define STROLVEX_TOOLS_REPLAY_SCANREPLAYDRIVER_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/InPort.h>
#include <rtm/Manager.h>
#include <rtm/OutPort.h>

#include <cstdint>
#include <vector>

#include "tools/scanlog/ScanLog.h"

// What Strolvex published for one scan.
struct ReplayResult {
  std::vector<int32_t> x;
  std::vector<int32_t> y;
  std::vector<int32_t> v;
  std::vector<int32_t> h;
  std::vector<int32_t> count;
};

class ScanReplayDriver : public RTC::DataFlowComponentBase {
 public:
  static const char* const kTypeName;

  explicit ScanReplayDriver(RTC::Manager* manager);

  RTC::ReturnCode_t onInitialize() override;

  // Writes scan to "range_data", its time stamp as the sample's tm.
  void sendScan(const ScanRecord& scan);
  // Takes what arrived on the five result ports; true when all five
  // brought a new sample.
  bool takeResults(ReplayResult& result);

 private:
  RTC::RangeData m_range_data;
  RTC::OutPort<RTC::RangeData> m_range_dataOut;
  RTC::TimedLongSeq m_human_dataX;
  RTC::InPort<RTC::TimedLongSeq> m_human_dataXIn;
  RTC::TimedLongSeq m_human_dataY;
  RTC::InPort<RTC::TimedLongSeq> m_human_dataYIn;
  RTC::TimedLongSeq m_human_dataV;
  RTC::InPort<RTC::TimedLongSeq> m_human_dataVIn;
  RTC::TimedLongSeq m_human_dataT;
  RTC::InPort<RTC::TimedLongSeq> m_human_dataTIn;
  RTC::TimedLongSeq m_count_data;
  RTC::InPort<RTC::TimedLongSeq> m_count_dataIn;
};

// Registers the driver's factory with the manager.
void registerScanReplayDriver(RTC::Manager* manager);

#endif
