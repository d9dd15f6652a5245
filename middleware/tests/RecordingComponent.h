// A component that records every callback it receives, in order, and fails
// the callback its properties name: "test.fail" returns RTC_ERROR,
// "test.throw" throws.
#ifndef MIDDLEWARE_TESTS_RECORDINGCOMPONENT_H
#define MIDDLEWARE_TESTS_RECORDINGCOMPONENT_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/InPort.h>
#include <rtm/Manager.h>
#include <rtm/OutPort.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Events of every RecordingComponent, as "<instance>:<callback>".
std::vector<std::string> recordedEvents();
void clearRecordedEvents();
// Events of one instance, without the prefix.
std::vector<std::string> eventsOf(const std::string& instance);

class RecordingComponent : public RTC::DataFlowComponentBase {
 public:
  explicit RecordingComponent(RTC::Manager* manager) : DataFlowComponentBase(manager) {}
  ~RecordingComponent() override { record("destroyed"); }

  RTC::ReturnCode_t onInitialize() override;
  RTC::ReturnCode_t onFinalize() override { return record("onFinalize"); }
  RTC::ReturnCode_t onStartup(RTC::UniqueId) override { return record("onStartup"); }
  RTC::ReturnCode_t onShutdown(RTC::UniqueId) override { return record("onShutdown"); }
  // Writes first when test.write_at_activation is YES, recording "wrote"
  // if the out-port had a connection.
  RTC::ReturnCode_t onActivated(RTC::UniqueId) override;
  RTC::ReturnCode_t onDeactivated(RTC::UniqueId) override { return record("onDeactivated"); }
  RTC::ReturnCode_t onExecute(RTC::UniqueId) override { return record("onExecute"); }
  RTC::ReturnCode_t onAborting(RTC::UniqueId) override { return record("onAborting"); }
  RTC::ReturnCode_t onError(RTC::UniqueId) override { return record("onError"); }
  RTC::ReturnCode_t onReset(RTC::UniqueId) override { return record("onReset"); }
  RTC::ReturnCode_t onStateUpdate(RTC::UniqueId) override { return record("onStateUpdate"); }

  // The thread that last ran the callback.
  std::thread::id threadOf(const std::string& callback);

  // Bound configuration.
  int m_count = 0;
  std::string m_label;
  int m_countAtActivation = -1;

  RTC::TimedLongSeq m_in;
  RTC::InPort<RTC::TimedLongSeq> m_inPort{"in", m_in, 4};
  RTC::TimedLongSeq m_out;
  RTC::OutPort<RTC::TimedLongSeq> m_outPort{"out", m_out};

 private:
  RTC::ReturnCode_t record(const char* callback);

  std::mutex m_mutex;
  std::map<std::string, std::thread::id> m_threads;
};

// Registers RecordingComponent as "Recorder" (category "Test") with
// conf.default.count = 5 in its profile.
bool registerRecorder(RTC::Manager* manager);

#endif
