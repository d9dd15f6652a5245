#include "RecordingComponent.h"
#include "TestSupport.h"

#include <rtm/ExtTrigExecutionContext.h>

using Configuration = ManagerTest;

TEST_F(Configuration, LaterSourcesWinInTheDocumentedOrder) {
  TempDir dir;
  const std::string typeFile = dir.write("type.conf", "conf.default.label: type file\nconf.default.x: type file\n");
  const std::string instanceFile = dir.write("inst.conf", "conf.default.y: instance file\nconf.default.z: instance file\n");
  start({"-o", "Test.Recorder.config_file:" + typeFile,
         "-o", "Test.Recorder.conf.default.x:type key",
         "-o", "Test.Recorder.conf.default.y:type key",
         "-o", "Test.rec.config_file:" + instanceFile,
         "-o", "Test.rec.conf.default.z:instance key"});
  auto* comp = static_cast<RecordingComponent*>(
      m_manager->createComponent("Recorder?instance_name=rec&conf.default.label=argument&conf.default.w=argument"));
  ASSERT_NE(nullptr, comp);
  EXPECT_STREQ("rec", comp->getInstanceName());
  EXPECT_STREQ("Recorder", comp->getTypeName());
  EXPECT_STREQ("Test", comp->getCategory());
  const coil::Properties& props = comp->getProperties();
  EXPECT_EQ(5, comp->m_count) << "profile";
  EXPECT_EQ("argument", props.getProperty("conf.default.w"));
  EXPECT_EQ("type file", comp->m_label) << "bound variables follow the merged set after onInitialize";
  EXPECT_EQ("type key", props.getProperty("conf.default.x"));
  EXPECT_EQ("instance file", props.getProperty("conf.default.y"));
  EXPECT_EQ("instance key", props.getProperty("conf.default.z"));

  RTC::RTObject_impl* other = m_manager->createComponent("Recorder");
  ASSERT_NE(nullptr, other);
  EXPECT_EQ("type key", other->getProperties().getProperty("conf.default.y")) << "instance keys stay with rec";
}

TEST_F(Configuration, MissingComponentConfigFileFailsCreation) {
  start({"-o", "Test.Recorder.config_file:/nonexistent/recorder.conf"});
  EXPECT_EQ(nullptr, m_manager->createComponent("Recorder"));
}

TEST_F(Configuration, RunTimeChangesApplyAtTheNextRefresh) {
  start({"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext", "-o", "Test.Recorder.conf.default.count:abc"});
  auto* comp = static_cast<RecordingComponent*>(m_manager->createComponent("Recorder"));
  ASSERT_NE(nullptr, comp);
  EXPECT_EQ(7, comp->m_count) << "a value that does not convert gives the bindParameter default";

  RTC::ExecutionContext_var context = comp->get_context(0);
  OpenRTM::ExtTrigExecutionContextService_var trigger = OpenRTM::ExtTrigExecutionContextService::_narrow(context);
  comp->getConfigService().setParameter("default", "count", "3");
  EXPECT_EQ(7, comp->m_count);
  ASSERT_EQ(RTC::RTC_OK, context->activate_component(comp));
  EXPECT_EQ(3, comp->m_countAtActivation) << "refreshed before onActivated";

  comp->getConfigService().setParameter("default", "count", "12abc");
  comp->getConfigService().setParameter("default", "label", " spaced ");
  trigger->tick();
  EXPECT_EQ(12, comp->m_count) << "refreshed after onStateUpdate";
  EXPECT_EQ(" spaced ", comp->m_label);

  comp->m_count = 99;  // no change in the set: the next cycle leaves it
  trigger->tick();
  EXPECT_EQ(99, comp->m_count);
  EXPECT_FALSE(comp->bindParameter("count", comp->m_count, "1")) << "already bound";
}
