#include "tools/scanner/ScannerLoop.h"

#include <memory>
#include <thread>
#include <utility>

#include "tools/scanner/ScanToRangeData.h"
#include "tools/scanner/SensorReport.h"
#include "tools/scip/ScipCommands.h"

namespace {

// How often a repeating fault may be logged.
const std::chrono::seconds kQuietPeriod(10);
const std::chrono::milliseconds kRetryPause(1000);
// Long enough for the far end of a link to notice it was closed, as a
// sensor behind a pseudo-terminal or an adapter does only on a hang-up.
const std::chrono::milliseconds kReopenPause(200);
const std::chrono::milliseconds kStopCheck(50);

// In-stream statuses after which the stream goes on by itself: "0M" the
// measurement is unstable (that scan carries no data), "98" the sensor
// resumed after checking its laser.
bool passingStatus(const std::string& status) { return status == "0M" || status == "98"; }

// Faults that keep scans away until they clear, as opposed to a single
// damaged scan or a sensor error that a reset answers.
const char* const kOutageKinds[] = {"open", "protocol", "startup", "lost", "silent", "restart"};

bool isOutage(const std::string& kind) {
  for (const char* outage : kOutageKinds)
    if (kind == outage) return true;
  return false;
}

}  // namespace

ScannerLoop::ScannerLoop(const ScannerSettings& settings, Publish publish, Log log)
    : m_settings(settings),
      m_publish(std::move(publish)),
      m_log(std::move(log)),
      m_throttle(kQuietPeriod),
      m_refused(false),
      m_published(0),
      m_dropped(0),
      m_resets(0),
      m_connections(0) {}

ScannerCounts ScannerLoop::counts() const {
  ScannerCounts counts;
  counts.published = m_published;
  counts.dropped = m_dropped;
  counts.resets = m_resets;
  counts.connections = m_connections;
  return counts;
}

void ScannerLoop::run(const std::atomic<bool>& stop) {
  while (!stop && !m_refused) pause(connectAndStream(stop), stop);
}

ScannerLoop::Pause ScannerLoop::connectAndStream(const std::atomic<bool>& stop) {
  std::string error;
  std::unique_ptr<ScipLink> link = ScipLink::open(m_settings.device, m_settings.baud, m_settings.timeoutMs, error);
  if (!link) {
    report("open", Level::Warn, error + "; trying again every second");
    return Pause::Retry;
  }
  ScipSession session(*link, m_settings.timeoutMs, stop);
  ScipScanRequest request;
  std::string message;
  switch (startScanning(session, m_settings, m_info, request, message)) {
    case StartupResult::Streaming:
      break;
    case StartupResult::Stopped:
      return Pause::None;
    case StartupResult::RangeRefused:
      say(Level::Error, message + "; no scans until the component is reset with corrected parameters");
      m_refused = true;
      return Pause::None;
    case StartupResult::WrongProtocol:
      report("protocol", Level::Error, m_settings.device + ": " + message + "; trying again every second");
      return Pause::Retry;
    case StartupResult::LinkLost:
    case StartupResult::SensorRefused:
      report("startup", Level::Warn, m_settings.device + ": start-up failed: " + message + "; trying again every second");
      return Pause::Retry;
  }
  ++m_connections;
  const std::string sensor = describeSensor(m_info, request.firstStep, request.lastStep);
  if (sensor != m_reportedSensor) {
    say(Level::Info, m_settings.device + ": " + sensor);
    say(Level::Info, "Strolvex parameters for this sensor:");
    for (const std::string& line : strolvexParameterLines(m_info, request.firstStep, request.lastStep))
      say(Level::Info, "  " + line);
    m_reportedSensor = sensor;
  }
  describeRanger(m_info, m_data);
  m_clock.reset();

  switch (stream(session, request, stop)) {
    case StreamEnd::Stopped:
      return Pause::None;
    case StreamEnd::Silent:
      report("silent", Level::Warn,
             m_settings.device + ": no scan for " + std::to_string(m_settings.timeoutMs) + " ms; reconnecting");
      // A sensor that talks again is left as it was found: stopped.
      session.send(scipQuitCommand());
      return Pause::Reopen;
    case StreamEnd::LinkLost:
      report("lost", Level::Warn, m_settings.device + ": link lost (" + session.closedReason() +
                                      "); trying again every second");
      return Pause::Retry;
    case StreamEnd::RestartFailed:
      return Pause::Retry;
  }
  return Pause::Retry;
}

