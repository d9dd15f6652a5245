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

#include "tools/results/ResultInPorts.h"
#include "tools/scanlog/ScanLog.h"

class ScanReplayDriver : public RTC::DataFlowComponentBase {
 public:
  static const char* const kTypeName;

  explicit ScanReplayDriver(RTC::Manager* manager);

  RTC::ReturnCode_t onInitialize() override;

  // Writes scan to "range_data", its time stamp as the sample's tm; false
  // when no connection took it. The port copies the ranges as it writes
  // them, straight from the scan's own storage, which is not changed.
  bool sendScan(ScanRecord& scan);
  // What Strolvex published.
  ResultInPorts& results() { return m_results; }

 private:
  RTC::RangeData m_range_data;
  RTC::OutPort<RTC::RangeData> m_range_dataOut;
  ResultInPorts m_results;
};

// Registers the driver's factory with the manager.
void registerScanReplayDriver(RTC::Manager* manager);

#endif
