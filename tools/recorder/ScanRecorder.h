// ScanRecorder: an RT-Component that writes every scan it receives on
// "range_data" to a scan log, so a session can be replayed later.
#ifndef STROLVEX_TOOLS_RECORDER_SCANRECORDER_H
#define STROLVEX_TOOLS_RECORDER_SCANRECORDER_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/InPort.h>
#include <rtm/Manager.h>

#include <fstream>
#include <string>

#include "tools/scanlog/ScanLog.h"

class ScanRecorder : public RTC::DataFlowComponentBase {
 public:
  explicit ScanRecorder(RTC::Manager* manager);

  RTC::ReturnCode_t onInitialize() override;
  RTC::ReturnCode_t onActivated(RTC::UniqueId exec_handle) override;
  RTC::ReturnCode_t onDeactivated(RTC::UniqueId exec_handle) override;
  RTC::ReturnCode_t onExecute(RTC::UniqueId exec_handle) override;

 private:
  void recordScan();

  std::string m_file;
  std::ofstream m_log;
  ScanRecord m_scan;
  long m_recorded;

  RTC::RangeData m_range_data;
  RTC::InPort<RTC::RangeData> m_range_dataIn;
};

extern "C" void ScanRecorderInit(RTC::Manager* manager);

#endif
