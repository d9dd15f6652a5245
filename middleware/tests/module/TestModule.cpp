// A component module as the manager loads them: a factory registered by an
// exported init function, everything else hidden.
#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/Manager.h>
#include <rtm/OutPort.h>

namespace {

// Writes 42 on every cycle.
class ModuleComponent : public RTC::DataFlowComponentBase {
 public:
  explicit ModuleComponent(RTC::Manager* manager) : DataFlowComponentBase(manager) { m_out.data = 42; }
  RTC::ReturnCode_t onInitialize() override { return addOutPort("out", m_outPort) ? RTC::RTC_OK : RTC::RTC_ERROR; }
  RTC::ReturnCode_t onExecute(RTC::UniqueId) override {
    m_outPort.write();
    return RTC::RTC_OK;
  }

 private:
  RTC::TimedLong m_out;
  RTC::OutPort<RTC::TimedLong> m_outPort{"out", m_out};
};

}  // namespace

extern "C" __attribute__((visibility("default"))) void AlternateInit(RTC::Manager* manager) {
  const char* profile[] = {"type_name", "AlternateModule", "category", "Test", ""};
  coil::Properties properties(profile);
  manager->registerFactory(properties, RTC::Create<ModuleComponent>, RTC::Delete<ModuleComponent>);
}
