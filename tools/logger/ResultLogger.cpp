#include "tools/logger/ResultLogger.h"

#include <coil/Properties.h>
#include <rtm/Factory.h>

#include <cstdint>
#include <iostream>

#include "tools/scanlog/ScanLogRangeData.h"

namespace {

const char* kResultLoggerProfile[] = {
    "implementation_id", "ResultLogger",
    "type_name", "ResultLogger",
    "description", "Prints Strolvex's counts and keeps its outputs as JSON lines",
    "version", "1.0.0",
    "vendor", "Tavoran",
    "category", "Logger",
    "activity_type", "PERIODIC",
    "kind", "DataFlowComponent",
    "max_instance", "1",
    "language", "C++",
    "lang_type", "compile",
    "conf.default.json_file", "",
    ""};

}  // namespace

ResultLogger::ResultLogger(RTC::Manager* manager)
    : RTC::DataFlowComponentBase(manager) {}

RTC::ReturnCode_t ResultLogger::onInitialize() {
  m_results.registerWith(*this);
  bindParameter("json_file", m_json_file, "");
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ResultLogger::onFinalize() {
  say(m_report.summary());
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ResultLogger::onActivated(RTC::UniqueId) {
  if (m_json_file.empty()) return RTC::RTC_OK;
  m_json.open(m_json_file.c_str(), std::ios::out | std::ios::trunc);
  if (!m_json) {
    RTC_ERROR(("cannot write JSON lines to %s", m_json_file.c_str()));
    return RTC::RTC_ERROR;
  }
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ResultLogger::onDeactivated(RTC::UniqueId) {
  // At shutdown the last cycles' results may still wait in the ports.
  while (m_results.takeNext()) takeSample();
  if (m_json.is_open()) m_json.close();
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ResultLogger::onExecute(RTC::UniqueId) {
  while (m_results.takeNext()) takeSample();
  return RTC::RTC_OK;
}

void ResultLogger::takeSample() {
  const RTC::TimedLongSeq& counts = m_results.counts();
  if (counts.data.length() == 3) {
    const std::string line = m_report.update(counts.data[0], counts.data[1], counts.data[2]);
    if (!line.empty()) say(line);
  } else {
    m_report.skipMalformed();
  }
  if (m_json.is_open()) writeJson();
}

void ResultLogger::writeJson() {
  m_json << m_results.jsonLine(millisecondsOf(m_results.counts().tm)) << '\n';
  m_json.flush();
  if (!m_json) {
    RTC_ERROR(("writing JSON lines to %s failed; no more are written", m_json_file.c_str()));
    m_json.close();
  }
}

void ResultLogger::say(const std::string& text) {
  // One write per line: the components of a demo share the terminal.
  std::cout << (std::string(getInstanceName()) + ": " + text + "\n") << std::flush;
}

void ResultLoggerInit(RTC::Manager* manager) {
  coil::Properties profile(kResultLoggerProfile);
  manager->registerFactory(profile, RTC::Create<ResultLogger>, RTC::Delete<ResultLogger>);
}
