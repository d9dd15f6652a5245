// How an installed program adds its module folder to the manager's load
// path: after whatever the configuration gives, and only when it exists.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "launcher/InstalledModules.h"
#include "launcher/ManagerArguments.h"

namespace {

const char* const kLoadPath = "manager.modules.load_path";

TEST(InstalledModules, FolderIsFoundFromTheProgramsOwnFolder) {
  EXPECT_EQ(besideProgram("/opt/x/bin/strolvexcomp", "../lib/strolvex"), "/opt/x/bin/../lib/strolvex");
  EXPECT_EQ(besideProgram("/strolvexcomp", "lib"), "/lib");
}

TEST(InstalledModules, FolderComesAfterTheConfiguredLoadPathWhenItExists) {
  const std::string existing = ::testing::TempDir() + "modules-" + std::to_string(getpid());
  ASSERT_EQ(mkdir(existing.c_str(), 0700), 0);
  const std::string missing = existing + "/none";
  struct Case {
    std::vector<std::string> options;
    std::string folder;
    std::string loadPath;  // empty: not configured at all
  } cases[] = {
      {{"-o", "manager.modules.load_path:tools/simulator, tools/logger"}, existing,
       "tools/simulator, tools/logger," + existing},
      {{}, existing, "./," + existing},
      {{"-o", "manager.modules.load_path:"}, existing, existing},
      {{"-o", "manager.modules.load_path:tools/logger"}, missing, "tools/logger"},
      {{}, missing, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder + " after '" + (c.options.empty() ? "" : c.options[1]) + "'");
    ManagerArguments arguments;
    std::string error;
    ASSERT_TRUE(arguments.parse(c.options, ManagerArguments::kNoServantOptions, error)) << error;
    addModuleFolder(arguments, c.folder);
    EXPECT_EQ(arguments.configured(kLoadPath), c.loadPath);
    EXPECT_EQ(arguments.isConfigured(kLoadPath), !c.loadPath.empty() || !c.options.empty());
  }
  rmdir(existing.c_str());
}

}  // namespace
