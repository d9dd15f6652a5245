// ScanSimulator: an RT-Component that plays a laser range finder in front
// of a room where people walk by, so the tracker can run without hardware.
#ifndef STROLVEX_TOOLS_SIMULATOR_SCANSIMULATOR_H
#define STROLVEX_TOOLS_SIMULATOR_SCANSIMULATOR_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/Manager.h>
#include <rtm/OutPort.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/simulator/Scene.h"

class ScanSimulator : public RTC::DataFlowComponentBase {
 public:
  explicit ScanSimulator(RTC::Manager* manager);

  RTC::ReturnCode_t onInitialize() override;
  RTC::ReturnCode_t onActivated(RTC::UniqueId exec_handle) override;
  RTC::ReturnCode_t onDeactivated(RTC::UniqueId exec_handle) override;
  RTC::ReturnCode_t onExecute(RTC::UniqueId exec_handle) override;

  // The scene's own count of passes so far (since the last activation).
  int crossedIn() const;
  int crossedOut() const;

 private:
  double executionRate();
  void publishScan(double t);
  void reportCrossings(const std::vector<Crossing>& crossings);
  void endScene(double t);
  void say(const std::string& text);

  // Configuration.
  unsigned long m_seed;
  double m_duration_s;
  double m_people_per_minute;
  double m_noise_mm;
  double m_min_speed;  // m/s
  double m_max_speed;  // m/s
  double m_scan_rate;  // the scene's scans per second; 0: the context's rate

  std::unique_ptr<Scene> m_scene;
  double m_rate;
  long m_cycle;
  bool m_sceneOver;
  std::vector<double> m_ranges;

  RTC::RangeData m_range_data;
  RTC::OutPort<RTC::RangeData> m_range_dataOut;
};

extern "C" void ScanSimulatorInit(RTC::Manager* manager);

#endif
