#include "TestSupport.h"

#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace {

typedef std::vector<std::string> Events;

const std::string kModuleDir = TEST_MODULE_DIR;

// What the module-init procedure saw when it ran.
bool g_moduleFactorySeenByInitProc = false;
size_t g_componentsSeenByInitProc = 0;

void recordingInitProc(RTC::Manager* manager) {
  const char* profile[] = {"type_name", "AlternateModule", ""};
  coil::Properties properties(profile);
  // Registration fails only when the preloaded module registered it first.
  g_moduleFactorySeenByInitProc =
      !manager->registerFactory(properties, RTC::Create<RecordingComponent>, RTC::Delete<RecordingComponent>);
  g_componentsSeenByInitProc = manager->getComponents().size();
}

RTC::RTObject_impl* throwingConstructor(RTC::Manager*) { throw std::runtime_error("cannot construct"); }

}  // namespace

TEST_F(ManagerTest, ActivationRunsItsStepsInOrder) {
  start({"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext",
         "-o", "manager.modules.load_path:/nonexistent, " + kModuleDir,
         "-o", "manager.modules.preload:TestModule.so(AlternateInit)",
         "-o", "manager.components.precreate:Recorder?instance_name=reader, Recorder?test.write_at_activation=YES",
         "-o", "manager.components.preconnect:reader.in?port=Recorder0.out&dataflow_type=push",
         "-o", "manager.components.preactivation:Recorder0"});
  g_componentsSeenByInitProc = 99;  // overwritten only when the procedure runs
  m_manager->setModuleInitProc(recordingInitProc);
  ASSERT_TRUE(m_manager->activateManager());
  EXPECT_TRUE(g_moduleFactorySeenByInitProc) << "modules are loaded before the init procedure";
  EXPECT_EQ(0u, g_componentsSeenByInitProc) << "it ran, before components were created";
  ASSERT_EQ(2u, m_manager->getComponents().size());
  // The writer found its port connected when it was activated.
  EXPECT_EQ((Events{"onInitialize", "onStartup", "wrote", "onActivated"}), eventsOf("Recorder0"));
  RTC::RTObject_impl* writer = m_manager->getComponent("Recorder0");
  EXPECT_EQ(RTC::ACTIVE_STATE, writer->get_context(0)->get_component_state(writer));
  RTC::RTObject_impl* reader = m_manager->getComponent("reader");
  EXPECT_EQ(RTC::INACTIVE_STATE, reader->get_context(0)->get_component_state(reader));
}

TEST_F(ManagerTest, ActivationReportsFailuresButRunsEveryStep) {
  start({"-o", "manager.modules.load_path:" + kModuleDir,
         "-o", "manager.modules.preload:Missing.so",
         "-o", "manager.components.precreate:Unknown, Recorder, Recorder",
         "-o", "manager.components.preconnect:Recorder0.in?port=Nobody.out",
         "-o", "manager.components.preactivation:Nobody, Recorder1"});
  g_componentsSeenByInitProc = 99;
  m_manager->setModuleInitProc(recordingInitProc);
  EXPECT_FALSE(m_manager->activateManager());
  EXPECT_EQ(0u, g_componentsSeenByInitProc) << "the init procedure ran after the failed preload";
  ASSERT_EQ(2u, m_manager->getComponents().size()) << "creation went on past the unknown type";
  RTC::RTObject_impl* comp = m_manager->getComponent("Recorder1");
  ASSERT_NE(nullptr, comp);
  EXPECT_EQ(RTC::ACTIVE_STATE, comp->get_context(0)->get_component_state(comp));
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
  auto* reader = static_cast<RecordingComponent*>(m_manager->createComponent("Recorder"));
  ASSERT_NE(nullptr, reader);
  ASSERT_TRUE(m_manager->connectPorts("TestModule0.out", "Recorder0.in"));
  ASSERT_EQ(RTC::RTC_OK, moduleComp->get_context(0)->activate_component(moduleComp));
  ASSERT_TRUE(eventually([reader] { return reader->m_inPort.isNew(); }));
  ASSERT_TRUE(reader->m_inPort.read());
  EXPECT_EQ(42, reader->m_in.data[0]);
}

