// What a program makes of its manager's command line before the manager
// sees it: which value a key will have, what is added, and the 1.1 form
// of connections.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "launcher/ManagerArguments.h"
#include "launcher/MiddlewareSeries.h"

namespace {

TEST(ManagerArguments, TheLastOptionBeatsTheFileAndOursBeatTheUsers) {
  const std::string file = ::testing::TempDir() + "arguments-" + std::to_string(getpid()) + ".conf";
  std::ofstream(file) << "# comment\na.b: from file  # note\nc.d = file too\nlogger.file_name: x.log\n";
  ManagerArguments arguments;
  std::string error;
  ASSERT_TRUE(arguments.parse({"-f", file, "-o", "a.b:first", "-oa.b: second ", "-a", "log"},
                              ManagerArguments::kServantOptions, error))
      << error;
  EXPECT_EQ(arguments.configured("a.b"), "second");
  EXPECT_EQ(arguments.configured("c.d"), "file too");
  EXPECT_FALSE(arguments.isConfigured("e.f"));
  EXPECT_EQ(arguments.operands(), std::vector<std::string>{"log"});

  arguments.setDefault("logger.file_name", "stderr");  // the file sets it
  arguments.setDefault("e.f", "ours");
  arguments.set("a.b", "forced");
  EXPECT_EQ(arguments.configured("a.b"), "forced");
  std::vector<std::string> line;
  for (char* arg : arguments.managerArgv("prog")) line.push_back(arg != nullptr ? arg : "<end>");
  EXPECT_EQ(line,
            (std::vector<std::string>{"prog", "-f", file, "-o", "a.b:first", "-o", "a.b: second ",
                                      "-a", "-o", "e.f:ours", "-o", "a.b:forced", "<end>"}));
  std::remove(file.c_str());
}

TEST(ManagerArguments, RefusesWhatNoSeriesWouldReadAlike) {
  const std::vector<std::string> wrong[] = {{"-l", "x.so"}, {"-f"}, {"-o", "nocolon"},
                                            {"-p", "2810"}, {"-f", "/no/such.conf"}, {"-ax"}};
  for (const auto& args : wrong) {
    ManagerArguments arguments;
    std::string error;
    EXPECT_FALSE(arguments.parse(args, ManagerArguments::kNoServantOptions, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
  ManagerArguments arguments;
  std::string error;
  EXPECT_TRUE(arguments.parse({"-h", "-p", "2810", "-d"}, ManagerArguments::kServantOptions, error));
  EXPECT_TRUE(arguments.helpWanted());
}

TEST(MiddlewareSeries, PreconnectEntriesInTheOneOneForm) {
  EXPECT_EQ(preconnectInOneOneForm(" A0.out?port=B0.in , C0.x?port=D0.y&dataflow_type=push&subscription_type=new"),
            "A0.out:B0.in(dataflow_type=push), C0.x:D0.y(dataflow_type=push&subscription_type=new)");
  // Already in that form, or without a port to connect to: left alone.
  EXPECT_EQ(preconnectInOneOneForm("A0.out:B0.in(dataflow_type=push),A0.out?dataflow_type=push"),
            "A0.out:B0.in(dataflow_type=push), A0.out?dataflow_type=push");
}

}  // namespace
