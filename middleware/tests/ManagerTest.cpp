// The manager: the steps of activation, preconnection, modules, creation
// and the order of shutdown.
#include "TestSupport.h"

#include <rtm/NVUtil.h>

#include <stdexcept>

namespace {

const std::string kModuleDir = TEST_MODULE_DIR;

// What the module-init procedure saw when it ran.
bool g_moduleFactorySeenByInitProc = false;
size_t g_componentsSeenByInitProc = 0;

void recordingInitProc(RTC::Manager* manager) {
  const char* profile[] = {"type_name", "AlternateModule", "category", "Test", ""};
  coil::Properties properties(profile);
  // Registration fails only when the preloaded module registered it first.
  g_moduleFactorySeenByInitProc = !manager->registerFactory(properties, RTC::Create<Recorder>, RTC::Delete<Recorder>);
  g_componentsSeenByInitProc = manager->getComponents().size();
}

RTC::RTObject_impl* throwingConstructor(RTC::Manager*) { throw std::runtime_error("cannot construct"); }

}  // namespace

TEST_F(ManagerTest, ActivationRunsItsStepsInOrder) {
  start({"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext",
         "-o", "manager.modules.load_path:/nonexistent, " + kModuleDir,
         "-o", "manager.modules.preload:TestModule.so(AlternateInit)",
         "-o", "manager.components.precreate:Recorder?instance_name=reader, Recorder?test.write_at_activation=YES",
         "-o", "manager.components.preconnect:Recorder0.out?port=reader.in&buffer.length=1",
         "-o", "manager.components.preactivation:Recorder0"}, false);
  g_componentsSeenByInitProc = 99;  // overwritten only when the procedure runs
  m_manager->setModuleInitProc(recordingInitProc);
  ASSERT_TRUE(run());
  EXPECT_TRUE(g_moduleFactorySeenByInitProc) << "modules are loaded before the init procedure";
  EXPECT_EQ(0u, g_componentsSeenByInitProc) << "it ran, before components were created";
  // The writer found its port connected when it was activated.
  Events events = eventsOf("Recorder0");
  events.resize(4);
  EXPECT_EQ((Events{"onInitialize", "onStartup", "wrote", "onActivated"}), events);
  EXPECT_EQ(RTC::ACTIVE_STATE, stateOf(m_manager->getComponent("Recorder0")));
  EXPECT_EQ(RTC::INACTIVE_STATE, stateOf(m_manager->getComponent("reader")));
  // The entry's other keys are the connector's dataport properties.
  RTC::PortService_var in = portOf(m_manager->getComponent("reader"), "in");
  RTC::PortProfile_var profile = in->get_port_profile();
  ASSERT_EQ(1u, profile->connector_profiles.length());
  const SDOPackage::NVList& properties = profile->connector_profiles[0].properties;
  EXPECT_EQ("1", NVUtil::toString(properties, "dataport.buffer.length"));
  EXPECT_EQ("push", NVUtil::toString(properties, "dataport.dataflow_type"));
}

TEST_F(ManagerTest, ActivationLogsEachFailedStepAndRunsTheRest) {
  start({"-o", "manager.modules.load_path:" + kModuleDir,
         "-o", "manager.modules.preload:Missing.so",
         "-o", "manager.components.precreate:Unknown, Recorder, Recorder, Recorder, Recorder",
         "-o", "manager.components.preconnect:Recorder0.out?port=Recorder1.in&port=Recorder2.in,"
               "Recorder0.out?port1=Recorder1.in&port2=Recorder2.in,"
               "Recorder0.out:Recorder1.in(dataflow_type=push),"
               "Recorder0.out?port=Recorder1.in&dataflow_type=pull,"
               "Recorder0.out?port=Nobody.in,"
               "Recorder0.out?port=Recorder3.in",
         "-o", "manager.components.preactivation:Nobody, Recorder1"}, false);
  g_componentsSeenByInitProc = 99;
  m_manager->setModuleInitProc(recordingInitProc);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(run());
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(0u, g_componentsSeenByInitProc) << "the init procedure ran after the failed preload";
  ASSERT_EQ(4u, m_manager->getComponents().size()) << "creation went on past the unknown type";
  EXPECT_EQ(RTC::ACTIVE_STATE, stateOf(m_manager->getComponent("Recorder1")));
  // Only the last entry connects: several ports, the 1.1 form, pull and a
  // missing port are refused.
  const auto connections = [this](const char* instance, const char* port) {
    return connectionCount(RTC::PortService_var(portOf(m_manager->getComponent(instance), port)));
  };
  EXPECT_EQ(1u, connections("Recorder0", "out"));
  EXPECT_EQ(0u, connections("Recorder1", "in") + connections("Recorder2", "in"));
  EXPECT_EQ(1u, connections("Recorder3", "in"));
  EXPECT_EQ(5, occurrences(log, "manager.components.preconnect:")) << log;
  EXPECT_NE(std::string::npos, log.find("several ports")) << log;
  EXPECT_NE(std::string::npos, log.find("1.1")) << log;
}

