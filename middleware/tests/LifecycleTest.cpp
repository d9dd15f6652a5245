#include "TestSupport.h"

#include <rtm/ExtTrigExecutionContext.h>

#include <algorithm>
#include <thread>

namespace {

typedef std::vector<std::string> Events;

class Lifecycle : public ManagerTest {
 protected:
  // A Recorder on an externally triggered context.
  RecordingComponent* create(const std::string& args = "") {
    start({"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext"});
    auto* comp = static_cast<RecordingComponent*>(m_manager->createComponent(("Recorder" + args).c_str()));
    m_context = comp != nullptr ? comp->get_context(0) : nullptr;
    m_trigger = OpenRTM::ExtTrigExecutionContextService::_narrow(m_context);
    return comp;
  }

  RTC::ExecutionContext_var m_context = nullptr;
  OpenRTM::ExtTrigExecutionContextService_var m_trigger = nullptr;
};

}  // namespace

TEST_F(Lifecycle, CallbacksFromCreationToDeletion) {
  RecordingComponent* comp = create();
  ASSERT_NE(nullptr, comp);
  ASSERT_FALSE(CORBA::is_nil(m_trigger));
  EXPECT_EQ(RTC::INACTIVE_STATE, m_context->get_component_state(comp));
  m_trigger->tick();  // inactive: nothing runs

  EXPECT_EQ(RTC::RTC_OK, m_context->activate_component(comp->getObjRef()));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, m_context->activate_component(comp));
  EXPECT_EQ(RTC::ACTIVE_STATE, m_context->get_component_state(comp));
  m_trigger->tick();
  m_trigger->tick();
  EXPECT_EQ(RTC::RTC_OK, m_context->deactivate_component(comp));
  m_trigger->tick();
  EXPECT_EQ(RTC::RTC_OK, m_context->activate_component(comp));
  m_manager->deleteComponent("Recorder0");

  EXPECT_EQ((Events{"onInitialize", "onStartup", "onActivated", "onExecute", "onStateUpdate", "onExecute",
                    "onStateUpdate", "onDeactivated", "onActivated", "onDeactivated", "onShutdown", "onFinalize",
                    "destroyed"}),
            eventsOf("Recorder0"));
}

TEST_F(Lifecycle, FailuresAndExceptionsLeadToErrorUntilReset) {
  RecordingComponent* comp = create("?test.fail=onExecute");
  ASSERT_NE(nullptr, comp);
  coil::Properties& props = comp->getProperties();
  ASSERT_EQ(RTC::RTC_OK, m_context->activate_component(comp));
  m_trigger->tick();
  EXPECT_EQ(RTC::ERROR_STATE, m_context->get_component_state(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, m_context->activate_component(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, m_context->deactivate_component(comp));
  m_trigger->tick();

  props["test.fail"] = "";
  props["test.throw"] = "onReset";
  EXPECT_EQ(RTC::RTC_ERROR, m_context->reset_component(comp));
  EXPECT_EQ(RTC::ERROR_STATE, m_context->get_component_state(comp));
  props["test.throw"] = "onStateUpdate";
  EXPECT_EQ(RTC::RTC_OK, m_context->reset_component(comp));
  EXPECT_EQ(RTC::INACTIVE_STATE, m_context->get_component_state(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, m_context->reset_component(comp));
  ASSERT_EQ(RTC::RTC_OK, m_context->activate_component(comp));
  m_trigger->tick();
  EXPECT_EQ(RTC::ERROR_STATE, m_context->get_component_state(comp)) << "an exception counts as failure";

  props["test.throw"] = "";
  props["test.fail"] = "onActivated";
  ASSERT_EQ(RTC::RTC_OK, m_context->reset_component(comp));
  EXPECT_EQ(RTC::RTC_ERROR, m_context->activate_component(comp));
  EXPECT_EQ(RTC::ERROR_STATE, m_context->get_component_state(comp));
  EXPECT_EQ((Events{"onInitialize", "onStartup", "onActivated", "onExecute", "onDeactivated", "onAborting",
                    "onError", "onReset", "onReset", "onActivated", "onExecute", "onStateUpdate", "onDeactivated",
                    "onAborting", "onReset", "onActivated", "onDeactivated", "onAborting"}),
            eventsOf("Recorder0"));
}

TEST_F(Lifecycle, PeriodicContextRunsEverythingOnItsOwnThread) {
  start({"-o", "exec_cxt.periodic.rate:500"});
  auto* comp = static_cast<RecordingComponent*>(m_manager->createComponent("Recorder"));
  ASSERT_NE(nullptr, comp);
  RTC::ExecutionContext_var context = comp->get_context(0);
  ASSERT_EQ(RTC::RTC_OK, context->activate_component(comp));
  ASSERT_TRUE(eventually([] {
    const Events events = eventsOf("Recorder0");
    return std::count(events.begin(), events.end(), "onExecute") >= 3;
  }));
  ASSERT_EQ(RTC::RTC_OK, context->deactivate_component(comp));

  const std::thread::id worker = comp->threadOf("onActivated");
  EXPECT_NE(std::this_thread::get_id(), worker);
  EXPECT_EQ(worker, comp->threadOf("onExecute"));
  EXPECT_EQ(worker, comp->threadOf("onStateUpdate"));
  EXPECT_EQ(worker, comp->threadOf("onDeactivated"));
}
