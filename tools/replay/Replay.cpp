#include "tools/replay/Replay.h"

#include <rtm/ExtTrigExecutionContext.h>
#include <rtm/Manager.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>

#include "component/Strolvex.h"
#include "component/StrolvexInit.h"
#include "launcher/InstalledModules.h"
#include "launcher/ManagerArguments.h"
#include "launcher/ManagerStop.h"
#include "launcher/MiddlewareSeries.h"
#include "launcher/TerminationSignals.h"
#include "tools/replay/ReplayProgress.h"
#include "tools/replay/ScanReplayDriver.h"
#include "tools/scanlog/ScanLog.h"

namespace {

const char* const kDriverInstance = "ScanReplay0";
const char* const kStrolvexInstance = "Strolvex0";

// The module-init procedure has no context argument: it leaves the two
// components it creates here.
RTC::RTObject_impl* g_driver = nullptr;
RTC::RTObject_impl* g_strolvex = nullptr;

void createReplayComponents(RTC::Manager* manager) {
  StrolvexInit(manager);
  registerScanReplayDriver(manager);
  g_driver = manager->createComponent(ScanReplayDriver::kTypeName);
  g_strolvex = manager->createComponent("Strolvex");
}

// One entry per connection: a manager keeps only one port of an entry.
std::string preconnections() {
  const std::string driver = kDriverInstance;
  const std::string strolvex = kStrolvexInstance;
  std::string list = driver + ".range_data?port=" + strolvex + ".range_data";
  for (const char* port : {"human_dataX", "human_dataY", "human_dataV", "human_dataT",
                           "count_data"})
    list += "," + strolvex + "." + port + "?port=" + driver + "." + port;
  return list;
}

// The replay's own settings go over the user's. Each tick runs one cycle
// in this thread (SynchExtTriggerEC); the rate is high so that a tick does
// not sleep out a period after its cycle, and transitions do not wait for
// a cycle that only the next tick brings.
void configureReplay(ManagerArguments& arguments) {
  arguments.setDefault("logger.log_level", "WARN");
  arguments.set("exec_cxt.periodic.type", "SynchExtTriggerEC");
  arguments.set("exec_cxt.periodic.rate", "1000000000");
  arguments.set("exec_cxt.sync_transition", "NO");
  arguments.set("naming.enable", "NO");
  arguments.set("manager.components.preconnect", preconnections());
  arguments.set("manager.components.preactivation", kStrolvexInstance);
  fitToMiddleware(arguments);
  addInstalledModuleFolder(arguments);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

struct LineBuffer {
  ~LineBuffer() { std::free(data); }
  char* data = nullptr;
  std::size_t capacity = 0;
};

class ReplayRun {
 public:
  ReplayRun(const std::string& program, std::FILE* out, std::FILE* err,
            const TerminationSignals& signals)
      : program_(program), out_(out), err_(err), signals_(signals), progress_(err) {}

  int run(ManagerArguments& arguments, const std::string& logPath);

 private:
  bool startManager(ManagerArguments& arguments);
  void stopManager();
  bool strolvexIsActive() const;
  bool replayLines(std::FILE* log, const std::string& logPath);
  bool replayScan(const ScanRecord& scan);
  int fail(int status, const std::string& message);

  std::string program_;
  std::FILE* out_;
  std::FILE* err_;
  const TerminationSignals& signals_;
  // The manager may keep pointers into its command line, which lives here.
  std::vector<char*> managerArgv_;
  RTC::Manager* manager_ = nullptr;
  ScanReplayDriver* driver_ = nullptr;
  Strolvex* strolvex_ = nullptr;
  OpenRTM::ExtTrigExecutionContextService_var trigger_ =
      OpenRTM::ExtTrigExecutionContextService::_nil();
  ManualClock clock_;
  ReplayProgress progress_;
  int64_t scansDone_ = 0;
  long malformedLines_ = 0;
  long unsentScanLine_ = 0;  // the line whose scan no connection took
};

int ReplayRun::fail(int status, const std::string& message) {
  std::fprintf(err_, "%s: %s\n", program_.c_str(), message.c_str());
  return status;
}

bool ReplayRun::startManager(ManagerArguments& arguments) {
  configureReplay(arguments);
  managerArgv_ = arguments.managerArgv(program_);
  manager_ = RTC::Manager::init(static_cast<int>(managerArgv_.size() - 1), managerArgv_.data());
  if (manager_ == nullptr) return false;
  manager_->setModuleInitProc(createReplayComponents);
  manager_->activateManager();
  manager_->runManager(true);

  driver_ = dynamic_cast<ScanReplayDriver*>(g_driver);
  strolvex_ = dynamic_cast<Strolvex*>(g_strolvex);
  if (driver_ == nullptr || strolvex_ == nullptr) return false;
  strolvex_->setClock(&clock_);

  RTC::ExecutionContext_var context = g_strolvex->get_context(0);
  if (CORBA::is_nil(context)) return false;
  trigger_ = OpenRTM::ExtTrigExecutionContextService::_narrow(context);
  if (CORBA::is_nil(trigger_)) return false;
  // The preactivation takes effect at the first cycle; with no scan
  // waiting that cycle changes nothing else.
  trigger_->tick();
  return strolvexIsActive();
}

// Lets go of the context before the manager takes everything down.
void ReplayRun::stopManager() {
  if (strolvex_ != nullptr) strolvex_->setClock(nullptr);
  trigger_ = OpenRTM::ExtTrigExecutionContextService::_nil();
  if (manager_ != nullptr) stopRunningManager(*manager_);
}

bool ReplayRun::strolvexIsActive() const {
  RTC::ExecutionContext_var context = g_strolvex->get_context(0);
  return context->get_component_state(g_strolvex->getObjRef()) == RTC::ACTIVE_STATE;
}

// False when the scan could not be handed to Strolvex.
bool ReplayRun::replayScan(const ScanRecord& scan) {
  clock_.set(wrapMilliseconds(static_cast<uint64_t>(scan.t_ms)));
  if (!driver_->sendScan(scan)) return false;
  trigger_->tick();
  ResultInPorts& results = driver_->results();
  std::vector<int32_t> counts;  // none when the scan was ignored
  if (results.takeNext()) {
    const std::string line = results.jsonLine(scan.t_ms);
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fputc('\n', out_);
    const RTC::TimedLongSeq& published = results.counts();
    for (CORBA::ULong k = 0; k < published.data.length(); ++k) counts.push_back(published.data[k]);
  }
  ++scansDone_;
  progress_.update(scansDone_, counts);
  return true;
}

bool ReplayRun::replayLines(std::FILE* log, const std::string& logPath) {
  LineBuffer buffer;
  ScanLine line;
  long lineNumber = 0;
  errno = 0;
  ssize_t length;
  while (signals_.received() == 0 &&
         (length = getline(&buffer.data, &buffer.capacity, log)) >= 0) {
    ++lineNumber;
    const char* end = buffer.data + length;
    if (end != buffer.data && end[-1] == '\n') --end;
    parseScanLine(buffer.data, end, line);
    if (line.kind == ScanLine::kMalformed) {
      progress_.interrupt();
      std::fprintf(err_, "%s: %s:%ld: %s; line skipped\n", program_.c_str(), logPath.c_str(),
                   lineNumber, line.error.c_str());
      ++malformedLines_;
    } else if (line.kind == ScanLine::kScan && !replayScan(line.scan)) {
      unsentScanLine_ = lineNumber;
      break;
    }
  }
  return !std::ferror(log);
}

int ReplayRun::run(ManagerArguments& arguments, const std::string& logPath) {
  std::unique_ptr<std::FILE, FileCloser> log(std::fopen(logPath.c_str(), "r"));
  if (!log)
    return fail(kReplayUnreadableLog,
                "cannot read scan log '" + logPath + "': " + std::strerror(errno));
  struct stat status;
  if (fstat(fileno(log.get()), &status) == 0 && S_ISDIR(status.st_mode))
    return fail(kReplayUnreadableLog, "cannot read scan log '" + logPath + "': it is a directory");

  if (!startManager(arguments)) {
    stopManager();
    return fail(kReplayNotRunnable, "could not start and activate the Strolvex component");
  }
  const bool readWhole = replayLines(log.get(), logPath);
  const int readError = errno;
  progress_.finish();
  // A component in the error state publishes nothing: its results would
  // look complete without this check.
  const bool stayedActive = strolvexIsActive();
  stopManager();

  if (unsentScanLine_ != 0)
    return fail(kReplayNotRunnable, "the scan on line " + std::to_string(unsentScanLine_) +
                                        " of '" + logPath +
                                        "' found no connection to Strolvex; replay stopped");
  if (!stayedActive)
    return fail(kReplayNotRunnable,
                "Strolvex left the active state during the replay; its results are incomplete");
  if (std::fflush(out_) != 0 || std::ferror(out_))
    return fail(kReplayNotRunnable, "cannot write the results");
  if (signals_.received() != 0)
    return fail(128 + signals_.received(), "interrupted after " + std::to_string(scansDone_) +
                                               " scans; their results are written");
  if (!readWhole)
    return fail(kReplayUnreadableLog, "reading scan log '" + logPath +
                                          "' failed: " + std::strerror(readError));
  return malformedLines_ != 0 ? kReplayMalformedLines : kReplayOk;
}

}  // namespace

int runReplay(const std::string& program, ManagerArguments& arguments, const std::string& logPath,
              std::FILE* out, std::FILE* err, const TerminationSignals& signals) {
  ReplayRun replay(program, out, err, signals);
  return replay.run(arguments, logPath);
}
