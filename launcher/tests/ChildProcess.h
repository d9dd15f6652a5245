// A program run as a child process, its standard error collected through a
// pipe, so tests can watch its messages, signal it and see how it ended.
#ifndef STROLVEX_LAUNCHER_TESTS_CHILDPROCESS_H
#define STROLVEX_LAUNCHER_TESTS_CHILDPROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
 public:
  // Runs argv[0] with argv in workDir; standard output goes to /dev/null.
  ChildProcess(const std::vector<std::string>& argv, const std::string& workDir);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Collects standard error until text appears in it, the child ends or
  // timeoutMs pass; true when text appeared.
  bool waitForError(const std::string& text, int timeoutMs);
  void sendSignal(int signal);
  // True when the child ended within timeoutMs; its wait status in *status.
  bool waitForExit(int timeoutMs, int* status);
  const std::string& errorOutput() const { return error_; }

 private:
  // Reads what is there within timeoutMs; false when nothing came.
  bool collect(int timeoutMs);

  pid_t pid_ = -1;
  int errorPipe_ = -1;
  std::string error_;
};

// A fresh empty directory under the test temporary directory.
std::string makeTempDir();

#endif
