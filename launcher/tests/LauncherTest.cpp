// strolvexcomp, and a bare manager loading the component library as a
// module, run as child processes the way users run them.
#include <fcntl.h>
#include <glob.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A program run as a child process in an empty directory of its own (no
// rtc.conf there) with the monitor off, its standard error collected
// through a pipe and its standard output in a file.
class Child {
 public:
  Child(const std::string& program, std::vector<std::string> args) : dir_(::testing::TempDir() + "strolvexcomp.XXXXXX") {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    int fds[2];
    if (mkdtemp(&dir_[0]) == nullptr || pipe2(fds, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      const struct rlimit noCore = {0, 0};  // an abort must not leave a core file
      setrlimit(RLIMIT_CORE, &noCore);
      setenv("STROLVEX_MONITOR", "off", 1);
      if (chdir(dir_.c_str()) != 0) _exit(127);
      dup2(open("stdout", O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
      dup2(fds[1], STDERR_FILENO);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(fds[1]);
    pipe_ = fds[0];
  }
  ~Child() {
    if (pid_ > 0 && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
    if (pipe_ >= 0) close(pipe_);
    if (std::system(("rm -rf '" + dir_ + "'").c_str()) != 0) ADD_FAILURE() << "cannot remove " << dir_;
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
    if (!watch(timeoutMs, [this] { return pid_ > 0 && waitpid(pid_, &status, WNOHANG) == pid_; })) return false;
    pid_ = -1;
    return watch(1000, [this] { return pipe_ < 0; });
  }
  void signal(int number) {
    if (pid_ > 0) kill(pid_, number);
  }
  std::string output() const {
    std::stringstream text;
    text << std::ifstream(dir_ + "/stdout").rdbuf();
    return text.str();
  }
  // How many files the program left in its directory, standard output included.
  std::size_t filesLeft() const {
    glob_t found;
    const std::size_t n = glob((dir_ + "/*").c_str(), 0, nullptr, &found) == 0 ? found.gl_pathc : 0;
    globfree(&found);
    return n;
  }

  std::string error;
  int status = 0;

 private:
  std::string dir_;
  pid_t pid_ = -1;
  int pipe_ = -1;
};

bool exitedWith(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

// Strolvex prints which monitor it chose when it is activated.
const char* const kActivated = "Strolvex monitor: off";

TEST(StandaloneLauncher, RunsStrolvexUntilInterruptedOrTerminatedAndLogsToStandardError) {
  // The demo: scans keep coming until the signal.
  for (int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    Child launcher(STROLVEXCOMP_PATH, {"-f", DEMO_CONF_PATH, "-o", "logger.log_level:INFO", "-o",
                                       "manager.modules.load_path:" TOOL_MODULE_PATH});
    ASSERT_TRUE(launcher.logs(kActivated, 20000)) << launcher.error;
    EXPECT_FALSE(launcher.exits(200)) << "it must stay up";
    launcher.signal(signal);
    ASSERT_TRUE(launcher.exits(15000)) << launcher.error;
    EXPECT_TRUE(exitedWith(launcher.status, 0)) << launcher.status << launcher.error;
    // The log (INFO lines) went to standard error, not to a file in the
    // directory.
    EXPECT_NE(launcher.error.find("INFO"), std::string::npos) << launcher.error;
    EXPECT_EQ(launcher.filesLeft(), 1u);
  }
}

TEST(StandaloneLauncher, AnswersHelpAndRefusesWrongArgumentsBeforeStarting) {
  // Arguments, exit status, what standard output (help) or error says.
  const struct {
    std::vector<std::string> args;
    int status;
    const char* says;
  } cases[] = {{{"-h"}, 0, "usage: strolvexcomp"},     {{"-l", "Other.so"}, 1, "unknown option '-l'"},
               {{"-x"}, 1, "unknown option '-x'"},     {{"-f", "no-such.conf"}, 1, "no-such.conf"},
               {{"-o", "novalue"}, 1, "KEY:VALUE"},    {{"extra"}, 1, "unexpected argument 'extra'"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    Child launcher(STROLVEXCOMP_PATH, c.args);
    ASSERT_TRUE(launcher.exits(10000));
    EXPECT_TRUE(exitedWith(launcher.status, c.status)) << launcher.status;
    EXPECT_NE((c.status == 0 ? launcher.output() : launcher.error).find(c.says), std::string::npos) << launcher.error;
  }
}

TEST(StandaloneLauncher, AFailedCreationPrintsOneLineAndAborts) {
  // The preloaded module holds the type with a factory that makes nothing.
  Child launcher(STROLVEXCOMP_PATH, {"-o", "logger.enable:NO", "-o",
                                     "manager.modules.load_path:" TEST_MODULE_DIR, "-o",
                                     "manager.modules.preload:NullStrolvexFactory.so"});
  ASSERT_TRUE(launcher.exits(20000));
  EXPECT_TRUE(WIFSIGNALED(launcher.status));
  EXPECT_EQ(WTERMSIG(launcher.status), SIGABRT);
  EXPECT_EQ(launcher.error, "Component create failed.\n");
}

TEST(ModuleLoading, AManagerLoadsTheLibraryByItsFileNameAndTheShippedConfigurationActivatesIt) {
  // The host does not link the component library: the type can only come
  // through the module's StrolvexInit.
  Child host(MODULE_HOST_PATH, {"-f", STROLVEXCOMP_CONF_PATH, "-o", "logger.file_name:stderr",
                                "-o", "manager.modules.load_path:" STROLVEX_MODULE_DIR,
                                "-o", "manager.modules.preload:Strolvex.so",
                                "-o", "manager.components.precreate:Strolvex"});
  ASSERT_TRUE(host.logs(kActivated, 20000)) << host.error;
  host.signal(SIGINT);
  ASSERT_TRUE(host.exits(15000)) << host.error;
  EXPECT_TRUE(exitedWith(host.status, 0)) << host.status;
}

}  // namespace
