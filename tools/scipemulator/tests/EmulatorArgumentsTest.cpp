#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/scipemulator/EmulatorArguments.h"

TEST(EmulatorArguments, ReadsOptionsAndRefusesNonsense) {
  EmulatorArguments arguments;
  std::string error;
  ASSERT_TRUE(parseEmulatorArguments({"--tcp", "0", "--rate", "2.5", "--loop", "--drop-after", "7", "log.txt"},
                                     arguments, error))
      << error;
  EXPECT_EQ("log.txt", arguments.logPath);
  EXPECT_EQ(0, arguments.tcpPort);
  EXPECT_FALSE(arguments.pty);
  EXPECT_DOUBLE_EQ(2.5, arguments.settings.rate);
  EXPECT_TRUE(arguments.settings.loop);
  EXPECT_EQ(7, arguments.settings.dropAfter);

  arguments = EmulatorArguments();
  ASSERT_TRUE(parseEmulatorArguments({"log.txt"}, arguments, error));
  EXPECT_TRUE(arguments.pty);

  const std::vector<std::vector<std::string>> wrong = {
      {}, {"a", "b"}, {"--rate", "0", "l"}, {"--rate", "nan", "l"}, {"--tcp", "70000", "l"},
      {"--silence-after", "-1", "l"}, {"--garbage-every", "x", "l"}, {"--frobnicate", "1", "l"}, {"l", "--link"}};
  for (const std::vector<std::string>& words : wrong) {
    arguments = EmulatorArguments();
    error.clear();
    EXPECT_FALSE(parseEmulatorArguments(words, arguments, error)) << words.size();
    EXPECT_FALSE(error.empty());
  }
}
