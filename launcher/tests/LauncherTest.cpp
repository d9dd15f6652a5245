#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace {

// strolvexcomp run as a child process in an empty directory of its own (no
// rtc.conf there), its standard error collected through a pipe.
class Launcher {
 public:
  explicit Launcher(std::vector<std::string> args) {
    args.insert(args.begin(), STROLVEXCOMP_PATH);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    dir_ = ::testing::TempDir() + "strolvexcomp.XXXXXX";
    int fds[2];
    if (mkdtemp(&dir_[0]) == nullptr || pipe2(fds, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      const struct rlimit noCore = {0, 0};  // an abort must not leave a core file
      setrlimit(RLIMIT_CORE, &noCore);
      dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
      dup2(fds[1], STDERR_FILENO);
      if (chdir(dir_.c_str()) == 0) execv(argv[0], argv.data());
      _exit(127);
    }
    close(fds[1]);
    pipe_ = fds[0];
  }
  ~Launcher() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (pipe_ >= 0) close(pipe_);
    rmdir(dir_.c_str());
  }

  // Collects standard error until done() holds; false after timeoutMs.
  bool watch(int timeoutMs, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      struct pollfd ready = {pipe_, POLLIN, 0};  // a closed pipe (-1) just waits
      if (poll(&ready, 1, 10) <= 0) continue;
      char buffer[4096];
      const ssize_t n = read(pipe_, buffer, sizeof buffer);
      if (n > 0) {
        error.append(buffer, static_cast<std::size_t>(n));
      } else {
        close(pipe_);
        pipe_ = -1;
      }
    }
    return true;
  }
  bool logs(const std::string& text, int timeoutMs) {
    return watch(timeoutMs, [&] { return error.find(text) != std::string::npos; });
  }
  // True when the child ends within timeoutMs; then status holds how, and
  // error all it wrote.
  bool exits(int timeoutMs) {
    if (!watch(timeoutMs, [this] { return pid_ > 0 && waitpid(pid_, &status, WNOHANG) == pid_; })) {
      return false;
    }
    pid_ = -1;
    return watch(1000, [this] { return pipe_ < 0; });
  }
  void signal(int number) {
    if (pid_ > 0) kill(pid_, number);
  }

  std::string error;
  int status = 0;

 private:
  std::string dir_;
  pid_t pid_ = -1;
  int pipe_ = -1;
};

TEST(StandaloneLauncher, RunsOneStrolvexUntilInterruptedOrTerminated) {
  for (int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    Launcher launcher({});
    ASSERT_TRUE(launcher.logs("Strolvex0 created", 10000)) << launcher.error;
    EXPECT_FALSE(launcher.exits(200)) << "it must stay up";
    launcher.signal(signal);
    ASSERT_TRUE(launcher.exits(1000));
    EXPECT_TRUE(WIFEXITED(launcher.status));
    EXPECT_EQ(WEXITSTATUS(launcher.status), 0);
  }
}

TEST(StandaloneLauncher, AFailedCreationPrintsOneLineAndAborts) {
  // The preloaded module takes the only instance Strolvex allows.
  Launcher launcher({"-o", "logger.enable:NO", "-o",
                     std::string("manager.modules.preload:") + PRECREATE_MODULE_PATH});
  ASSERT_TRUE(launcher.exits(10000));
  EXPECT_TRUE(WIFSIGNALED(launcher.status));
  EXPECT_EQ(WTERMSIG(launcher.status), SIGABRT);
  EXPECT_EQ(launcher.error, "Component create failed.\n");
}

}  // namespace
