#include "tools/replay/ScanReplayDriver.h"

#include <coil/Properties.h>
#include <rtm/Factory.h>

#include "tools/scanlog/ScanLogRangeData.h"

const char* const ScanReplayDriver::kTypeName = "ScanReplay";

namespace {

const char* kScanReplayProfile[] = {
    "implementation_id", "ScanReplay",
    "type_name",         "ScanReplay",
    "description",       "Feeds recorded scans to Strolvex and collects its results",
    "version",           "1.0.0",
    "vendor",            "Strolvex",
    "category",          "Tool",
    "activity_type",     "PERIODIC",
    "kind",              "DataFlowComponent",
    "max_instance",      "1",
    "language",          "C++",
    "lang_type",         "compile",
    ""};

}  // namespace

ScanReplayDriver::ScanReplayDriver(RTC::Manager* manager)
    : RTC::DataFlowComponentBase(manager),
      m_range_dataOut("range_data", m_range_data) {}

RTC::ReturnCode_t ScanReplayDriver::onInitialize() {
  addOutPort("range_data", m_range_dataOut);
  m_results.registerWith(*this);
  return RTC::RTC_OK;
}

bool ScanReplayDriver::sendScan(const ScanRecord& scan) {
  fillRangeData(m_range_data, scan.t_ms, scan.ranges);
  return m_range_dataOut.write();
}

void registerScanReplayDriver(RTC::Manager* manager) {
  coil::Properties profile(kScanReplayProfile);
  manager->registerFactory(profile, RTC::Create<ScanReplayDriver>,
                           RTC::Delete<ScanReplayDriver>);
}
