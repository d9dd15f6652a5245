// ScipScanner: an RT-Component that reads a SCIP 2.0 laser scanner (serial,
// USB or TCP) and publishes every scan on "range_data", ranges in
// millimetres indexed by the sensor's own step numbers.
//
// A reader thread, started at activation, owns the device and writes each
// scan to the out-port as soon as its last byte is in: the spacing of the
// published scans is the sensor's, none waits for a cycle of the execution
// context, and none is lost to a cycle that came late. The execution
// context only watches for a refused configuration.
#ifndef STROLVEX_TOOLS_SCANNER_SCIPSCANNER_H
#define STROLVEX_TOOLS_SCANNER_SCIPSCANNER_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/Manager.h>
#include <rtm/OutPort.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "tools/scanner/ScannerLoop.h"

class ScipScanner : public RTC::DataFlowComponentBase {
 public:
  explicit ScipScanner(RTC::Manager* manager);
  ~ScipScanner() override;

  RTC::ReturnCode_t onInitialize() override;
  RTC::ReturnCode_t onFinalize() override;
  RTC::ReturnCode_t onActivated(RTC::UniqueId exec_handle) override;
  RTC::ReturnCode_t onDeactivated(RTC::UniqueId exec_handle) override;
  RTC::ReturnCode_t onExecute(RTC::UniqueId exec_handle) override;

  // What the reader has seen since the last activation.
  ScannerCounts counts() const;

 private:
  void stopReader();
  void log(ScannerLoop::Level level, const std::string& text);
  void publish(const RTC::RangeData& scan);

  // Configuration.
  std::string m_device;
  int m_baud;
  int m_first_step;  // -1: the sensor's first step
  int m_last_step;   // -1: the sensor's last step
  int m_timeout_ms;

  std::unique_ptr<ScannerLoop> m_loop;
  std::atomic<bool> m_stop;
  std::thread m_reader;

  RTC::RangeData m_range_data;
  RTC::OutPort<RTC::RangeData> m_range_dataOut;
};

extern "C" void ScipScannerInit(RTC::Manager* manager);

#endif
