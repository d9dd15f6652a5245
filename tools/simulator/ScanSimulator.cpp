#include "tools/simulator/ScanSimulator.h"

#include <coil/Properties.h>
#include <coil/stringutil.h>
#include <rtm/Factory.h>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <limits>

namespace {

const char* kScanSimulatorProfile[] = {
    "implementation_id", "ScanSimulator",
    "type_name", "ScanSimulator",
    "description", "Laser scans of a simulated room with people walking by",
    "version", "1.0.0",
    "vendor", "Tavoran",
    "category", "Simulator",
    "activity_type", "PERIODIC",
    "kind", "DataFlowComponent",
    "max_instance", "1",
    "language", "C++",
    "lang_type", "compile",
    "conf.default.seed", "1",
    "conf.default.duration_s", "0",
    "conf.default.people_per_minute", "30",
    "conf.default.noise_mm", "15",
    "conf.default.min_speed", "0.5",
    "conf.default.max_speed", "1.8",
    "conf.default.scan_rate", "0",
    ""};

const double kPi = 3.141592653589793;
// The scene ends no later than this before its duration with the last
// crossing, so that a tracker sees every pass through.
const double kFinalCrossingMargin = 2.0;
// Used when neither the component nor the manager names a rate: the
// execution context's own default.
const double kDefaultRate = 1000.0;
// The scene's clock reads 2024-01-01 00:00:00 UTC at its start: a stamp of
// zero would say "not stamped" to a consumer.
const long long kSceneEpochSec = 1704067200LL;

}  // namespace

ScanSimulator::ScanSimulator(RTC::Manager* manager)
    : RTC::DataFlowComponentBase(manager),
      m_seed(1),
      m_duration_s(0.0),
      m_people_per_minute(30.0),
      m_noise_mm(15.0),
      m_min_speed(0.5),
      m_max_speed(1.8),
      m_scan_rate(0.0),
      m_rate(kDefaultRate),
      m_cycle(0),
      m_sceneOver(false),
      m_range_dataOut("range_data", m_range_data) {}

RTC::ReturnCode_t ScanSimulator::onInitialize() {
  addOutPort("range_data", m_range_dataOut);
  bindParameter("seed", m_seed, "1");
  bindParameter("duration_s", m_duration_s, "0");
  bindParameter("people_per_minute", m_people_per_minute, "30");
  bindParameter("noise_mm", m_noise_mm, "15");
  bindParameter("min_speed", m_min_speed, "0.5");
  bindParameter("max_speed", m_max_speed, "1.8");
  bindParameter("scan_rate", m_scan_rate, "0");
  return RTC::RTC_OK;
}

// Without a scan_rate the scene's clock advances one period of the
// execution context per cycle, so it needs the rate the context was
// configured with.
double ScanSimulator::executionRate() {
  const char* key = "exec_cxt.periodic.rate";
  std::string text = getProperties().getProperty(key);
  if (text.empty()) text = RTC::Manager::instance().getConfig().getProperty(key);
  double rate = 0.0;
  if (coil::stringTo(rate, text.c_str()) && rate > 0.0 && std::isfinite(rate)) return rate;
  return kDefaultRate;
}

