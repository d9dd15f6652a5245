#include "RecordingComponent.h"
#include "TestSupport.h"

#include <rtm/ExtTrigExecutionContext.h>

#include <thread>

namespace {

typedef std::vector<std::string> Events;

class Lifecycle : public ManagerTest {
 protected:
  // A Recorder on an externally triggered context.
  RecordingComponent* create(const std::string& args = "") {
    start({"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext"});
    auto* comp = static_cast<RecordingComponent*>(m_manager->createComponent(("Recorder" + args).c_str()));
    if (comp != nullptr) {
      m_context = comp->get_context(0);
      m_trigger = OpenRTM::ExtTrigExecutionContextService::_narrow(m_context);
    }
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
  EXPECT_TRUE(CORBA::is_nil(comp->get_context(1)));
  EXPECT_EQ(RTC::INACTIVE_STATE, m_context->get_component_state(comp));
  m_trigger->tick();  // inactive: nothing runs

  EXPECT_EQ(RTC::RTC_OK, m_context->activate_component(comp->getObjRef()));
  EXPECT_EQ(std::this_thread::get_id(), comp->threadOf("onActivated"));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, m_context->activate_component(comp));
  EXPECT_EQ(RTC::ACTIVE_STATE, m_context->get_component_state(comp));
  m_trigger->tick();
  m_trigger->tick();
  EXPECT_EQ(RTC::RTC_OK, m_context->deactivate_component(comp));
  m_trigger->tick();
  EXPECT_EQ(RTC::RTC_OK, m_context->activate_component(comp));
  m_manager->deleteComponent("Recorder0");
  EXPECT_EQ(nullptr, m_manager->getComponent("Recorder0"));

  EXPECT_EQ((Events{"onInitialize", "onStartup", "onActivated", "onExecute", "onStateUpdate", "onExecute",
                    "onStateUpdate", "onDeactivated", "onActivated", "onDeactivated", "onShutdown", "onFinalize",
                    "destroyed"}),
            eventsOf("Recorder0"));
}

TEST_F(Lifecycle, FailingExecuteLeadsToErrorUntilReset) {
  RecordingComponent* comp = create("?test.fail=onExecute");
  ASSERT_NE(nullptr, comp);
  ASSERT_EQ(RTC::RTC_OK, m_context->activate_component(comp));
  testing::internal::CaptureStderr();
  m_trigger->tick();
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, log.find("Recorder0 entered the error state")) << log;
  EXPECT_EQ(RTC::ERROR_STATE, m_context->get_component_state(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, m_context->activate_component(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, m_context->deactivate_component(comp));
  m_trigger->tick();
  m_trigger->tick();

  comp->getProperties()["test.fail"] = "";
  EXPECT_EQ(RTC::RTC_OK, m_context->reset_component(comp));
  EXPECT_EQ(RTC::INACTIVE_STATE, m_context->get_component_state(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, m_context->reset_component(comp));
  m_trigger->tick();
  EXPECT_EQ((Events{"onInitialize", "onStartup", "onActivated", "onExecute", "onDeactivated", "onAborting",
                    "onError", "onError", "onReset"}),
            eventsOf("Recorder0"));
}

TEST_F(Lifecycle, ExceptionsAndFailedActivationAlsoMeanError) {
  RecordingComponent* comp = create("?test.throw=onStateUpdate");
  ASSERT_NE(nullptr, comp);
  ASSERT_EQ(RTC::RTC_OK, m_context->activate_component(comp));
  m_trigger->tick();
  EXPECT_EQ(RTC::ERROR_STATE, m_context->get_component_state(comp));

  comp->getProperties()["test.throw"] = "onReset";
  EXPECT_EQ(RTC::RTC_ERROR, m_context->reset_component(comp));
  EXPECT_EQ(RTC::ERROR_STATE, m_context->get_component_state(comp));

  comp->getProperties()["test.throw"] = "";
  comp->getProperties()["test.fail"] = "onActivated";
  ASSERT_EQ(RTC::RTC_OK, m_context->reset_component(comp));
  EXPECT_EQ(RTC::RTC_ERROR, m_context->activate_component(comp));
  EXPECT_EQ(RTC::ERROR_STATE, m_context->get_component_state(comp));
  const Events events = eventsOf("Recorder0");
  EXPECT_EQ((Events{"onActivated", "onDeactivated", "onAborting"}), Events(events.end() - 3, events.end()));

  RTC::RTObject_impl* stranger = m_manager->createComponent("Recorder");
  ASSERT_NE(nullptr, stranger);
  EXPECT_EQ(RTC::BAD_PARAMETER, m_context->activate_component(stranger));
}

TEST_F(Lifecycle, FailedInitializationCreatesNothing) {
  EXPECT_EQ(nullptr, create("?test.fail=onInitialize"));
  EXPECT_EQ(nullptr, m_manager->createComponent("Recorder?test.throw=onInitialize"));
  EXPECT_TRUE(m_manager->getComponents().empty());
  EXPECT_EQ((Events{"Recorder0:onInitialize", "Recorder0:destroyed", "Recorder0:onInitialize",
                    "Recorder0:destroyed"}),
            recordedEvents());
}

TEST_F(Lifecycle, PeriodicContextRunsEverythingOnItsOwnThread) {
  start({"-o", "exec_cxt.periodic.rate:500"});
  auto* comp = static_cast<RecordingComponent*>(m_manager->createComponent("Recorder"));
  ASSERT_NE(nullptr, comp);
  RTC::ExecutionContext_var context = comp->get_context(0);
  EXPECT_TRUE(CORBA::is_nil(OpenRTM::ExtTrigExecutionContextService::_narrow(context)));
  ASSERT_EQ(RTC::RTC_OK, context->activate_component(comp));
  EXPECT_EQ(RTC::ACTIVE_STATE, context->get_component_state(comp));
  ASSERT_TRUE(eventually([comp] { return comp->executions() >= 3; }));
  ASSERT_EQ(RTC::RTC_OK, context->deactivate_component(comp));

  const std::thread::id worker = comp->threadOf("onActivated");
  EXPECT_NE(std::this_thread::get_id(), worker);
  EXPECT_EQ(worker, comp->threadOf("onExecute"));
  EXPECT_EQ(worker, comp->threadOf("onStateUpdate"));
  EXPECT_EQ(worker, comp->threadOf("onDeactivated"));
  m_manager->deleteComponent("Recorder0");
  const Events events = eventsOf("Recorder0");
  EXPECT_EQ((Events{"onDeactivated", "onShutdown", "onFinalize", "destroyed"}), Events(events.end() - 4, events.end()));
}
