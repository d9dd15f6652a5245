#include "tools/sweep/SweepRunner.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>

#include "launcher/ManagerArguments.h"
#include "tools/replay/ReplaySession.h"
#include "tools/sweep/PassCountsByDistance.h"
#include "tools/sweep/ScanCache.h"
#include "tools/sweep/SweepGrid.h"
#include "tools/sweep/SweepProgress.h"
#include "tools/sweep/SweepSignals.h"

namespace {

// What a group's process tells the sweep through its pipe: progress, then
// one result per configuration of the group, in its order. Each report is
// one write of less than PIPE_BUF bytes, so it arrives whole.
struct Report {
  enum Kind : int32_t { kProgress, kCounted, kNothingPublished };
  int64_t scans;
  int32_t in, out;
  Kind kind;
};

const int64_t kScansPerReport = 1024;
const int kPollMilliseconds = 100;

void send(int pipe, const Report& report) {
  if (write(pipe, &report, sizeof report) != static_cast<ssize_t>(sizeof report)) _exit(3);
}

[[noreturn]] void failConfiguration(const std::string& program, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
  std::fflush(stderr);
  _exit(3);
}

// The counting distances of the group's configurations, when the grid
// sweeps that distance.
std::vector<int32_t> countingDistances(const SweepGrid& grid, const std::vector<std::size_t>& members) {
  std::vector<int32_t> distances;
  const std::size_t parameter = grid.countingDistanceParameter();
  if (parameter == std::string::npos) return distances;
  for (std::size_t member : members)
    distances.push_back(static_cast<int32_t>(std::stoll(grid.configuration(member)[parameter])));
  return distances;
}

// The body of the process that replays a group of configurations sharing
// their tracking; never returns. Strolvex runs the group's first
// configuration and counts for it; its tracks are counted alongside under
// every distance of the group.
[[noreturn]] void replayGroup(const SweepPlan& plan, const SweepGrid& grid,
                              const std::vector<std::size_t>& members, const ScanCache& cache,
                              int pipe) {
  std::vector<std::string> options = plan.managerOptions;
  const std::vector<std::string> values = grid.configuration(members.front());
  for (std::size_t k = 0; k < values.size(); ++k) {
    options.push_back("-o");
    options.push_back("Category.Strolvex.conf.default." + grid.parameters()[k].name + ":" +
                      values[k]);
  }
  ManagerArguments arguments;
  std::string error;
  if (!arguments.parse(options, ManagerArguments::kNoServantOptions, error))
    failConfiguration(plan.program, error);
  ReplaySession session;
  if (!session.start(plan.program, arguments))
    failConfiguration(plan.program, "could not start and activate the Strolvex component");
  const std::vector<int32_t> distances = countingDistances(grid, members);
  PassCountsByDistance shared(distances);
  if (!distances.empty()) session.setPassCountingObserver(&shared);

  ScanCacheReader reader(cache.descriptor());
  ScanRecord scan;
  CycleResult result;
  int64_t scans = 0;
  bool counted = false;
  int32_t in = 0, out = 0;
  while (reader.next(scan)) {
    if (!session.replayScan(scan, result))
      failConfiguration(plan.program, "a scan found no connection to Strolvex");
    if (result.published && result.count.size() >= 2) {
      in = result.count[0];
      out = result.count[1];
      counted = true;
    }
    if (++scans % kScansPerReport == 0) send(pipe, Report{scans, 0, 0, Report::kProgress});
  }
  // A component in the error state publishes nothing more: counts that
  // look final are only so while it stayed active.
  if (!session.strolvexIsActive())
    failConfiguration(plan.program, "Strolvex left the active state during the replay");
  session.stop();
  // Strolvex's own counts are the first configuration's: counting
  // alongside must have come to the same.
  if (counted && !distances.empty() && (shared.in(0) != in || shared.out(0) != out))
    failConfiguration(plan.program, "the shared tracking counted differently from Strolvex");
  const bool own = distances.empty();  // no distance swept: Strolvex's counts are the only ones
  for (std::size_t k = 0; k < members.size(); ++k) {
    send(pipe, Report{scans, own ? in : shared.in(k), own ? out : shared.out(k),
                      counted ? Report::kCounted : Report::kNothingPublished});
  }
  std::fflush(stderr);
  _exit(0);
}

struct Worker {
  std::vector<std::size_t> members;  // the configurations of its group
  int pipe;
  std::FILE* messages;  // the process's standard output and error
  int64_t scans = 0;    // of one replay, for each member
  std::vector<Report> results{};  // by member, in the order sent
};

// The last line the process wrote, to say why it failed.
std::string lastMessage(std::FILE* messages) {
  std::rewind(messages);
  std::string last;
  char line[1024];
  while (std::fgets(line, sizeof line, messages) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (!text.empty()) last = text;
  }
  return last;
}

class Sweep {
 public:
  Sweep(const SweepPlan& plan, const SweepGrid& grid, const ScanCache& cache,
        SweepSignals& signals, std::FILE* progress)
      : plan_(plan), grid_(grid), cache_(cache), signals_(signals),
        progress_(progress, cache.scans() * static_cast<int64_t>(grid.size()), grid.size()),
        rows_(grid.size()), groups_(grid.groupsSharingTracking()) {
    for (std::size_t k = 0; k < rows_.size(); ++k) {
      rows_[k].values = grid.configuration(k);
      rows_[k].failure = "not run";
    }
  }

