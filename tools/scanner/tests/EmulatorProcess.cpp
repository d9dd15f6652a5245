#include "tools/scanner/tests/EmulatorProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

bool EmulatorProcess::start(const std::vector<std::string>& arguments) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return false;
  std::vector<char*> argv;
  std::string program = STROLVEX_SCIP_EMULATOR;
  argv.push_back(&program[0]);
  std::vector<std::string> words = arguments;
  for (std::string& word : words) argv.push_back(&word[0]);
  argv.push_back(nullptr);
  m_pid = ::fork();
  if (m_pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  // The announcement is the first line; the rest of the output is not read.
  std::string line;
  pollfd waiting = {out[0], POLLIN, 0};
  char c = 0;
  while (c != '\n' && ::poll(&waiting, 1, 5000) > 0 && ::read(out[0], &c, 1) == 1) line += c;
  ::close(out[0]);
  // A pseudo-terminal is reached through its link when there is one: a
  // restarted emulator gets a new device behind the same link.
  for (std::size_t k = 0; k + 1 < arguments.size(); ++k)
    if (arguments[k] == "--link") m_device = arguments[k + 1];
  if (line.compare(0, 4, "pty ") == 0 && m_device.empty()) m_device = line.substr(4, line.size() - 5);
  if (line.compare(0, 4, "tcp ") == 0) m_device = "tcp:127.0.0.1:" + line.substr(4, line.size() - 5);
  return line.size() > 4 && !m_device.empty();
}

void EmulatorProcess::kill() {
  if (m_pid <= 0) return;
  ::kill(m_pid, SIGKILL);
  ::waitpid(m_pid, nullptr, 0);
  m_pid = -1;
}
