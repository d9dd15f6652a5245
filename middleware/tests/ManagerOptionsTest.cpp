// What the manager reads at start, and the signals that end it.
#include "TestSupport.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <unistd.h>

using ManagerOptions = ManagerTest;

TEST_F(ManagerOptions, FileThenOverridesAndUnknownOptionsAreIgnored) {
  const std::string file = writeScratchFile("test.conf", "# comment\n\n  a.b : from file  # trailing\na.c: from file\n");
  testing::internal::CaptureStderr();
  start({"-a", "-d", "-p", "2810", "-f", file, "-o", "a.c: from option", "-oa.d:x:y", "-o", "a.e", "-h", "-l", "M.so"});
  EXPECT_EQ("test: invalid option -- 'h'\ntest: invalid option -- 'l'\n", testing::internal::GetCapturedStderr());
  const coil::Properties& config = m_manager->getConfig();
  EXPECT_EQ("from file", config.getProperty("a.b"));
  EXPECT_EQ("from option", config.getProperty("a.c"));
  EXPECT_EQ("x:y", config.getProperty("a.d")) << "split at the first colon";
  EXPECT_EQ(nullptr, config.findNode("a.e")) << "no colon, no setting";
  EXPECT_EQ(m_manager, RTC::Manager::init(0, nullptr)) << "a running manager is reused";
}

TEST_F(ManagerOptions, WithoutMinusFTheEnvironmentNamesTheFileElseRtcConfOfTheWorkingDirectory) {
  writeScratchFile("rtc.conf", "from: rtc.conf\n");
  const std::string named = writeScratchFile("named.conf", "from: RTC_MANAGER_CONFIG\n");
  char previous[4096];
  ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
  ASSERT_EQ(0, chdir(TEST_SCRATCH_DIR));
  const std::string plain = start()->getConfig().getProperty("from");
  stop();
  setenv("RTC_MANAGER_CONFIG", named.c_str(), 1);
  const std::string fromEnvironment = start()->getConfig().getProperty("from");
  unsetenv("RTC_MANAGER_CONFIG");
  EXPECT_EQ(0, chdir(previous));
  EXPECT_EQ("rtc.conf", plain);
  EXPECT_EQ("RTC_MANAGER_CONFIG", fromEnvironment);
}

TEST_F(ManagerOptions, TheLogGoesToRtcPidLogOfTheWorkingDirectoryByDefault) {
  char previous[4096];
  ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
  ASSERT_EQ(0, chdir(TEST_SCRATCH_DIR));
  m_manager = initManager({});
  m_manager->createComponent("Unknown");
  const std::string path = "rtc" + std::to_string(getpid()) + ".log";
  std::ifstream log(path);
  const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  std::remove(path.c_str());
  EXPECT_EQ(0, chdir(previous));
  EXPECT_NE(std::string::npos, text.find("Unknown")) << text;
}

TEST_F(ManagerOptions, MinusIGoesOnWithoutTheFile) {
  testing::internal::CaptureStderr();
  start({"-i", "-f", TEST_SCRATCH_DIR "/missing.conf", "-o", "a:1"});
  EXPECT_EQ("Configuration file: " TEST_SCRATCH_DIR "/missing.conf not found.\n",
            testing::internal::GetCapturedStderr());
  EXPECT_EQ("1", m_manager->getConfig().getProperty("a"));
}

TEST(ManagerOptionsDeathTest, AMissingOrMalformedFileEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string malformed = writeScratchFile("bad.conf", "good: 1\nno separator here\n");
  EXPECT_EXIT(initManager({"-f", TEST_SCRATCH_DIR "/missing.conf"}), testing::ExitedWithCode(255),
              "Configuration file: .*/missing.conf not found.");
  EXPECT_EXIT(initManager({"-f", malformed}), testing::ExitedWithCode(1), "bad.conf:2: expected 'key: value'");
}

namespace {

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

}  // namespace

TEST(ManagerSignalsDeathTest, SigintShutsDownInOrderWhileSigtermKills) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(runAndSignal(SIGINT), testing::ExitedWithCode(0),
              "Recorder0:onActivated\nRecorder0:onDeactivated\nRecorder0:onShutdown\nRecorder0:onFinalize\n"
              "Recorder0:destroyed\nRecorder1:onInitialize\nRecorder1:onStartup\nRecorder1:onShutdown\n"
              "Recorder1:onFinalize\nRecorder1:destroyed\n$");
  EXPECT_EXIT(runAndSignal(SIGTERM), testing::KilledBySignal(SIGTERM), "");
}
