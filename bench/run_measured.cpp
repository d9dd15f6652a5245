// run-measured COMMAND [ARGS...]: runs a command with its output discarded
// and prints its wall time, the processor time it used (user and system)
// and its peak resident memory:
//   wall_s=<seconds> cpu_s=<seconds> max_rss_kb=<kB> status=<exit status>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s COMMAND [ARGS...]\n", argv[0]);
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) return 2;
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  int status = 0;
  struct rusage usage = {};
  if (wait4(child, &status, 0, &usage) != child) return 2;
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  const double cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
                     usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
  std::printf("wall_s=%.4f cpu_s=%.4f max_rss_kb=%ld status=%d\n", wall.count(), cpu,
              usage.ru_maxrss,
              WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
  return 0;
}