TEST_F(ManagerTest, ComponentsAreNamedConnectedAndDeletedByInstanceName) {
  start();
  EXPECT_STREQ("Recorder0", m_manager->createComponent("Recorder")->getInstanceName());
  auto* writer = static_cast<RecordingComponent*>(m_manager->createComponent("Recorder"));
  EXPECT_STREQ("Recorder1", writer->getInstanceName());
  EXPECT_EQ(nullptr, m_manager->createComponent("Recorder?instance_name=Recorder1"));
  EXPECT_FALSE(m_manager->connectPorts("Recorder0.in", "Recorder1.out")) << "direction is checked";
  EXPECT_FALSE(m_manager->connectPorts("Nobody.out", "Recorder0.in"));
  ASSERT_TRUE(m_manager->connectPorts("Recorder1.out", "Recorder0.in"));
  EXPECT_TRUE(writer->m_outPort.write());
  m_manager->deleteComponent("Recorder0");
  EXPECT_EQ(nullptr, m_manager->getComponent("Recorder0"));
  EXPECT_FALSE(writer->m_outPort.write()) << "deleting the reader ends the connection";
  EXPECT_STREQ("Recorder0", m_manager->createComponent("Recorder")->getInstanceName()) << "freed names are reused";
}

TEST_F(ManagerTest, CreationRefusesWhatItCannotMake) {
  start();
  EXPECT_FALSE(registerRecorder(m_manager)) << "already registered";
  const char* profile[] = {"type_name", "Limited", "max_instance", "1", ""};
  coil::Properties limited(profile);
  ASSERT_TRUE(m_manager->registerFactory(limited, RTC::Create<RecordingComponent>, RTC::Delete<RecordingComponent>));
  coil::Properties throwing;
  throwing["type_name"] = "Throwing";
  ASSERT_TRUE(m_manager->registerFactory(throwing, throwingConstructor, RTC::Delete<RecordingComponent>));
  EXPECT_NE(nullptr, m_manager->createComponent("Limited"));
  EXPECT_EQ(nullptr, m_manager->createComponent("Limited"));
  for (const char* refused : {"Throwing", "Unknown", "Recorder?novalue", "Recorder?exec_cxt.periodic.rate=0",
                              "Recorder?exec_cxt.periodic.rate=1e-10", "Recorder?exec_cxt.periodic.rate=0.0009",
                              "Recorder?test.fail=onInitialize", "Recorder?test.throw=onInitialize"}) {
    EXPECT_EQ(nullptr, m_manager->createComponent(refused)) << refused;
  }
  EXPECT_EQ(1u, m_manager->getComponents().size());
  EXPECT_EQ((Events{"onInitialize", "destroyed", "onInitialize", "destroyed"}), eventsOf("Recorder0"))
      << "a failed initialization deletes the component";
}

TEST_F(ManagerTest, NothingIsCreatedOnceShutdownHasBegun) {
  start();
  m_manager->shutdown();
  EXPECT_EQ(nullptr, m_manager->createComponent("Recorder"));
  EXPECT_TRUE(m_manager->getComponents().empty());
  EXPECT_TRUE(eventsOf("Recorder0").empty()) << "refused before the factory ran";
}

TEST(ManagerSignals, SigtermFinalizesAndDeletesEveryComponent) {
  // The child exits 0 only if the manager shut down with no component left.
  EXPECT_EXIT(
      {
        clearRecordedEvents();
        RTC::Manager* manager = initManager({"-o", "logger.enable:NO", "-o", "exec_cxt.periodic.rate:200"});
        registerRecorder(manager);
        RTC::RTObject_impl* comp = manager->createComponent("Recorder");
        manager->createComponent("Recorder");
        comp->get_context(0)->activate_component(comp);
        manager->runManager(true);
        kill(getpid(), SIGTERM);
        manager->join();
        for (const char* instance : {"Recorder0", "Recorder1"}) {
          for (const std::string& event : eventsOf(instance)) {
            std::fprintf(stderr, "%s:%s\n", instance, event.c_str());
          }
        }
        _exit(manager->getComponents().empty() ? 0 : 3);
      },
      testing::ExitedWithCode(0),
      "Recorder0:onDeactivated\nRecorder0:onShutdown\nRecorder0:onFinalize\nRecorder0:destroyed\n"
      "Recorder1:onInitialize\nRecorder1:onStartup\n"
      "Recorder1:onShutdown\nRecorder1:onFinalize\nRecorder1:destroyed\n$");
}
