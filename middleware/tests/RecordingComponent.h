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
  explicit RecordingComponent(RTC::Manager* manager);
  ~RecordingComponent() override;

  RTC::ReturnCode_t onInitialize() override;
  RTC::ReturnCode_t onFinalize() override;
  RTC::ReturnCode_t onStartup(RTC::UniqueId id) override;
  RTC::ReturnCode_t onShutdown(RTC::UniqueId id) override;
  RTC::ReturnCode_t onActivated(RTC::UniqueId id) override;
  RTC::ReturnCode_t onDeactivated(RTC::UniqueId id) override;
  RTC::ReturnCode_t onExecute(RTC::UniqueId id) override;
  RTC::ReturnCode_t onAborting(RTC::UniqueId id) override;
  RTC::ReturnCode_t onError(RTC::UniqueId id) override;
  RTC::ReturnCode_t onReset(RTC::UniqueId id) override;
  RTC::ReturnCode_t onStateUpdate(RTC::UniqueId id) override;

  std::thread::id threadOf(const std::string& callback);
  int executions();

  // Bound configuration.
  int m_count;
  std::string m_label;
  int m_countAtActivation;

  RTC::TimedLongSeq m_in;
  RTC::InPort<RTC::TimedLongSeq> m_inPort;
  RTC::TimedLongSeq m_out;
  RTC::OutPort<RTC::TimedLongSeq> m_outPort;
  bool m_writeAtActivation;

 private:
  RTC::ReturnCode_t record(const char* callback);

  std::mutex m_mutex;
  std::map<std::string, std::thread::id> m_threads;
  int m_executions;
};

// Registers RecordingComponent as "Recorder" (category "Test") with
// conf.default.count = 5 in its profile.
bool registerRecorder(RTC::Manager* manager);

#endif
