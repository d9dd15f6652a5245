// Test support for the scan tools: a manager whose contexts run on tick(),
// and a component that sends and receives scans for a test.
#ifndef STROLVEX_TOOLS_RECORDER_TESTS_RANGEPROBE_H
#define STROLVEX_TOOLS_RECORDER_TESTS_RANGEPROBE_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/ExtTrigExecutionContext.h>
#include <rtm/InPort.h>
#include <rtm/Manager.h>
#include <rtm/OutPort.h>

#include <string>
#include <vector>

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

inline RTC::Manager& tickedManager() {
  static RTC::Manager* manager = [] {
    static std::vector<std::string> args = {"tools_tests", "-o", "exec_cxt.periodic.type:ExtTrigExecutionContext",
                                            "-o", "logger.log_level:ERROR"};
    static std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    RTC::Manager* created = RTC::Manager::init(static_cast<int>(argv.size()), argv.data());
    const char* profile[] = {"implementation_id", "RangeProbe", "type_name", "RangeProbe", "max_instance", "10", ""};
    coil::Properties properties(profile);
    created->registerFactory(properties, RTC::Create<RangeProbe>, RTC::Delete<RangeProbe>);
    return created;
  }();
  return *manager;
}

inline void tick(RTC::RTObject_impl* comp) {
  RTC::ExecutionContext_var ec = comp->get_context(0);
  OpenRTM::ExtTrigExecutionContextService_var trigger = OpenRTM::ExtTrigExecutionContextService::_narrow(ec);
  trigger->tick();
}

#endif
