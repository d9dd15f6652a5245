#include "TestSupport.h"

#include <rtm/ExtTrigExecutionContext.h>

using Configuration = ManagerTest;

TEST_F(Configuration, LaterSourcesWinInTheDocumentedOrder) {
  start({"-o", "Test.Recorder.config_file:" +
                   writeScratchFile("type.conf", "conf.default.label: type file\nconf.default.x: type file\n"),
         "-o", "Test.Recorder.conf.default.x:type key",
         "-o", "Test.Recorder.conf.default.y:type key",
         "-o", "Test.rec.config_file:" +
                   writeScratchFile("inst.conf", "conf.default.y: instance file\nconf.default.z: instance file\n"),
         "-o", "Test.rec.conf.default.z:instance key"});
  auto* comp = static_cast<RecordingComponent*>(
      m_manager->createComponent("Recorder?instance_name=rec&conf.default.label=argument&conf.default.w=argument"));
  ASSERT_NE(nullptr, comp);
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
  m_manager->shutdown();
  start({"-o", "Test.Recorder.config_file:/nonexistent/recorder.conf"});
  EXPECT_EQ(nullptr, m_manager->createComponent("Recorder")) << "a missing config_file fails creation";
}

TEST_F(Configuration, BadValuesGiveTheDefaultAndChangesApplyAtTheNextRefresh) {
  start({"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext", "-o", "Test.Recorder.conf.default.count:abc"});
  auto* comp = static_cast<RecordingComponent*>(m_manager->createComponent("Recorder"));
  ASSERT_NE(nullptr, comp);
  EXPECT_EQ(7, comp->m_count) << "a value that does not convert gives the bindParameter default";

  RTC::ExecutionContext_var context = comp->get_context(0);
  comp->getConfigService().setParameter("default", "count", "3");
  EXPECT_EQ(7, comp->m_count);
  ASSERT_EQ(RTC::RTC_OK, context->activate_component(comp));
  EXPECT_EQ(3, comp->m_countAtActivation) << "refreshed before onActivated";

  comp->getConfigService().setParameter("default", "count", "99999999999");
  comp->getConfigService().setParameter("default", "label", " spaced ");
  OpenRTM::ExtTrigExecutionContextService::_narrow(context)->tick();
  EXPECT_EQ(7, comp->m_count) << "refreshed after onStateUpdate; overflow is no value";
  EXPECT_EQ(" spaced ", comp->m_label);
}