TEST_F(ManagerTest, LoadsModulesThroughTheirOwnInitFunctions) {
  start({"-o", "manager.modules.load_path:" + kModuleDir});
  EXPECT_EQ(RTC::BAD_PARAMETER, m_manager->load("Missing.so", ""));
  EXPECT_EQ(RTC::RTC_ERROR, m_manager->load("TestModule.so", "NoSuchInit"));
  EXPECT_EQ(RTC::RTC_OK, m_manager->load("TestModule", ""));
  EXPECT_EQ(RTC::RTC_OK, m_manager->load(kModuleDir + "/TestModule.so", "AlternateInit"));
  RTC::RTObject_impl* moduleComp = m_manager->createComponent("TestModule");
  ASSERT_NE(nullptr, moduleComp);
  EXPECT_NE(nullptr, m_manager->createComponent("AlternateModule"));

  // A port of the hidden-visibility module connects to one of ours: types
  // match by name, not by type identity.
  Recorder* reader = create();
  ASSERT_EQ(RTC::RTC_OK, connect(RTC::PortService_var(portOf(moduleComp, "out")),
                                 RTC::PortService_var(portOf(reader, "in"))));
  ASSERT_EQ(RTC::RTC_OK, activate(moduleComp));
  ASSERT_TRUE(eventually([reader] { return reader->m_inPort.isNew(); }));
  ASSERT_TRUE(reader->m_inPort.read());
  EXPECT_EQ(42, reader->m_in.data);
}

TEST_F(ManagerTest, ComponentsAreNamedWiredAndDeletedByInstanceName) {
  start();
  Recorder* reader = create();
  Recorder* writer = create();
  EXPECT_STREQ("Recorder0", reader->getInstanceName());
  EXPECT_STREQ("Recorder1", writer->getInstanceName());
  EXPECT_EQ(nullptr, create("?instance_name=Recorder1"));
  RTC::PortService_var out = portOf(writer, "out");
  ASSERT_FALSE(CORBA::is_nil(out)) << "ports are named <instance>.<port>";
  ASSERT_EQ(RTC::RTC_OK, connect(out, RTC::PortService_var(portOf(reader, "in"))));
  EXPECT_TRUE(writer->m_outPort.write());
  m_manager->deleteComponent("Recorder0");
  EXPECT_EQ(nullptr, m_manager->getComponent("Recorder0"));
  EXPECT_FALSE(writer->m_outPort.write()) << "deleting the reader ends the connection";
  EXPECT_EQ(0u, connectionCount(out));
  EXPECT_STREQ("Recorder0", create()->getInstanceName()) << "freed names are reused";
}

TEST_F(ManagerTest, CreationRefusesWhatItCannotMake) {
  start({}, false);
  EXPECT_EQ(nullptr, create()) << "not before activateManager";
  run();
  EXPECT_THROW(Recorder outside(m_manager), std::logic_error) << "only createComponent makes components";
  EXPECT_FALSE(registerRecorder(m_manager)) << "already registered";
  const char* profile[] = {"type_name", "Limited", "max_instance", "1", ""};
  coil::Properties limited(profile);
  EXPECT_FALSE(m_manager->registerFactory(limited, RTC::Create<Recorder>, RTC::Delete<Recorder>)) << "no category";
  limited["category"] = "Test";
  ASSERT_TRUE(m_manager->registerFactory(limited, RTC::Create<Recorder>, RTC::Delete<Recorder>));
  coil::Properties throwing(limited);
  throwing["type_name"] = "Throwing";
  ASSERT_TRUE(m_manager->registerFactory(throwing, throwingConstructor, RTC::Delete<Recorder>));
  EXPECT_NE(nullptr, m_manager->createComponent("Limited"));
  EXPECT_NE(nullptr, m_manager->createComponent("Limited")) << "max_instance is not enforced";
  for (const char* refused : {"Throwing", "Unknown", "Recorder?novalue", "Recorder?exec_cxt.periodic.rate=0",
                              "Recorder?test.fail=onInitialize", "Recorder?test.throw=onInitialize"}) {
    EXPECT_EQ(nullptr, m_manager->createComponent(refused)) << refused;
  }
  EXPECT_EQ(2u, m_manager->getComponents().size());
  EXPECT_EQ((Events{"onInitialize", "destroyed", "onInitialize", "destroyed"}), eventsOf("Recorder0"))
      << "a failed initialization deletes the component";
}

TEST_F(ManagerTest, ShutdownGoesInReverseCreationOrderAndInitThenMakesANewManager) {
  start({"-o", "exec_cxt.periodic.type:SynchExtTriggerEC", "-o", "exec_cxt.sync_transition:NO"});
  Recorder* first = create();
  create();
  Recorder* exited = create();
  activate(first);
  tick(first);
  exited->exit();  // shutdown deletes what no clean-up did
  clearEvents();
  RTC::Manager* old = m_manager;
  stop();
  Events events = allEvents();
  events.erase(std::remove(events.begin(), events.end(), "Recorder2:destroyed"), events.end());
  EXPECT_EQ((Events{"Recorder1:onShutdown", "Recorder1:onFinalize", "Recorder1:destroyed", "Recorder0:onDeactivated",
                    "Recorder0:onShutdown", "Recorder0:onFinalize", "Recorder0:destroyed"}),
            events);
  EXPECT_EQ((Events{"destroyed"}), eventsOf("Recorder2"));
  EXPECT_EQ(nullptr, old->createComponent("Recorder")) << "nothing is made once shut down";

  start({"-o", "marker:new"}, false);
  EXPECT_EQ("new", m_manager->getConfig().getProperty("marker"));
  testing::internal::CaptureStderr();
  m_manager->join();
  EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("never run"))
      << "join() without runManager returns at once";
}
