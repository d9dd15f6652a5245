// The middleware as every test program sees it: one manager per process,
// started on first use, in which tests create, wire, drive and delete
// components through the calls any OpenRTM-aist installation offers.
// Components run on SynchExtTriggerEC contexts: a cycle runs only when a
// test ticks it, in the test's own thread.
#ifndef STROLVEX_COMPONENT_TESTS_TESTRUNTIME_H
#define STROLVEX_COMPONENT_TESTS_TESTRUNTIME_H

// The data types first: the 1.1 series declares their Any operators at
// global scope, and its port templates see only those declared before them.
#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/Factory.h>
#include <rtm/Manager.h>
#include <rtm/RTObject.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testrt {

// The test program's manager, started with managerOptions() after the
// harness's own (set them from a static initialiser, before first use).
RTC::Manager& manager();
std::vector<std::string>& managerOptions();

// Registers type T under profile (key/value pairs ending in ""); false
// when the type is known already.
template <class T>
bool registerType(const char* profile[]) {
  coil::Properties properties(profile);
  return manager().registerFactory(properties, RTC::Create<T>, RTC::Delete<T>);
}

// createComponent(args); null when the manager refuses.
RTC::RTObject_impl* create(const std::string& args);
// Deactivates comp if active, finalizes and deletes it; now or when the
// running test ends.
void destroy(RTC::RTObject_impl* comp);
void destroyAtTestEnd(RTC::RTObject_impl* comp);

// Connects comp's out-port to other's in-port ("push", "flush").
bool connect(RTC::RTObject_impl* comp, const std::string& outPort, RTC::RTObject_impl* other,
             const std::string& inPort);
// The port "<instance>.<name>" from comp's get_ports(); nil if none.
RTC::PortService_ptr port(RTC::RTObject_impl* comp, const std::string& name);
// Asks first to connect to second with these "dataport.<key>" properties;
// id receives the connector's.
typedef std::vector<std::pair<std::string, std::string>> Settings;
RTC::ReturnCode_t connect(RTC::PortService_ptr first, RTC::PortService_ptr second, const Settings& dataport = {},
                          std::string* id = nullptr);

// tick runs one cycle of comp's context; a transition takes effect at one
// tick and returns the state reached.
void tick(RTC::RTObject_impl* comp);
RTC::LifeCycleState state(RTC::RTObject_impl* comp);
RTC::LifeCycleState activate(RTC::RTObject_impl* comp);
RTC::LifeCycleState deactivate(RTC::RTObject_impl* comp);
RTC::LifeCycleState reset(RTC::RTObject_impl* comp);

// Sets one parameter of the active configuration set; bound variables
// follow at the next refresh (after the next cycle, or at activation).
void setParameter(RTC::RTObject_impl* comp, const std::string& name, const std::string& value);

// What the manager logged (to a file of its own, readable on every
// runtime) since the tail was made.
class LogTail {
 public:
  LogTail();
  std::string text() const;

 private:
  long m_start;
};

// The test program's main calls these around the tests.
void prepareTests();
void stopManager();

int occurrences(const std::string& text, const std::string& part);
// Polls until done() holds; false after five seconds.
bool eventually(const std::function<bool()>& done);

}  // namespace testrt

#endif
