// Component configuration: where values come from and when bound
// variables follow a change.
#include "TestSupport.h"

namespace {

using Configuration = ManagerTest;

TEST_F(Configuration, LaterSourcesWinInTheDocumentedOrder) {
  start({"-o", "Test.Recorder.config_file:" +
                   writeScratchFile("type.conf", "conf.default.count: 9\nconf.default.x: type file\n"),
         "-o", "Test.Recorder.conf.default.x:type key", "-o", "Test.Recorder.conf.default.y:type key",
         "-o", "Test.rec.config_file:" +
                   writeScratchFile("inst.conf", "conf.default.y: instance file\nconf.default.z: instance file\n"),
         "-o", "Test.rec.conf.default.z:instance key"});
  Recorder* comp = create("?instance_name=rec&conf.default.w=argument");
  ASSERT_NE(nullptr, comp);
  const coil::Properties& props = comp->getProperties();
  EXPECT_EQ("argument", props.getProperty("conf.default.w"));
  EXPECT_EQ(9, comp->m_count) << "bound variables follow the merged set after onInitialize";
  EXPECT_EQ("type key", props.getProperty("conf.default.x"));
  EXPECT_EQ("instance file", props.getProperty("conf.default.y"));
  EXPECT_EQ("instance key", props.getProperty("conf.default.z"));
  EXPECT_EQ("type key", create()->getProperties().getProperty("conf.default.y")) << "instance keys stay with rec";
  stop();
  start({"-o", "Test.Recorder.config_file:/nonexistent/recorder.conf"});
  EXPECT_EQ(nullptr, create()) << "a missing config_file fails creation";
}

TEST_F(Configuration, ASetAppliesOnceActivatedAtTheNextRefresh) {
  start({"-o", "exec_cxt.periodic.type:SynchExtTriggerEC", "-o", "exec_cxt.sync_transition:NO",
         "-o", "Test.Recorder.conf.default.count:abc", "-o", "Test.Recorder.conf.other.count:4"});
  Recorder* comp = create();
  ASSERT_NE(nullptr, comp);
  EXPECT_EQ(7, comp->m_count) << "a value that does not convert gives the bindParameter default";
  RTC::ConfigAdmin& config = comp->getConfigService();
  coil::Properties set("default");
  set.setProperty("count", "3");
  ASSERT_TRUE(config.setConfigurationSetValues(set));
  activate(comp);
  tick(comp);
  EXPECT_EQ(7, comp->m_countAtActivation) << "stored, not active";
  ASSERT_TRUE(config.activateConfigurationSet("default"));
  EXPECT_EQ(7, comp->m_count) << "until the next refresh";
  tick(comp);
  EXPECT_EQ(3, comp->m_count) << "refreshed after onStateUpdate";

  set.setProperty("count", "99999999999");
  config.setConfigurationSetValues(set);
  config.activateConfigurationSet("default");
  tick(comp);
  EXPECT_EQ(7, comp->m_count) << "overflow is no value";

  EXPECT_FALSE(config.activateConfigurationSet("missing"));
  ASSERT_TRUE(config.activateConfigurationSet("other"));
  deactivate(comp);
  tick(comp);
  activate(comp);
  tick(comp);
  EXPECT_EQ(4, comp->m_countAtActivation) << "refreshed before onActivated";
  EXPECT_STREQ("other", config.getActiveId());
}

}  // namespace
