// ResultLogger: an RT-Component that listens to Strolvex's five outputs,
// prints the counts whenever they change and a summary at shutdown, and can
// keep every cycle as a JSON line.
#ifndef STROLVEX_TOOLS_LOGGER_RESULTLOGGER_H
#define STROLVEX_TOOLS_LOGGER_RESULTLOGGER_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/InPort.h>
#include <rtm/Manager.h>

#include <fstream>
#include <string>

#include "tools/logger/CountReport.h"
#include "tools/results/ResultInPorts.h"

class ResultLogger : public RTC::DataFlowComponentBase {
 public:
  explicit ResultLogger(RTC::Manager* manager);

  RTC::ReturnCode_t onInitialize() override;
  RTC::ReturnCode_t onFinalize() override;
  RTC::ReturnCode_t onActivated(RTC::UniqueId exec_handle) override;
  RTC::ReturnCode_t onDeactivated(RTC::UniqueId exec_handle) override;
  RTC::ReturnCode_t onExecute(RTC::UniqueId exec_handle) override;

 private:
  void takeSample();
  void writeJson();
  void say(const std::string& text);

  std::string m_json_file;  // empty: no JSON lines
  std::ofstream m_json;
  CountReport m_report;

  ResultInPorts m_results;
};

extern "C" void ResultLoggerInit(RTC::Manager* manager);

#endif
