// strolvexcomp, and a bare manager loading the component library as a
// module, run as child processes the way users run them.
#include <fcntl.h>
#include <glob.h>
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
#include <thread>
#include <vector>

namespace {

// Polls every 10 ms until done() holds; false after timeoutMs.
bool within(int timeoutMs, const std::function<bool()>& done) {
  for (int waited = 0; !done(); waited += 10) {
    if (waited >= timeoutMs) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// A program run as a child process in an empty directory of its own (no
// rtc.conf there) with the monitor off; its standard output and error go
// to files there.
class Child {
 public:
  Child(const std::string& program, std::vector<std::string> args) : dir_(::testing::TempDir() + "launch.XXXXXX") {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    if (mkdtemp(&dir_[0]) != nullptr && (pid_ = fork()) == 0) {
      const struct rlimit noCore = {0, 0};  // an abort must not leave a core file
      setrlimit(RLIMIT_CORE, &noCore);
      setenv("STROLVEX_MONITOR", "off", 1);
      if (chdir(dir_.c_str()) == 0 && dup2(open("stdout", O_WRONLY | O_CREAT, 0600), STDOUT_FILENO) >= 0 &&
          dup2(open("stderr", O_WRONLY | O_CREAT, 0600), STDERR_FILENO) >= 0)
        execv(argv[0], argv.data());
      _exit(127);
    }
  }
  ~Child() {
    if (pid_ > 0 && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
    if (std::system(("rm -rf '" + dir_ + "'").c_str()) != 0) ADD_FAILURE() << "cannot remove " << dir_;
  }

  // True when the child ends within timeoutMs; then status holds how.
  bool exits(int timeoutMs) {
    if (pid_ <= 0 || !within(timeoutMs, [this] { return waitpid(pid_, &status, WNOHANG) == pid_; })) return false;
    pid_ = -1;
    return true;
  }
  void signal(int number) {
    if (pid_ > 0) kill(pid_, number);
  }
  std::string read(const char* file = "stderr") const {
    std::stringstream text;
    text << std::ifstream(dir_ + "/" + file).rdbuf();
    return text.str();
  }
  // How many files the program left in its directory, stdout and stderr included.
  std::size_t filesLeft() const {
    glob_t found;
    const std::size_t n = glob((dir_ + "/*").c_str(), 0, nullptr, &found) == 0 ? found.gl_pathc : 0;
    globfree(&found);
    return n;
  }

  int status = 0;

 private:
  std::string dir_;
  pid_t pid_ = -1;
};

bool exitedWith(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

TEST(StandaloneLauncher, RunsStrolvexUntilInterruptedOrTerminatedAndLogsToStandardError) {
  // The demo, where scans keep coming until the signal; and a bare manager
  // that can only get the type through the library's StrolvexInit, loaded
  // by its file name with the shipped configuration.
  const std::vector<std::string> demo = {STROLVEXCOMP_PATH, "-f", DEMO_CONF_PATH,
                                         "-o", "manager.modules.load_path:" TOOL_MODULE_PATH};
  const std::vector<std::string> host = {MODULE_HOST_PATH, "-f", STROLVEXCOMP_CONF_PATH,
                                         "-o", "logger.file_name:stderr",
                                         "-o", "manager.modules.load_path:" STROLVEX_MODULE_DIR,
                                         "-o", "manager.modules.preload:Strolvex.so",
                                         "-o", "manager.components.precreate:Strolvex"};
  const std::pair<std::vector<std::string>, int> runs[] = {{demo, SIGINT}, {demo, SIGTERM}, {host, SIGINT}};
  for (const auto& run : runs) {
    SCOPED_TRACE(run.first[0] + " " + std::to_string(run.second));
    std::vector<std::string> args(run.first.begin() + 1, run.first.end());
    args.insert(args.end(), {"-o", "logger.log_level:INFO"});
    Child child(run.first[0], args);
    // Strolvex prints which monitor it chose when it is activated.
    ASSERT_TRUE(within(20000, [&] { return child.read().find("Strolvex monitor: off") != std::string::npos; }))
        << child.read();
    EXPECT_FALSE(child.exits(200)) << "it must stay up";
    child.signal(run.second);
    ASSERT_TRUE(child.exits(15000)) << child.read();
    EXPECT_TRUE(exitedWith(child.status, 0)) << child.status << child.read();
    // The log (INFO lines) went to standard error, not to a file.
    EXPECT_NE(child.read().find("INFO"), std::string::npos) << child.read();
    EXPECT_EQ(child.filesLeft(), 2u);
  }
}

TEST(StandaloneLauncher, AnswersHelpAndRefusesWrongArgumentsBeforeStarting) {
  // Arguments, exit status, what standard output (help) or error says.
  const struct {
    std::vector<std::string> args;
    int status;
    const char* says;
  } cases[] = {{{"-h"}, 0, "usage: strolvexcomp"}, {{"-l", "Other.so"}, 1, "unknown option '-l'"},
               {{"-f", "no-such.conf"}, 1, "no-such.conf"}, {{"extra"}, 1, "unexpected argument 'extra'"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    Child launcher(STROLVEXCOMP_PATH, c.args);
    ASSERT_TRUE(launcher.exits(10000));
    EXPECT_TRUE(exitedWith(launcher.status, c.status)) << launcher.status;
    EXPECT_NE(launcher.read(c.status == 0 ? "stdout" : "stderr").find(c.says), std::string::npos) << launcher.read();
  }
}

TEST(StandaloneLauncher, AFailedCreationPrintsOneLineAndAborts) {
  // The preloaded module holds the type with a factory that makes nothing.
  Child launcher(STROLVEXCOMP_PATH, {"-o", "logger.enable:NO", "-o", "manager.modules.load_path:" TEST_MODULE_DIR,
                                     "-o", "manager.modules.preload:NullStrolvexFactory.so"});
  ASSERT_TRUE(launcher.exits(20000));
  EXPECT_TRUE(WIFSIGNALED(launcher.status) && WTERMSIG(launcher.status) == SIGABRT) << launcher.status;
  EXPECT_EQ(launcher.read(), "Component create failed.\n");
}

}  // namespace
