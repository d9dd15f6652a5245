// A middleware manager running Strolvex and the replay's own driver
// component, with an execution context that runs one cycle when told to,
// in the calling thread. Only one lives in a process, as one manager does.
#ifndef STROLVEX_TOOLS_REPLAY_REPLAYSESSION_H
#define STROLVEX_TOOLS_REPLAY_REPLAYSESSION_H

#include <rtm/ExtTrigExecutionContext.h>
#include <rtm/Manager.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tracker/ElapsedClock.h"
#include "tools/scanlog/ScanLog.h"

class ManagerArguments;
class PassCountingObserver;
class ScanReplayDriver;
class Strolvex;

// What Strolvex published for one scan, port by port.
struct CycleResult {
  bool published = false;  // false when the component ignored the scan
  std::vector<int32_t> x, y, v, h, count;
};

class ReplaySession {
 public:
  ReplaySession() = default;
  ~ReplaySession() { stop(); }
  ReplaySession(const ReplaySession&) = delete;
  ReplaySession& operator=(const ReplaySession&) = delete;

  // Starts a manager made from arguments (the replay's own settings go
  // over the user's) with Strolvex active; false when that failed.
  bool start(const std::string& program, ManagerArguments& arguments);
  // Runs one cycle on scan, its time stamp being the component's clock;
  // false when no connection took the scan. The scan lends its ranges to
  // the port for the write and has them back unchanged.
  bool replayScan(ScanRecord& scan, CycleResult& result);
  // A component in the error state publishes nothing: results that look
  // complete are only so while this holds.
  bool strolvexIsActive() const;
  // Shows Strolvex's pass counting to observer (not owned) from now on.
  void setPassCountingObserver(PassCountingObserver* observer);
  // Takes everything down; the session cannot be started again.
  void stop();

 private:
  // The manager may keep pointers into its command line, which lives here.
  std::vector<char*> managerArgv_;
  RTC::Manager* manager_ = nullptr;
  ScanReplayDriver* driver_ = nullptr;
  Strolvex* strolvex_ = nullptr;
  OpenRTM::ExtTrigExecutionContextService_var trigger_ =
      OpenRTM::ExtTrigExecutionContextService::_nil();
  ManualClock clock_;
};

#endif
