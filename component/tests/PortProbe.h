// The other end of every Strolvex port, for tests and fuzzing: it writes
// scans to range_data and reads the five outputs.
#ifndef STROLVEX_COMPONENT_TESTS_PORTPROBE_H
#define STROLVEX_COMPONENT_TESTS_PORTPROBE_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/InPort.h>
#include <rtm/Manager.h>
#include <rtm/OutPort.h>

#include <cstdint>
#include <vector>

// Strolvex's out-ports, in the order of PortProbe::Output.
const char* const kStrolvexOutputs[5] = {"human_dataX", "human_dataY", "human_dataV", "human_dataT", "count_data"};

// Its in-ports bear the names of the out-ports they listen to.
struct PortProbe : RTC::DataFlowComponentBase {
  enum Output { kX, kY, kV, kT, kCount };

  explicit PortProbe(RTC::Manager* manager)
      : RTC::DataFlowComponentBase(manager),
        scanOut("scan", scan),
        outputs{{kStrolvexOutputs[0], received[0]}, {kStrolvexOutputs[1], received[1]},
                {kStrolvexOutputs[2], received[2]}, {kStrolvexOutputs[3], received[3]},
                {kStrolvexOutputs[4], received[4]}} {}
  RTC::ReturnCode_t onInitialize() override {
    addOutPort("scan", scanOut);
    for (int output = kX; output <= kCount; ++output) addInPort(kStrolvexOutputs[output], outputs[output]);
    return RTC::RTC_OK;
  }

  void sendScan(const std::vector<double>& ranges) {
    scan.ranges.length(static_cast<CORBA::ULong>(ranges.size()));
    for (CORBA::ULong s = 0; s < ranges.size(); ++s) scan.ranges[s] = ranges[s];
    scanOut.write();
  }
  // The values of the oldest unread sample (left in received[output]); none
  // when nothing arrived (an empty port would read back its last sample).
  std::vector<int32_t> take(int output) {
    std::vector<int32_t> values;
    if (!outputs[output].isNew()) return values;
    outputs[output].read();
    for (CORBA::ULong k = 0; k < received[output].data.length(); ++k) values.push_back(received[output].data[k]);
    return values;
  }
  // Reads every unread output sample; true when there was one.
  bool drain() {
    bool any = false;
    for (auto& port : outputs) {
      for (; port.isNew(); any = true) port.read();
    }
    return any;
  }

  RTC::RangeData scan;
  RTC::TimedLongSeq received[5];
  RTC::OutPort<RTC::RangeData> scanOut;
  RTC::InPort<RTC::TimedLongSeq> outputs[5];
};

#endif
