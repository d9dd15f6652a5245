#include "RecordingComponent.h"
#include "TestSupport.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

namespace {

typedef std::vector<std::string> Events;

const std::string kModuleDir = TEST_MODULE_DIR;

// What the module-init procedure saw when it ran.
struct InitProcView {
  bool ran = false;
  bool moduleFactoryRegistered = false;
  size_t components = 0;
} g_initProcView;

void recordingInitProc(RTC::Manager* manager) {
  g_initProcView.ran = true;
  const char* profile[] = {"type_name", "TestModule", ""};
  coil::Properties properties(profile);
  // Registration fails only when the preloaded module registered it first.
  g_initProcView.moduleFactoryRegistered =
      !manager->registerFactory(properties, RTC::Create<RecordingComponent>, RTC::Delete<RecordingComponent>);
  g_initProcView.components = manager->getComponents().size();
}

RTC::RTObject_impl* throwingConstructor(RTC::Manager*) { throw std::runtime_error("cannot construct"); }

}  // namespace

TEST_F(ManagerTest, ActivationRunsItsStepsInOrder) {
  g_initProcView = InitProcView();
  start({"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext",
         "-o", "manager.modules.load_path:/nonexistent, " + kModuleDir,
         "-o", "manager.modules.preload:TestModule.so",
         "-o", "manager.components.precreate:Recorder?instance_name=reader, Recorder?test.write_at_activation=YES",
         "-o", "manager.components.preconnect:reader.in?port=Recorder0.out&dataflow_type=push",
         "-o", "manager.components.preactivation:Recorder0"});
  m_manager->setModuleInitProc(recordingInitProc);
  ASSERT_TRUE(m_manager->activateManager());
  EXPECT_TRUE(g_initProcView.ran);
  EXPECT_TRUE(g_initProcView.moduleFactoryRegistered) << "modules are loaded before the init procedure";
  EXPECT_EQ(0u, g_initProcView.components) << "components are created after it";
  ASSERT_EQ(2u, m_manager->getComponents().size());
  // The writer found its port connected when it was activated.
  EXPECT_EQ((Events{"onInitialize", "onStartup", "wrote", "onActivated"}), eventsOf("Recorder0"));
  RTC::RTObject_impl* writer = m_manager->getComponent("Recorder0");
  EXPECT_EQ(RTC::ACTIVE_STATE, writer->get_context(0)->get_component_state(writer));
  RTC::RTObject_impl* reader = m_manager->getComponent("reader");
  EXPECT_EQ(RTC::INACTIVE_STATE, reader->get_context(0)->get_component_state(reader));
}

TEST_F(ManagerTest, ActivationStopsAtTheFirstFailure) {
  start({"-o", "manager.components.precreate:Recorder, Unknown",
         "-o", "manager.components.preactivation:Recorder0"});
  EXPECT_FALSE(m_manager->activateManager());
  RTC::RTObject_impl* comp = m_manager->getComponent("Recorder0");
  ASSERT_NE(nullptr, comp);
  EXPECT_EQ(RTC::INACTIVE_STATE, comp->get_context(0)->get_component_state(comp));
  m_manager->shutdown();

  start({"-o", "manager.modules.preload:Missing.so"});
  EXPECT_FALSE(m_manager->activateManager());
  start({"-o", "manager.components.precreate:Recorder",
         "-o", "manager.components.preconnect:Recorder0.out"});
  EXPECT_FALSE(m_manager->activateManager());
}

TEST_F(ManagerTest, LoadsModulesAndTheirInitFunctions) {
  start({"-o", "manager.modules.load_path:" + kModuleDir});
  EXPECT_EQ(RTC::RTC_OK, m_manager->load("TestModule", ""));
  EXPECT_EQ(RTC::RTC_OK, m_manager->load(kModuleDir + "/TestModule.so", "AlternateInit"));
  EXPECT_EQ(RTC::BAD_PARAMETER, m_manager->load("Missing.so", ""));
  RTC::RTObject_impl* moduleComp = m_manager->createComponent("TestModule");
  ASSERT_NE(nullptr, moduleComp);
  EXPECT_STREQ("TestModule0", moduleComp->getInstanceName());
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
  m_manager->shutdown();

  start({"-o", "manager.modules.load_path:" + kModuleDir});
  EXPECT_EQ(RTC::RTC_ERROR, m_manager->load("TestModule.so", "NoSuchInit"));
  m_manager->shutdown();
  start({"-o", "manager.modules.load_path:" + kModuleDir,
         "-o", "manager.modules.preload:TestModule.so(AlternateInit)"});
  ASSERT_TRUE(m_manager->activateManager());
  EXPECT_NE(nullptr, m_manager->createComponent("AlternateModule"));
  EXPECT_EQ(nullptr, m_manager->createComponent("TestModule"));
}

