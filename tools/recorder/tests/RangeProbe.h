// Test support for the scan tools: a component that sends and receives
// scans for a test.
#ifndef STROLVEX_TOOLS_RECORDER_TESTS_RANGEPROBE_H
#define STROLVEX_TOOLS_RECORDER_TESTS_RANGEPROBE_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/InPort.h>
#include <rtm/Manager.h>
#include <rtm/OutPort.h>

#include <vector>

#include "component/tests/TestRuntime.h"

class RangeProbe : public RTC::DataFlowComponentBase {
 public:
  explicit RangeProbe(RTC::Manager* manager)
      : RTC::DataFlowComponentBase(manager), sendPort("send", sent), receivePort("receive", received) {}
  RTC::ReturnCode_t onInitialize() override {
    addOutPort("send", sendPort);
    addInPort("receive", receivePort);
    return RTC::RTC_OK;
  }
  void send(unsigned long sec, unsigned long nsec, const std::vector<double>& ranges) {
    sent.tm.sec = sec;
    sent.tm.nsec = nsec;
    sent.ranges.length(static_cast<CORBA::ULong>(ranges.size()));
    for (CORBA::ULong k = 0; k < ranges.size(); ++k) sent.ranges[k] = ranges[k];
    sendPort.write();
  }

  RTC::RangeData sent, received;
  RTC::OutPort<RTC::RangeData> sendPort;
  RTC::InPort<RTC::RangeData> receivePort;
};

// Registers RangeProbe with the test program's manager (once).
inline void registerRangeProbe() {
  static const char* profile[] = {"implementation_id", "RangeProbe", "type_name", "RangeProbe", "category", "Test", ""};
  static const bool registered = testrt::registerType<RangeProbe>(profile);
  (void)registered;
}

#endif
