// The SCIP sensor emulator as a child process of a test: started with its
// command line, reachable at the device it announces, killed on request or
// at the end.
#ifndef STROLVEX_TOOLS_SCANNER_TESTS_EMULATORPROCESS_H
#define STROLVEX_TOOLS_SCANNER_TESTS_EMULATORPROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

class EmulatorProcess {
 public:
  EmulatorProcess() = default;
  ~EmulatorProcess() { kill(); }
  EmulatorProcess(const EmulatorProcess&) = delete;
  EmulatorProcess& operator=(const EmulatorProcess&) = delete;

  // Runs the emulator with arguments and waits for its announcement
  // ("pty DEVICE" or "tcp PORT"); false if it did not come within 5 s.
  bool start(const std::vector<std::string>& arguments);
  // What the scanner component's device parameter takes to reach it.
  const std::string& device() const { return m_device; }
  void kill();

 private:
  pid_t m_pid = -1;
  std::string m_device;
};

#endif
