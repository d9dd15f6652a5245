#include "tools/logger/ResultLogger.h"

#include <coil/Properties.h>
#include <rtm/Factory.h>

#include <cstdint>
#include <iostream>

#include "tools/results/ResultLine.h"

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
    : RTC::DataFlowComponentBase(manager),
      m_human_dataXIn("human_dataX", m_human_dataX),
      m_human_dataYIn("human_dataY", m_human_dataY),
      m_human_dataVIn("human_dataV", m_human_dataV),
      m_human_dataTIn("human_dataT", m_human_dataT),
      m_count_dataIn("count_data", m_count_data) {}

ResultLogger::~ResultLogger() {}

RTC::ReturnCode_t ResultLogger::onInitialize() {
  addInPort("human_dataX", m_human_dataXIn);
  addInPort("human_dataY", m_human_dataYIn);
  addInPort("human_dataV", m_human_dataVIn);
  addInPort("human_dataT", m_human_dataTIn);
  addInPort("count_data", m_count_dataIn);
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
  if (m_json.is_open()) m_json.close();
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ResultLogger::onExecute(RTC::UniqueId) {
  while (sampleComplete()) takeSample();
  return RTC::RTC_OK;
}

// Strolvex writes its five ports one after the other; a cycle's sample is
// taken only once all five have arrived.
bool ResultLogger::sampleComplete() {
  return m_human_dataXIn.isNew() && m_human_dataYIn.isNew() && m_human_dataVIn.isNew() &&
         m_human_dataTIn.isNew() && m_count_dataIn.isNew();
}

void ResultLogger::takeSample() {
  m_human_dataXIn.read();
  m_human_dataYIn.read();
  m_human_dataVIn.read();
  m_human_dataTIn.read();
  m_count_dataIn.read();
  if (m_count_data.data.length() == 3) {
    const std::string line =
        m_report.update(m_count_data.data[0], m_count_data.data[1], m_count_data.data[2]);
    if (!line.empty()) say(line);
  } else {
    m_report.skipMalformed();
  }
  if (m_json.is_open()) writeJson();
}

void ResultLogger::writeJson() {
  const int64_t t_ms = static_cast<int64_t>(m_count_data.tm.sec) * 1000 + m_count_data.tm.nsec / 1000000;
  m_json << formatResultLine(t_ms, m_human_dataX.data, m_human_dataY.data, m_human_dataV.data,
                             m_human_dataT.data, m_count_data.data)
         << '\n';
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
