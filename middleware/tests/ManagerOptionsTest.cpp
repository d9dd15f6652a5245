#include "TestSupport.h"

#include <unistd.h>

using ManagerOptions = ManagerTest;

TEST_F(ManagerOptions, FileThenOverridesThenModules) {
  const std::string file = writeScratchFile("test.conf",
                                          "# comment line\n"
                                          "\n"
                                          "  a.b : from file  # trailing comment\n"
                                          "a.c: from file\n"
                                          "manager.modules.preload: one.so\n");
  RTC::Manager* manager = start({"-f", file, "-o", "a.c: from option", "-oa.d:x:y", "-l", "two.so"});
  coil::Properties& config = manager->getConfig();
  EXPECT_EQ("from file", config.getProperty("a.b"));
  EXPECT_EQ("from option", config.getProperty("a.c"));
  EXPECT_EQ("x:y", config.getProperty("a.d"));
  EXPECT_EQ("one.so, two.so", config.getProperty("manager.modules.preload"));
  EXPECT_EQ(manager, RTC::Manager::init(0, nullptr)) << "a running manager is reused";
}

TEST_F(ManagerOptions, ReadsRtcConfOfTheWorkingDirectoryWithoutMinusF) {
  writeScratchFile("rtc.conf", "from.rtc_conf: yes\n");
  char previous[4096];
  ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
  ASSERT_EQ(0, chdir(TEST_SCRATCH_DIR));
  RTC::Manager* manager = start();
  EXPECT_EQ(0, chdir(previous));
  EXPECT_EQ("yes", manager->getConfig().getProperty("from.rtc_conf"));
}

TEST_F(ManagerOptions, BadArgumentsEndTheProcessWithAMessage) {
  const std::string malformed = writeScratchFile("bad.conf", "good: 1\nno separator here\n");
  EXPECT_EXIT(initManager({"-x"}), testing::ExitedWithCode(1), "unknown option '-x'");
  EXPECT_EXIT(initManager({"-f", TEST_SCRATCH_DIR "/missing.conf"}), testing::ExitedWithCode(1),
              "cannot read configuration file '.*missing.conf'");
  EXPECT_EXIT(initManager({"-f", malformed}), testing::ExitedWithCode(1), "bad.conf:2: expected 'key: value'");
  EXPECT_EXIT(initManager({"-o", "novalue"}), testing::ExitedWithCode(1), "-o needs KEY:VALUE");
}
