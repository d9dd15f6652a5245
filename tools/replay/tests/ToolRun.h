// Runs a tool as its users do, from a shell, and keeps what it printed.
#ifndef STROLVEX_TOOLS_REPLAY_TESTS_TOOLRUN_H
#define STROLVEX_TOOLS_REPLAY_TESTS_TOOLRUN_H

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Per process, so that builds testing side by side do not meet.
inline std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "tool_" + std::to_string(getpid()) + "_" + name;
}

inline std::string readFile(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

inline std::vector<std::string> linesOf(const std::string& text) {
  std::istringstream stream(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// "IN,OUT,PRESENT" from one result line of strolvex-replay.
inline std::string countsOf(const std::string& line) {
  const std::size_t from = line.rfind("\"count\":[") + 9;
  return line.substr(from, line.find(']', from) - from);
}

struct ToolRun { int status; std::string out, err; };

inline ToolRun runTool(const std::string& command) {
  const std::string out = tempPath("stdout"), err = tempPath("stderr");
  const int raw = std::system((command + " >" + out + " 2>" + err + " </dev/null").c_str());
  return ToolRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
}

#endif
