#include "tools/scanner/ScipScanner.h"

#include <coil/Properties.h>
#include <rtm/Factory.h>

namespace {

const char* kScipScannerProfile[] = {
    "implementation_id", "ScipScanner",
    "type_name", "ScipScanner",
    "description", "Publishes the scans of a SCIP 2.0 laser scanner",
    "version", "1.0.0",
    "vendor", "Tavoran",
    "category", "Sensor",
    "activity_type", "PERIODIC",
    "kind", "DataFlowComponent",
    "max_instance", "1",
    "language", "C++",
    "lang_type", "compile",
    "conf.default.device", "/dev/ttyACM0",
    "conf.default.baud", "115200",
    "conf.default.first_step", "-1",
    "conf.default.last_step", "-1",
    "conf.default.timeout_ms", "1000",
    ""};

}  // namespace

ScipScanner::ScipScanner(RTC::Manager* manager)
    : RTC::DataFlowComponentBase(manager),
      m_baud(115200),
      m_first_step(-1),
      m_last_step(-1),
      m_timeout_ms(1000),
      m_stop(false),
      m_range_dataOut("range_data", m_range_data) {}

ScipScanner::~ScipScanner() { stopReader(); }

RTC::ReturnCode_t ScipScanner::onInitialize() {
  addOutPort("range_data", m_range_dataOut);
  bindParameter("device", m_device, "/dev/ttyACM0");
  bindParameter("baud", m_baud, "115200");
  bindParameter("first_step", m_first_step, "-1");
  bindParameter("last_step", m_last_step, "-1");
  bindParameter("timeout_ms", m_timeout_ms, "1000");
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ScipScanner::onFinalize() {
  stopReader();
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ScipScanner::onActivated(RTC::UniqueId) {
  stopReader();
  ScannerSettings settings;
  settings.device = m_device;
  settings.baud = m_baud;
  settings.firstStep = m_first_step;
  settings.lastStep = m_last_step;
  settings.timeoutMs = m_timeout_ms;
  std::string problem;
  if (!settings.valid(problem)) {
    RTC_ERROR(("%s", problem.c_str()));
    return RTC::RTC_ERROR;
  }
  m_loop.reset(new ScannerLoop(
      settings, [this](const RTC::RangeData& scan) { publish(scan); },
      [this](ScannerLoop::Level level, const std::string& text) { log(level, text); }));
  m_stop = false;
  m_reader = std::thread([this] { m_loop->run(m_stop); });
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ScipScanner::onDeactivated(RTC::UniqueId) {
  stopReader();
  return RTC::RTC_OK;
}

RTC::ReturnCode_t ScipScanner::onExecute(RTC::UniqueId) {
  // A step range the sensor does not have will not fix itself: the error
  // state shows it until the parameters are corrected and the component reset.
  return m_loop && m_loop->refused() ? RTC::RTC_ERROR : RTC::RTC_OK;
}

ScannerCounts ScipScanner::counts() const { return m_loop ? m_loop->counts() : ScannerCounts(); }

void ScipScanner::stopReader() {
  m_stop = true;
  if (m_reader.joinable()) m_reader.join();
}

void ScipScanner::publish(const RTC::RangeData& scan) {
  m_range_data = scan;
  m_range_dataOut.write();
}

void ScipScanner::log(ScannerLoop::Level level, const std::string& text) {
  switch (level) {
    case ScannerLoop::Level::Error:
      RTC_ERROR(("%s", text.c_str()));
      break;
    case ScannerLoop::Level::Warn:
      RTC_WARN(("%s", text.c_str()));
      break;
    case ScannerLoop::Level::Info:
      RTC_INFO(("%s", text.c_str()));
      break;
  }
}

void ScipScannerInit(RTC::Manager* manager) {
  coil::Properties profile(kScipScannerProfile);
  manager->registerFactory(profile, RTC::Create<ScipScanner>, RTC::Delete<ScipScanner>);
}
