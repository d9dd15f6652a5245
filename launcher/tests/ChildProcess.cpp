#include "launcher/tests/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& workDir) {
  int fds[2];
  if (pipe(fds) != 0) return;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    // An abort must not leave a core file behind.
    struct rlimit noCore = {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    dup2(fds[1], STDERR_FILENO);
    close(fds[0]);
    close(fds[1]);
    if (chdir(workDir.c_str()) != 0) _exit(126);
    execv(args[0], args.data());
    _exit(127);
  }
  close(fds[1]);
  errorPipe_ = fds[0];
}

ChildProcess::~ChildProcess() {
  int status = 0;
  if (pid_ > 0 && !waitForExit(0, &status)) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
  }
  if (errorPipe_ >= 0) close(errorPipe_);
}

bool ChildProcess::collect(int timeoutMs) {
  if (errorPipe_ < 0) return false;
  struct pollfd ready = {errorPipe_, POLLIN, 0};
  if (poll(&ready, 1, timeoutMs) <= 0) return false;
  char buffer[4096];
  const ssize_t n = read(errorPipe_, buffer, sizeof buffer);
  if (n > 0) {
    error_.append(buffer, static_cast<std::size_t>(n));
    return true;
  }
  close(errorPipe_);
  errorPipe_ = -1;
  return false;
}

bool ChildProcess::waitForError(const std::string& text, int timeoutMs) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (error_.find(text) == std::string::npos) {
    if (errorPipe_ < 0 || remainingMs(deadline) == 0) return false;
    collect(remainingMs(deadline));
  }
  return true;
}

void ChildProcess::sendSignal(int signal) {
  if (pid_ > 0) kill(pid_, signal);
}

bool ChildProcess::waitForExit(int timeoutMs, int* status) {
  if (pid_ <= 0) return false;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const pid_t done = waitpid(pid_, status, WNOHANG);
    if (done == pid_) {
      // Whatever it wrote before ending is still in the pipe.
      while (collect(1000)) {
      }
      pid_ = -1;
      return true;
    }
    if (remainingMs(deadline) == 0) return false;
    // Drains the pipe meanwhile, so a chatty child cannot block on it.
    collect(std::min(remainingMs(deadline), 10));
  }
}

std::string makeTempDir() {
  std::string pattern = ::testing::TempDir() + "strolvexcomp.XXXXXX";
  const char* made = mkdtemp(&pattern[0]);
  return made != nullptr ? std::string(made) : std::string();
}
