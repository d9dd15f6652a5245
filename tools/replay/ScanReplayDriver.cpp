#include "tools/replay/ScanReplayDriver.h"

#include <coil/Properties.h>
#include <rtm/Factory.h>

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

// Takes the newest sample of a port into values; false when none was new.
bool take(RTC::InPort<RTC::TimedLongSeq>& port, const RTC::TimedLongSeq& sample,
          std::vector<int32_t>& values) {
  if (!port.isNew()) return false;
  while (port.isNew()) port.read();
  values.clear();
  for (CORBA::ULong k = 0; k < sample.data.length(); ++k)
    values.push_back(static_cast<int32_t>(sample.data[k]));
  return true;
}

}  // namespace

ScanReplayDriver::ScanReplayDriver(RTC::Manager* manager)
    : RTC::DataFlowComponentBase(manager),
      m_range_dataOut("range_data", m_range_data),
      m_human_dataXIn("human_dataX", m_human_dataX),
      m_human_dataYIn("human_dataY", m_human_dataY),
      m_human_dataVIn("human_dataV", m_human_dataV),
      m_human_dataTIn("human_dataT", m_human_dataT),
      m_count_dataIn("count_data", m_count_data) {}

RTC::ReturnCode_t ScanReplayDriver::onInitialize() {
  addOutPort("range_data", m_range_dataOut);
  addInPort("human_dataX", m_human_dataXIn);
  addInPort("human_dataY", m_human_dataYIn);
  addInPort("human_dataV", m_human_dataVIn);
  addInPort("human_dataT", m_human_dataTIn);
  addInPort("count_data", m_count_dataIn);
  return RTC::RTC_OK;
}

void ScanReplayDriver::sendScan(const ScanRecord& scan) {
  m_range_data.tm.sec = static_cast<CORBA::ULong>(scan.t_ms / 1000);
  m_range_data.tm.nsec = static_cast<CORBA::ULong>(scan.t_ms % 1000 * 1000000);
  m_range_data.ranges.length(static_cast<CORBA::ULong>(scan.ranges.size()));
  for (std::size_t s = 0; s < scan.ranges.size(); ++s)
    m_range_data.ranges[static_cast<CORBA::ULong>(s)] = scan.ranges[s];
  m_range_dataOut.write();
}

bool ScanReplayDriver::takeResults(ReplayResult& result) {
  // Every port is drained, so a partial publication never mixes with the
  // next scan's.
  bool complete = take(m_human_dataXIn, m_human_dataX, result.x);
  complete = take(m_human_dataYIn, m_human_dataY, result.y) && complete;
  complete = take(m_human_dataVIn, m_human_dataV, result.v) && complete;
  complete = take(m_human_dataTIn, m_human_dataT, result.h) && complete;
  complete = take(m_count_dataIn, m_count_data, result.count) && complete;
  return complete;
}

void registerScanReplayDriver(RTC::Manager* manager) {
  coil::Properties profile(kScanReplayProfile);
  manager->registerFactory(profile, RTC::Create<ScanReplayDriver>,
                           RTC::Delete<ScanReplayDriver>);
}
