// The reader thread's work: connect to the sensor, start it, hand every
// sound scan on as an RTC::RangeData, and ride out whatever goes wrong
// (no device, a lost link, silence, damaged replies, sensor errors) with
// one rate-limited log line per kind of fault, until asked to stop.
#ifndef STROLVEX_TOOLS_SCANNER_SCANNERLOOP_H
#define STROLVEX_TOOLS_SCANNER_SCANNERLOOP_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "tools/scanner/LogThrottle.h"
#include "tools/scanner/ScannerSettings.h"
#include "tools/scanner/ScannerStartup.h"
#include "tools/scanner/ScipSession.h"
#include "tools/scip/ScipScan.h"
#include "tools/scip/SensorClock.h"
#include "tools/scip/SensorInfo.h"

struct ScannerCounts {
  long published = 0;    // scans handed on
  long dropped = 0;      // scan replies damaged, cut short or undecodable
  long resets = 0;       // restarts after a sensor error status
  long connections = 0;  // successful start-ups
};

class ScannerLoop {
 public:
  enum class Level { Error, Warn, Info };
  using Publish = std::function<void(const RTC::RangeData&)>;
  using Log = std::function<void(Level, const std::string&)>;

  ScannerLoop(const ScannerSettings& settings, Publish publish, Log log);

  // Runs until stop is set, or until the sensor turns out not to have the
  // configured steps (then refused() is true).
  void run(const std::atomic<bool>& stop);

  bool refused() const { return m_refused; }
  ScannerCounts counts() const;

 private:
  enum class StreamEnd { LinkLost, Silent, Stopped, RestartFailed };

  // What to wait for, with the device closed, before the next attempt.
  enum class Pause { None, Reopen, Retry };

  Pause connectAndStream(const std::atomic<bool>& stop);
  StreamEnd stream(ScipSession& session, const ScipScanRequest& request, const std::atomic<bool>& stop);
  void handOn(const ScipScan& scan, const ScipScanRequest& request, std::chrono::system_clock::time_point received);
  void drop(const std::string& reason);
  // Waits between attempts (less if asked to stop).
  void pause(Pause pause, const std::atomic<bool>& stop);
  void report(const std::string& kind, Level level, const std::string& text);
  void say(Level level, const std::string& text) { m_log(level, text); }

  ScannerSettings m_settings;
  Publish m_publish;
  Log m_log;
  LogThrottle m_throttle;
  std::atomic<bool> m_refused;
  std::atomic<long> m_published, m_dropped, m_resets, m_connections;

  SensorInfo m_info;
  std::string m_reportedSensor;
  std::chrono::steady_clock::time_point m_lastReset;
  // A fault was logged and no scan has come since.
  bool m_faulted = false;
  SensorClock m_clock;
  ScipScan m_scan;
  std::vector<double> m_ranges;
  RTC::RangeData m_data;
};

#endif
