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
  a = EmulatorArguments();
  EXPECT_TRUE(parseEmulatorArguments({"log.txt"}, a, error) && a.pty);
  const std::vector<std::vector<std::string>> wrong = {
      {}, {"a", "b"}, {"--rate", "0", "l"}, {"--rate", "nan", "l"}, {"--tcp", "70000", "l"},
      {"--silence-after", "-1", "l"}, {"--garbage-every", "x", "l"}, {"--frobnicate", "1", "l"}, {"l", "--link"}};
  for (const std::vector<std::string>& words : wrong) {
    a = EmulatorArguments();
    error.clear();
    EXPECT_FALSE(parseEmulatorArguments(words, a, error)) << words.size();
    EXPECT_FALSE(error.empty());
  }
}
