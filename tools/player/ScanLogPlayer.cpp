#include "tools/player/ScanLogPlayer.h"

#include <coil/Properties.h>
#include <rtm/Factory.h>

#include <algorithm>
#include <iostream>

#include "tools/scanlog/ScanLogRangeData.h"

namespace {

const char* kScanLogPlayerProfile[] = {
    "implementation_id", "ScanLogPlayer",
    "type_name", "ScanLogPlayer",
    "description", "Publishes the laser scans of a scan log",
    "version", "1.0.0",
    "vendor", "Tavoran",
    "category", "Player",
    "activity_type", "PERIODIC",
    "kind", "DataFlowComponent",
    "max_instance", "1",
    "language", "C++",
    "lang_type", "compile",
    "conf.default.file", "scans.log",
    "conf.default.speed", "1",
    "conf.default.loop", "0",
    ""};

// The gap between the end of one pass and the start of the next when the
// log holds a single scan and so no interval of its own.
const int64_t kSingleScanGapMs = 100;
// The least gap between passes: a log with one time stamp throughout has
// no interval of its own either.
const int64_t kMinimumGapMs = 1;

}  // namespace

ScanLogPlayer::ScanLogPlayer(RTC::Manager* manager)
    : RTC::DataFlowComponentBase(manager),
      m_speed(1.0),
      m_loop(0),
      m_hasPending(false),
      m_ended(false),
      m_firstSeen(false),
      m_firstT(0),
      m_lastT(0),
      m_passOffset(0),
      m_passNumber(0),
      m_passScans(0),
      m_published(0),
      m_range_dataOut("range_data", m_range_data) {}

RTC::ReturnCode_t ScanLogPlayer::onInitialize() {
  addOutPort("range_data", m_range_dataOut);
  bindParameter("file", m_file, "scans.log");
  bindParameter("speed", m_speed, "1");
  bindParameter("loop", m_loop, "0");
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ScanLogPlayer::onActivated(RTC::UniqueId) {
  if (!(m_speed >= 0.0)) {
    RTC_ERROR(("speed %g is negative", m_speed));
    return RTC::RTC_ERROR;
  }
  if (!m_source.open(m_file)) {
    RTC_ERROR(("cannot read the scan log %s", m_file.c_str()));
    return RTC::RTC_ERROR;
  }
  m_hasPending = false;
  m_ended = false;
  m_firstSeen = false;
  m_passOffset = 0;
  m_passNumber = 0;
  m_passScans = 0;
  m_published = 0;
  m_start = std::chrono::steady_clock::now();
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ScanLogPlayer::onExecute(RTC::UniqueId) {
  if (m_speed == 0.0) {
    if (fetchScan()) publishScan();
    return RTC::RTC_OK;
  }
  // Several scans in one cycle when the execution context is slower than
  // the recording: the pace is the recording's, not the cycle's. But no
  // more than the rest of one pass, or a looped log whose passes are all
  // due at once (one time stamp throughout, a very high speed) would hold
  // the cycle for ever.
  const long pass = m_passNumber;
  while (fetchScan() && m_passNumber == pass && scanIsDue()) publishScan();
  return RTC::RTC_OK;
}

bool ScanLogPlayer::fetchScan() {
  if (m_hasPending) return true;
  if (m_ended) return false;
  std::string problem;
  for (;;) {
    switch (m_source.next(m_pending, problem)) {
      case ScanLogSource::kScan:
        if (!m_firstSeen) {
          m_firstSeen = true;
          m_firstT = m_pending.t_ms;
        }
        m_hasPending = true;
        return true;
      case ScanLogSource::kMalformed:
        RTC_WARN(("%s: %s; skipped", m_file.c_str(), problem.c_str()));
        break;
      case ScanLogSource::kEnd:
        if (startNextPass()) break;
        m_ended = true;
        say("end of " + m_file + " after " + std::to_string(m_published) + " scans");
        return false;
    }
  }
}

// Looping continues the time line: the next pass follows the last scan
// after the log's mean interval. A log whose stamps fall still moves every
// pass forward, so that looped stamps never go below the log's own.
bool ScanLogPlayer::startNextPass() {
  if (m_loop == 0 || m_passScans == 0) return false;
  const int64_t span = std::max<int64_t>(m_lastT - m_firstT, 0);
  const int64_t gap = m_passScans > 1 ? span / (m_passScans - 1) : kSingleScanGapMs;
  m_passOffset += span + std::max(gap, kMinimumGapMs);
  ++m_passNumber;
  m_passScans = 0;
  m_source.rewind();
  return true;
}

bool ScanLogPlayer::scanIsDue() {
  const double elapsedMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start).count();
  return static_cast<double>(m_pending.t_ms - m_firstT + m_passOffset) <= elapsedMs * m_speed;
}

void ScanLogPlayer::publishScan() {
  fillRangeData(m_range_data, m_pending.t_ms + m_passOffset, m_pending.ranges);
  m_range_dataOut.write();
  m_lastT = m_pending.t_ms;
  m_hasPending = false;
  ++m_passScans;
  ++m_published;
}

void ScanLogPlayer::say(const std::string& text) {
  std::cout << (std::string(getInstanceName()) + ": " + text + "\n") << std::flush;
}

void ScanLogPlayerInit(RTC::Manager* manager) {
  coil::Properties profile(kScanLogPlayerProfile);
  manager->registerFactory(profile, RTC::Create<ScanLogPlayer>, RTC::Delete<ScanLogPlayer>);
}