ScannerLoop::StreamEnd ScannerLoop::stream(ScipSession& session, const ScipScanRequest& request,
                                           const std::atomic<bool>& stop) {
  const std::string echoPrefix = request.echoPrefix();
  ScipReply reply;
  std::string error;
  for (;;) {
    switch (session.next(reply)) {
      case ScipSession::Outcome::Ok:
        break;
      case ScipSession::Outcome::Stopped:
        return StreamEnd::Stopped;
      case ScipSession::Outcome::Closed:
        return StreamEnd::LinkLost;
      case ScipSession::Outcome::TimedOut:
        return StreamEnd::Silent;
    }
    if (!reply.ok()) {
      drop(std::string(scipProblemName(reply.problem)) + " (" + reply.detail + ")");
      continue;
    }
    // Replies to anything else (a late answer to a start-up request) are
    // no concern of the stream.
    if (reply.echo.compare(0, echoPrefix.size(), echoPrefix) != 0) continue;
    if (reply.status == "99") {
      if (decodeScan(reply, request, m_scan, error))
        handOn(m_scan, request, session.lastReceived());
      else
        drop(error);
      continue;
    }
    if (reply.status == "00" || passingStatus(reply.status)) continue;
    // A sensor whose trouble persists is reset once a second, not as fast
    // as it answers.
    if (std::chrono::steady_clock::now() - m_lastReset < kRetryPause) pause(Pause::Retry, stop);
    m_lastReset = std::chrono::steady_clock::now();
    ++m_resets;
    report("status", Level::Warn, m_settings.device + ": the sensor reports error status " + reply.status +
                                      "; resetting it and restarting measurement");
    std::string message;
    const StartupResult restarted = restartScanning(session, request, message);
    if (restarted == StartupResult::Stopped) return StreamEnd::Stopped;
    if (restarted != StartupResult::Streaming) {
      report("restart", Level::Warn, m_settings.device + ": restart failed: " + message + "; reconnecting");
      return StreamEnd::RestartFailed;
    }
    m_clock.reset();
  }
}

void ScannerLoop::handOn(const ScipScan& scan, const ScipScanRequest& request,
                         std::chrono::system_clock::time_point received) {
  const double receivedMs =
      std::chrono::duration<double, std::milli>(received.time_since_epoch()).count();
  fillScan(scan, request, m_info, m_clock.hostTime(scan.stamp, receivedMs), m_ranges, m_data);
  m_publish(m_data);
  ++m_published;
  if (m_faulted) {
    // Only scans show that the faults are over; until then a sensor that
    // connects and falls silent again is still the same fault.
    m_faulted = false;
    for (const char* kind : kOutageKinds) m_throttle.clear(kind);
    say(Level::Info, m_settings.device + ": scans are coming again");
  }
}

void ScannerLoop::drop(const std::string& reason) {
  const long dropped = ++m_dropped;
  report("dropped", Level::Warn, m_settings.device + ": scan dropped: " + reason + "; " + std::to_string(dropped) +
                                     " dropped since activation");
}

void ScannerLoop::pause(Pause pause, const std::atomic<bool>& stop) {
  if (pause == Pause::None) return;
  const auto until = std::chrono::steady_clock::now() + (pause == Pause::Retry ? kRetryPause : kReopenPause);
  while (!stop && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(kStopCheck);
}

void ScannerLoop::report(const std::string& kind, Level level, const std::string& text) {
  if (isOutage(kind)) m_faulted = true;
  long heldBack = 0;
  if (!m_throttle.allow(kind, LogThrottle::Clock::now(), heldBack)) return;
  say(level, heldBack == 0 ? text : text + " (" + std::to_string(heldBack) + " more like it not logged)");
}
