// The manager: its options, the steps of activation (modules, creation,
// preconnection), component names, and the order of shutdown.
#include "TestSupport.h"

#include <csignal>
#include <unistd.h>

namespace {

// Whether the module-init procedure found the preloaded module's factory
// (its own registration is then refused) and how many components it found.
bool g_moduleFactorySeenByInitProc = false;
size_t g_componentsSeenByInitProc = 0;
void recordingInitProc(RTC::Manager* manager) {
  g_moduleFactorySeenByInitProc = !registerRecorder(manager, "AlternateModule");
  g_componentsSeenByInitProc = manager->getComponents().size();
}

RTC::RTObject_impl* throwingConstructor(RTC::Manager*) { throw std::runtime_error("cannot construct"); }

TEST_F(ManagerTest, ActivationRunsItsStepsInOrder) {
  start({"-o", "manager.modules.load_path:/nonexistent, " TEST_MODULE_DIR,
         "-o", "manager.modules.preload:TestModule.so(AlternateInit)",
         "-o", "manager.components.precreate:Recorder?instance_name=reader, AlternateModule",
         "-o", "manager.components.preconnect:AlternateModule0.out?port=reader.in&buffer.length=1",
         "-o", "manager.components.preactivation:AlternateModule0"}, false);
  g_componentsSeenByInitProc = 99;  // overwritten only when the procedure runs
  m_manager->setModuleInitProc(recordingInitProc);
  ASSERT_TRUE(run());
  EXPECT_TRUE(g_moduleFactorySeenByInitProc) << "modules are loaded before the init procedure";
  EXPECT_EQ(0u, g_componentsSeenByInitProc) << "it ran, before components were created";
  Recorder* reader = static_cast<Recorder*>(m_manager->getComponent("reader"));
  EXPECT_EQ(RTC::INACTIVE_STATE, state(reader));
  // The entry's other keys are the connector's dataport properties.
  RTC::PortProfile_var profile = RTC::PortService_var(port(reader, "in"))->get_port_profile();
  ASSERT_EQ(1u, profile->connector_profiles.length());
  EXPECT_EQ("1", NVUtil::toString(profile->connector_profiles[0].properties, "dataport.buffer.length"));
  // The active writer of the hidden-visibility module reaches our reader:
  // types match by name, not by type identity.
  ASSERT_TRUE(eventually([reader] { return reader->m_inPort.isNew(); }));
  ASSERT_TRUE(reader->m_inPort.read());
  EXPECT_EQ(42, reader->m_in.data);
}

TEST_F(ManagerTest, ActivationLogsEachFailedStepAndRunsTheRest) {
  start({"-o", "manager.modules.load_path:" TEST_MODULE_DIR,
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
  EXPECT_EQ(RTC::ACTIVE_STATE, state(m_manager->getComponent("Recorder1")));
  // Only the last entry connects: several ports, the 1.1 form, pull and a
  // missing port are refused.
  EXPECT_EQ(1u, connectionCount(RTC::PortService_var(port(m_manager->getComponent("Recorder0"), "out"))));
  EXPECT_EQ(1u, connectionCount(RTC::PortService_var(port(m_manager->getComponent("Recorder3"), "in"))));
  EXPECT_EQ(5, occurrences(log, "manager.components.preconnect:")) << log;
  EXPECT_NE(std::string::npos, log.find("several ports")) << log;
  EXPECT_NE(std::string::npos, log.find("1.1")) << log;
}

TEST_F(ManagerTest, CreationNamesComponentsAndRefusesWhatItCannotMake) {
  start({}, false);
  EXPECT_EQ(nullptr, create()) << "not before activateManager";
  run();
  EXPECT_THROW(Recorder outside(m_manager), std::logic_error) << "only createComponent makes components";
  EXPECT_FALSE(registerRecorder(m_manager)) << "already registered";
  const char* profile[] = {"type_name", "Throwing", ""};
  coil::Properties throwing(profile);
  EXPECT_FALSE(m_manager->registerFactory(throwing, throwingConstructor, RTC::Delete<Recorder>)) << "no category";
  throwing["category"] = "Test";
  ASSERT_TRUE(m_manager->registerFactory(throwing, throwingConstructor, RTC::Delete<Recorder>));
  for (const char* refused : {"Throwing", "Unknown", "Recorder?novalue", "Recorder?=x",
                              "Recorder?exec_cxt.periodic.rate=0", "Recorder?test.fail=onInitialize",
                              "Recorder?test.throw=onInitialize"}) {
    EXPECT_EQ(nullptr, m_manager->createComponent(refused)) << refused;
  }
  EXPECT_EQ((Events{"onInitialize", "destroyed", "onInitialize", "destroyed"}), eventsOf("Recorder0"))
      << "a failed initialization deletes the component";
  // Deleting a component ends its connections and frees its name.
  Recorder* reader = create();
  Recorder* writer = create();
  EXPECT_EQ(nullptr, create("?instance_name=Recorder1"));
  ASSERT_EQ(RTC::RTC_OK, connect(RTC::PortService_var(port(writer, "out")), RTC::PortService_var(port(reader, "in"))));
  EXPECT_TRUE(writer->m_outPort.write());
  m_manager->deleteComponent("Recorder0");
  EXPECT_EQ(nullptr, m_manager->getComponent("Recorder0"));
  EXPECT_FALSE(writer->m_outPort.write());
  EXPECT_STREQ("Recorder0", create()->getInstanceName());
}

TEST_F(ManagerTest, ShutdownGoesInReverseCreationOrder) {
  start({"-o", "exec_cxt.periodic.type:SynchExtTriggerEC", "-o", "exec_cxt.sync_transition:NO"});
  Recorder* first = create();
  create();
  Recorder* exited = create();
  activate(first);
  tick(first);
  exited->exit();  // shutdown deletes what no clean-up did
  allEvents(true);
  RTC::Manager* old = m_manager;
  stop();
  EXPECT_EQ((Events{"destroyed"}), eventsOf("Recorder2"));
  EXPECT_EQ((Events{"onShutdown", "onFinalize", "destroyed"}), eventsOf("Recorder1"));
  EXPECT_EQ((Events{"onDeactivated", "onShutdown", "onFinalize", "destroyed"}), eventsOf("Recorder0"));
  const Events all = allEvents();
  EXPECT_LT(std::find(all.begin(), all.end(), "Recorder1:destroyed"),
            std::find(all.begin(), all.end(), "Recorder0:onDeactivated"));
  EXPECT_EQ(nullptr, old->createComponent("Recorder")) << "nothing is made once shut down";
}

TEST(ManagerOptionsDeathTest, AMissingOrMalformedFileEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string malformed = writeScratchFile("bad.conf", "good: 1\nno separator here\n");
  EXPECT_EXIT(initManager({"-f", TEST_SCRATCH_DIR "/missing.conf"}), testing::ExitedWithCode(255), "missing.conf");
  EXPECT_EXIT(initManager({"-f", malformed}), testing::ExitedWithCode(1), "bad.conf:2:");
}

// Runs an active component and an inactive one, signals the process and
// prints what the components went through.
void runAndSignal(int signal) {
  RTC::Manager* manager = initManager({"-o", "logger.enable:NO", "-o", "exec_cxt.periodic.rate:200"});
  registerRecorder(manager);
  manager->activateManager();
  RTC::RTObject_impl* comp = manager->createComponent("Recorder");
  manager->createComponent("Recorder");
  activate(comp);
  manager->runManager(true);
  kill(getpid(), signal);
  manager->join();
  for (const char* instance : {"Recorder0", "Recorder1"}) {
    for (const std::string& event : eventsOf(instance, false)) std::fprintf(stderr, "%s:%s\n", instance, event.c_str());
  }
  _exit(manager->getComponents().empty() ? 0 : 3);
}

TEST(ManagerSignalsDeathTest, SigintShutsDownInOrderWhileSigtermKills) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(runAndSignal(SIGINT), testing::ExitedWithCode(0),
              "Recorder0:onActivated\nRecorder0:onDeactivated\nRecorder0:onShutdown\nRecorder0:onFinalize\n"
              "Recorder0:destroyed\nRecorder1:onInitialize\nRecorder1:onStartup\nRecorder1:onShutdown\n"
              "Recorder1:onFinalize\nRecorder1:destroyed\n$");
  EXPECT_EXIT(runAndSignal(SIGTERM), testing::KilledBySignal(SIGTERM), "");
}

}  // namespace