TEST_F(ManagerTest, CreationNamesInstancesAndRefusesWhatItCannotMake) {
  start();
  EXPECT_FALSE(registerRecorder(m_manager)) << "already registered";
  const char* profile[] = {"type_name", "Limited", "max_instance", "1", ""};
  coil::Properties limited(profile);
  ASSERT_TRUE(m_manager->registerFactory(limited, RTC::Create<RecordingComponent>, RTC::Delete<RecordingComponent>));
  coil::Properties throwing;
  throwing["type_name"] = "Throwing";
  ASSERT_TRUE(m_manager->registerFactory(throwing, throwingConstructor, RTC::Delete<RecordingComponent>));

  EXPECT_STREQ("Recorder0", m_manager->createComponent("Recorder")->getInstanceName());
  EXPECT_STREQ("Recorder1", m_manager->createComponent("Recorder")->getInstanceName());
  EXPECT_EQ(nullptr, m_manager->createComponent("Recorder?instance_name=Recorder1"));
  m_manager->deleteComponent("Recorder0");
  EXPECT_STREQ("Recorder0", m_manager->createComponent("Recorder")->getInstanceName());

  EXPECT_NE(nullptr, m_manager->createComponent("Limited"));
  EXPECT_EQ(nullptr, m_manager->createComponent("Limited"));
  EXPECT_EQ(nullptr, m_manager->createComponent("Throwing"));
  EXPECT_EQ(nullptr, m_manager->createComponent("Unknown"));
  EXPECT_EQ(nullptr, m_manager->createComponent("Recorder?novalue"));
  EXPECT_EQ(nullptr, m_manager->createComponent("Recorder?exec_cxt.periodic.type=Other"));
  EXPECT_EQ(nullptr, m_manager->createComponent("Recorder?exec_cxt.periodic.rate=0"));
  EXPECT_EQ(3u, m_manager->getComponents().size());
}

TEST_F(ManagerTest, ShutdownFinalizesEveryComponentAndAllowsAFreshManager) {
  start({"-o", "exec_cxt.periodic.rate:200"});
  RTC::RTObject_impl* comp = m_manager->createComponent("Recorder");
  ASSERT_NE(nullptr, comp);
  ASSERT_EQ(RTC::RTC_OK, comp->get_context(0)->activate_component(comp));
  m_manager->createComponent("Recorder");
  m_manager->runManager(true);
  m_manager->terminate();
  m_manager->join();
  const Events events = recordedEvents();
  const Events tail(events.end() - 7, events.end());
  EXPECT_EQ((Events{"Recorder1:onShutdown", "Recorder1:onFinalize", "Recorder1:destroyed", "Recorder0:onDeactivated",
                    "Recorder0:onShutdown", "Recorder0:onFinalize", "Recorder0:destroyed"}),
            tail);
  EXPECT_TRUE(m_manager->getComponents().empty());

  RTC::Manager* fresh = start({"-o", "marker:fresh"});
  EXPECT_EQ("fresh", fresh->getConfig().getProperty("marker"));
  EXPECT_NE(nullptr, fresh->createComponent("Recorder"));
}

// The manager runs in a child process that reports its events through a pipe.
TEST(ManagerSignals, SigtermShutsDownInOrderAndRunManagerReturns) {
  clearRecordedEvents();
  int fds[2];
  ASSERT_EQ(0, pipe(fds));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(fds[0]);
    RTC::Manager* manager = initManager({"-o", "logger.enable:NO", "-o", "exec_cxt.periodic.rate:200"});
    registerRecorder(manager);
    RTC::RTObject_impl* comp = manager->createComponent("Recorder");
    if (comp == nullptr || comp->get_context(0)->activate_component(comp) != RTC::RTC_OK) {
      _exit(2);
    }
    // Announce readiness once runManager has installed its handler.
    std::FILE* out = fdopen(fds[1], "w");
    std::thread announcer([out] {
      eventually([] {
        struct sigaction current;
        sigaction(SIGTERM, nullptr, &current);
        return current.sa_handler != SIG_DFL;
      });
      std::fputs("ready\n", out);
      std::fflush(out);
    });
    manager->runManager(false);
    announcer.join();
    for (const std::string& event : eventsOf("Recorder0")) {
      std::fprintf(out, "%s\n", event.c_str());
    }
    std::fclose(out);
    _exit(0);
  }
  close(fds[1]);
  std::FILE* in = fdopen(fds[0], "r");
  char line[128];
  ASSERT_NE(nullptr, std::fgets(line, sizeof line, in));
  EXPECT_STREQ("ready\n", line);
  ASSERT_EQ(0, kill(child, SIGTERM));
  Events events;
  while (std::fgets(line, sizeof line, in) != nullptr) {
    events.emplace_back(line, std::strlen(line) - 1);
  }
  std::fclose(in);
  int status = 0;
  ASSERT_EQ(child, waitpid(child, &status, 0));
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(0, WEXITSTATUS(status));
  ASSERT_GE(events.size(), 4u);
  EXPECT_EQ((Events{"onDeactivated", "onShutdown", "onFinalize", "destroyed"}), Events(events.end() - 4, events.end()));
}