RTC::ReturnCode_t ScanSimulator::onActivated(RTC::UniqueId) {
  if (!(m_min_speed > 0.0) || !(m_max_speed >= m_min_speed) || !(m_people_per_minute >= 0.0) ||
      !(m_noise_mm >= 0.0) || !(m_duration_s >= 0.0) || !(m_scan_rate >= 0.0)) {
    RTC_ERROR(("speeds must satisfy 0 < min_speed <= max_speed; people_per_minute, noise_mm, "
               "duration_s and scan_rate must not be negative"));
    return RTC::RTC_ERROR;
  }
  SceneSettings settings;
  settings.crowd.seed = m_seed;
  settings.crowd.peoplePerMinute = m_people_per_minute;
  settings.crowd.minSpeed = m_min_speed * 1000.0;
  settings.crowd.maxSpeed = m_max_speed * 1000.0;
  if (m_duration_s > 0.0) settings.crowd.lastCrossing = m_duration_s - kFinalCrossingMargin;
  settings.noiseMm = m_noise_mm;
  m_scene.reset(new Scene(settings));
  m_rate = m_scan_rate > 0.0 ? m_scan_rate : executionRate();
  m_cycle = 0;
  m_sceneOver = false;

  // Ranges are millimetres, as the tracker takes them; the angles describe
  // the 270-degree scanner the scene models.
  const SensorLayout layout;
  const double stepAngle = 2.0 * kPi / layout.stepsPerTurn;
  m_range_data.config.minAngle = -layout.frontStep * stepAngle;
  m_range_data.config.maxAngle = (layout.stepCount - 1 - layout.frontStep) * stepAngle;
  m_range_data.config.angularRes = stepAngle;
  m_range_data.config.minRange = 0.0;
  m_range_data.config.maxRange = 30000.0;
  m_range_data.config.rangeRes = 1.0;
  m_range_data.config.frequency = m_rate;
  char text[96];
  std::snprintf(text, sizeof text, "scene of seed %lu at %g Hz", m_seed, m_rate);
  say(text);
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ScanSimulator::onDeactivated(RTC::UniqueId) {
  if (m_scene && !m_sceneOver) endScene(m_cycle / m_rate);
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ScanSimulator::onExecute(RTC::UniqueId) {
  if (m_sceneOver) return RTC::RTC_OK;
  const double t = m_cycle / m_rate;
  if (m_duration_s > 0.0 && t >= m_duration_s) {
    endScene(t);
    RTC::Manager::instance().terminate();
    return RTC::RTC_OK;
  }
  reportCrossings(m_scene->advanceTo(t));
  publishScan(t);
  ++m_cycle;
  return RTC::RTC_OK;
}

void ScanSimulator::publishScan(double t) {
  m_scene->render(m_ranges);
  m_range_data.ranges.length(static_cast<CORBA::ULong>(m_ranges.size()));
  for (std::size_t step = 0; step < m_ranges.size(); ++step)
    m_range_data.ranges[static_cast<CORBA::ULong>(step)] = m_ranges[step];
  // Stamped with the scene's clock, so that a recording of the same seed
  // is the same file every time.
  const double whole = std::floor(t);
  long long nsec = std::llround((t - whole) * 1e9);
  long long sec = kSceneEpochSec + static_cast<long long>(whole);
  if (nsec >= 1000000000LL) {
    nsec -= 1000000000LL;
    ++sec;
  }
  m_range_data.tm.sec = static_cast<CORBA::ULong>(sec);
  m_range_data.tm.nsec = static_cast<CORBA::ULong>(nsec);
  m_range_dataOut.write();
}

void ScanSimulator::reportCrossings(const std::vector<Crossing>& crossings) {
  for (const Crossing& crossing : crossings) {
    char text[96];
    std::snprintf(text, sizeof text, "t=%.1f s person %d crossed %s", crossing.time, crossing.person,
                  crossing.goesIn ? "IN" : "OUT");
    say(text);
  }
}

void ScanSimulator::endScene(double t) {
  m_sceneOver = true;
  char text[96];
  std::snprintf(text, sizeof text, "scene truth IN %d OUT %d after %.1f s", crossedIn(), crossedOut(), t);
  say(text);
}

void ScanSimulator::say(const std::string& text) {
  // One write per line: the components of a demo share the terminal.
  std::cout << (std::string(getInstanceName()) + ": " + text + "\n") << std::flush;
}

int ScanSimulator::crossedIn() const { return m_scene ? m_scene->crossedIn() : 0; }

int ScanSimulator::crossedOut() const { return m_scene ? m_scene->crossedOut() : 0; }

void ScanSimulatorInit(RTC::Manager* manager) {
  coil::Properties profile(kScanSimulatorProfile);
  manager->registerFactory(profile, RTC::Create<ScanSimulator>, RTC::Delete<ScanSimulator>);
}
