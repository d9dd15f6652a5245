#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tools/scipemulator/EmulatorArguments.h"

TEST(EmulatorArguments, ReadsOptionsAndRefusesNonsense) {
  EmulatorArguments a;
  std::string error;
  ASSERT_TRUE(parseEmulatorArguments({"--tcp", "0", "--rate", "2.5", "--loop", "--drop-after", "7", "log.txt"}, a, error))
      << error;
  EXPECT_EQ(std::tie(a.logPath, a.tcpPort, a.pty, a.settings.rate, a.settings.loop, a.settings.dropAfter),
            std::make_tuple("log.txt", 0, false, 2.5, true, 7));
  EXPECT_TRUE(parseEmulatorArguments({"log.txt"}, a = EmulatorArguments(), error) && a.pty);
  for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
           {}, {"a", "b"}, {"--rate", "0", "l"}, {"--rate", "nan", "l"}, {"--tcp", "70000", "l"},
           {"--silence-after", "-1", "l"}, {"--garbage-every", "x", "l"}, {"--frobnicate", "1", "l"}, {"l", "--link"}}) {
    error.clear();
    EXPECT_FALSE(parseEmulatorArguments(words, a = EmulatorArguments(), error)) << words.size();
    EXPECT_FALSE(error.empty());
  }
}
