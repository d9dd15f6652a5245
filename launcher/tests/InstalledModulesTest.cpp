// An installed program's module folder goes after whatever the
// configuration gives as load path, and only when it exists.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "launcher/InstalledModules.h"

TEST(InstalledModules, FolderComesAfterTheConfiguredLoadPathWhenItExists) {
  const std::string dir = ::testing::TempDir() + "modules-" + std::to_string(getpid());
  ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
  const std::vector<std::string> configured = {"-o", "manager.modules.load_path:tools/a, tools/b"};
  const struct {
    std::vector<std::string> options;
    std::string folder, loadPath;
  } cases[] = {{configured, dir, "tools/a, tools/b," + dir},
               {{}, dir, dir},
               {configured, dir + "/none", "tools/a, tools/b"},
               {{}, dir + "/none", ""}};
  for (const auto& c : cases) {
    ManagerArguments arguments;
    std::string error;
    ASSERT_TRUE(arguments.parse(c.options, ManagerArguments::kNoServantOptions, error)) << error;
    addModuleFolder(arguments, c.folder);
    EXPECT_EQ(arguments.configured("manager.modules.load_path"), c.loadPath) << c.folder;
  }
  rmdir(dir.c_str());
}
