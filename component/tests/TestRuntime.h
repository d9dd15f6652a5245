// The middleware as every test program sees it: one manager per process,
// started on first use and stopped when the tests end, in which tests
// create, wire, drive and delete components through the calls any
// OpenRTM-aist installation offers.
//
// Components run on SynchExtTriggerEC contexts: a cycle runs only when a
// test ticks the component's context, in the test's own thread, and a
// transition a test requests takes effect at that tick.
#ifndef STROLVEX_COMPONENT_TESTS_TESTRUNTIME_H
#define STROLVEX_COMPONENT_TESTS_TESTRUNTIME_H

#include <rtm/Factory.h>
#include <rtm/Manager.h>
#include <rtm/RTObject.h>

#include <string>
#include <vector>

namespace testrt {

// The test program's manager. Extra manager options must be given before
// its first use (see managerOptions).
RTC::Manager& manager();
// Options the manager is started with, after the harness's own; a test
// program sets them from a static initialiser.
std::vector<std::string>& managerOptions();

// Registers type T under profile (a null-terminated key/value list ending
// in ""); returns false when the type is known already.
template <class T>
bool registerType(const char* profile[]) {
  coil::Properties properties(profile);
  return manager().registerFactory(properties, RTC::Create<T>, RTC::Delete<T>);
}

// createComponent(args); null when the manager refuses.
RTC::RTObject_impl* create(const std::string& args);
// Deactivates comp if active, finalizes and deletes it.
void destroy(RTC::RTObject_impl* comp);
// Destroys comp when the running test ends.
void destroyAtTestEnd(RTC::RTObject_impl* comp);

// Connects comp's out-port to other's in-port ("push", "flush").
bool connect(RTC::RTObject_impl* comp, const std::string& outPort, RTC::RTObject_impl* other,
             const std::string& inPort);

// Runs one cycle of comp's context.
void tick(RTC::RTObject_impl* comp);
RTC::LifeCycleState state(RTC::RTObject_impl* comp);
// Request the transition and tick once so that it takes effect; return
// the state reached.
RTC::LifeCycleState activate(RTC::RTObject_impl* comp);
RTC::LifeCycleState deactivate(RTC::RTObject_impl* comp);
RTC::LifeCycleState reset(RTC::RTObject_impl* comp);

// Sets one parameter of the active configuration set; bound variables
// follow at the next refresh, that is after the next cycle (or at
// activation).
void setParameter(RTC::RTObject_impl* comp, const std::string& name, const std::string& value);

// What the middleware logged since the tail was made. The manager logs to
// a file of its own, so that components' log lines can be read back on
// every runtime.
class LogTail {
 public:
  LogTail();
  std::string text() const;

 private:
  long m_start;
};

// The test program's main calls these: before the tests, and once they
// have run (the manager stops if it was started).
void prepareTests();
void stopManager();

// Occurrences of part in text.
int occurrences(const std::string& text, const std::string& part);

}  // namespace testrt

#endif
