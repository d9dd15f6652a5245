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

bool ScanReplayDriver::sendScan(ScanRecord& scan) {
  setMilliseconds(m_range_data.tm, scan.t_ms);
  // The bound sequence borrows the ranges (it does not own or free them)
  // for the write alone, which saves copying them in first.
  const CORBA::ULong length = static_cast<CORBA::ULong>(scan.ranges.size());
  m_range_data.ranges.replace(length, length, scan.ranges.data(), false);
  const bool sent = m_range_dataOut.write();
  m_range_data.ranges.replace(0, 0, nullptr, false);
  return sent;
}

void registerScanReplayDriver(RTC::Manager* manager) {
  coil::Properties profile(kScanReplayProfile);
  manager->registerFactory(profile, RTC::Create<ScanReplayDriver>,
                           RTC::Delete<ScanReplayDriver>);
}