  std::vector<SweepRow> run() {
    std::size_t next = 0;
    while (next < groups_.size() || !workers_.empty()) {
      if (signals_.received() != 0) {
        endAll();
        break;
      }
      while (next < groups_.size() && workers_.size() < static_cast<std::size_t>(plan_.jobs))
        start(groups_[next++]);
      awaitReports();
      progress_.update(scansDone(), finished_);
    }
    if (signals_.received() == 0) progress_.finish(scansDone(), finished_);
    return rows_;
  }

 private:
  void start(const std::vector<std::size_t>& members);
  void giveUp(const std::vector<std::size_t>& members, int error);
  void awaitReports();
  void finish(pid_t pid, bool killed);
  void endAll();
  int64_t scansDone() const {
    int64_t scans = finishedScans_;
    for (const auto& worker : workers_)
      scans += worker.second.scans * static_cast<int64_t>(worker.second.members.size());
    return scans;
  }

  const SweepPlan& plan_;
  const SweepGrid& grid_;
  const ScanCache& cache_;
  SweepSignals& signals_;
  SweepProgress progress_;
  std::vector<SweepRow> rows_;
  const std::vector<std::vector<std::size_t>> groups_;
  std::map<pid_t, Worker> workers_;
  std::size_t finished_ = 0;
  int64_t finishedScans_ = 0;
};

void Sweep::start(const std::vector<std::size_t>& members) {
  int ends[2];
  std::FILE* messages = std::tmpfile();
  if (messages == nullptr || pipe(ends) != 0) {
    const int error = errno;
    if (messages != nullptr) std::fclose(messages);
    return giveUp(members, error);
  }
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    close(ends[0]);
    dup2(fileno(messages), STDOUT_FILENO);
    dup2(fileno(messages), STDERR_FILENO);
    replayGroup(plan_, grid_, members, cache_, ends[1]);
  }
  close(ends[1]);
  if (pid < 0) {
    const int error = errno;
    close(ends[0]);
    std::fclose(messages);
    return giveUp(members, error);
  }
  workers_.emplace(pid, Worker{members, ends[0], messages});
}

// Configurations whose process could not be started count as finished.
void Sweep::giveUp(const std::vector<std::size_t>& members, int error) {
  for (std::size_t index : members) {
    rows_[index].failure = std::string("cannot start its replay: ") + std::strerror(error);
    ++finished_;
    finishedScans_ += cache_.scans();
  }
}

void Sweep::awaitReports() {
  std::vector<pollfd> watched;
  std::vector<pid_t> pids;
  for (const auto& worker : workers_) {
    watched.push_back(pollfd{worker.second.pipe, POLLIN, 0});
    pids.push_back(worker.first);
  }
  // A signal ends the wait; run() looks at it next.
  watched.push_back(pollfd{signals_.descriptor(), POLLIN, 0});
  if (poll(watched.data(), watched.size(), kPollMilliseconds) <= 0) return;
  for (std::size_t k = 0; k < pids.size(); ++k) {
    if (watched[k].revents == 0) continue;
    Worker& worker = workers_.at(pids[k]);
    Report report;
    const ssize_t got = read(worker.pipe, &report, sizeof report);
    if (got == static_cast<ssize_t>(sizeof report)) {
      worker.scans = report.scans;
      if (report.kind != Report::kProgress) worker.results.push_back(report);
    } else if (got <= 0) {
      finish(pids[k], false);
    }
  }
}

void Sweep::finish(pid_t pid, bool killed) {
  Worker& worker = workers_.at(pid);
  int status = 0;
  waitpid(pid, &status, 0);
  const bool ranThrough = WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
                          worker.results.size() == worker.members.size();
  const std::string message = killed ? "" : lastMessage(worker.messages);
  for (std::size_t k = 0; k < worker.members.size(); ++k) {
    SweepRow& row = rows_[worker.members[k]];
    if (killed) {
      row.failure = "interrupted";
    } else if (ranThrough) {
      const Report& result = worker.results[k];
      row.counted = result.kind == Report::kCounted;
      row.in = result.in;
      row.out = result.out;
      row.failure = row.counted ? "" : "no results published";
      if (!row.counted && !message.empty()) row.failure += ": " + message;
    } else {
      row.failure = message.empty() ? "replay failed" : message;
      if (WIFSIGNALED(status))
        row.failure += " (ended by signal " + std::to_string(WTERMSIG(status)) + ")";
    }
    ++finished_;
    finishedScans_ += cache_.scans();
  }
  close(worker.pipe);
  std::fclose(worker.messages);
  workers_.erase(pid);
}

void Sweep::endAll() {
  for (const auto& worker : workers_) kill(worker.first, SIGKILL);
  while (!workers_.empty()) finish(workers_.begin()->first, true);
}

}  // namespace

std::vector<SweepRow> runSweep(const SweepPlan& plan, const SweepGrid& grid, const ScanCache& cache,
                               SweepSignals& signals, std::FILE* progress) {
  Sweep sweep(plan, grid, cache, signals, progress);
  return sweep.run();
}
