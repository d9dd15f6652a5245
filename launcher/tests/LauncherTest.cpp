#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "launcher/tests/ChildProcess.h"

namespace {

TEST(StandaloneLauncher, RunsOneStrolvexUntilInterruptedOrTerminated) {
  for (int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    // No rtc.conf there: the manager's defaults alone.
    ChildProcess launcher({STROLVEXCOMP_PATH}, makeTempDir());
    ASSERT_TRUE(launcher.waitForError("Strolvex0 created", 10000)) << launcher.errorOutput();
    int status = 0;
    EXPECT_FALSE(launcher.waitForExit(200, &status)) << "it must stay up";
    launcher.sendSignal(signal);
    ASSERT_TRUE(launcher.waitForExit(1000, &status));
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
}

TEST(StandaloneLauncher, AFailedCreationPrintsOneLineAndAborts) {
  // The preloaded module takes the only instance Strolvex allows.
  ChildProcess launcher({STROLVEXCOMP_PATH, "-o", "logger.enable:NO", "-o",
                         std::string("manager.modules.preload:") + PRECREATE_MODULE_PATH},
                        makeTempDir());
  int status = 0;
  ASSERT_TRUE(launcher.waitForExit(10000, &status));
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGABRT);
  EXPECT_EQ(launcher.errorOutput(), "Component create failed.\n");
}

}  // namespace
