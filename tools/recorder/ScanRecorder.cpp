#include "tools/recorder/ScanRecorder.h"

#include <coil/Properties.h>
#include <rtm/Factory.h>

#include <chrono>
#include <cstdint>
#include <iostream>

#include "tools/scanlog/ScanLogRangeData.h"

namespace {

const char* kScanRecorderProfile[] = {
    "implementation_id", "ScanRecorder",
    "type_name", "ScanRecorder",
    "description", "Writes the laser scans it receives to a scan log",
    "version", "1.0.0",
    "vendor", "Tavoran",
    "category", "Recorder",
    "activity_type", "PERIODIC",
    "kind", "DataFlowComponent",
    "max_instance", "1",
    "language", "C++",
    "lang_type", "compile",
    "conf.default.file", "scans.log",
    ""};

int64_t wallClockMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

ScanRecorder::ScanRecorder(RTC::Manager* manager)
    : RTC::DataFlowComponentBase(manager), m_recorded(0), m_range_dataIn("range_data", m_range_data) {}

RTC::ReturnCode_t ScanRecorder::onInitialize() {
  addInPort("range_data", m_range_dataIn);
  bindParameter("file", m_file, "scans.log");
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ScanRecorder::onActivated(RTC::UniqueId) {
  m_log.open(m_file.c_str(), std::ios::out | std::ios::trunc);
  if (!m_log) {
    RTC_ERROR(("cannot write the scan log %s", m_file.c_str()));
    return RTC::RTC_ERROR;
  }
  m_log << "# Strolvex scan log v1, recorded by " << getInstanceName() << '\n';
  m_recorded = 0;
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ScanRecorder::onDeactivated(RTC::UniqueId) {
  if (!m_log.is_open()) return RTC::RTC_OK;
  m_log.close();
  std::cout << (std::string(getInstanceName()) + ": recorded " + std::to_string(m_recorded) +
                " scans to " + m_file + "\n")
            << std::flush;
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ScanRecorder::onExecute(RTC::UniqueId) {
  while (m_range_dataIn.isNew()) {
    m_range_dataIn.read();
    recordScan();
  }
  if (!m_log) {
    RTC_ERROR(("writing the scan log %s failed", m_file.c_str()));
    return RTC::RTC_ERROR;
  }
  return RTC::RTC_OK;
}

void ScanRecorder::recordScan() {
  // A producer that leaves the time stamp unset gets the arrival time.
  const bool stamped = m_range_data.tm.sec != 0 || m_range_data.tm.nsec != 0;
  m_scan.t_ms = stamped ? millisecondsOf(m_range_data.tm) : wallClockMs();
  m_scan.ranges.resize(m_range_data.ranges.length());
  for (CORBA::ULong step = 0; step < m_range_data.ranges.length(); ++step)
    m_scan.ranges[step] = m_range_data.ranges[step];
  // Flushed scan by scan, so an interrupted session keeps what it saw.
  m_log << formatScanLine(m_scan) << '\n' << std::flush;
  ++m_recorded;
}

void ScanRecorderInit(RTC::Manager* manager) {
  coil::Properties profile(kScanRecorderProfile);
  manager->registerFactory(profile, RTC::Create<ScanRecorder>, RTC::Delete<ScanRecorder>);
}
