#include <cmath>
#include <cstdio>

#include "component/Strolvex.h"

namespace {

// The filter looks 9 steps to either side of the processed range, and the
// step arrays hold steps 0..1099.
const int32_t kLowestFirstStep = 9;
const int32_t kHighestLastStep = kScanSteps - 1 - 9;
// Readings of a sensor that reports metres stay below this many millimetres.
const double kMetresSuspicionMm = 100.0;

// Appends one complaint to a bounded message without allocating.
void appendComplaint(char* message, std::size_t capacity, std::size_t& used,
                     const char* name, int32_t value, const char* allowed) {
  if (used >= capacity) return;
  const int written = std::snprintf(message + used, capacity - used, "%s%s is %d, allowed %s",
                                    used == 0 ? "" : "; ", name, static_cast<int>(value), allowed);
  if (written > 0) used += static_cast<std::size_t>(written);
}

}  // namespace

bool Strolvex::admitScan() {
  // Taken even when it is then ignored, so that it is not offered again.
  m_range_dataIn.read();
  if (m_scanWork == nullptr) return false;  // activation failed
  if (!configurationIsValid()) return false;
  if (!scanIsLongEnough()) return false;
  warnIfScanLooksLikeMetres();
  return true;
}

bool Strolvex::configurationIsValid() {
  char message[512];
  message[0] = '\0';
  std::size_t used = 0;
  char allowed[64];
  if (m_Human_NUM < 1 || m_Human_NUM > kMaxSlots) {
    appendComplaint(message, sizeof message, used, "Human_NUM", m_Human_NUM, "1..10");
  }
  if (m_LRFdata_min < kLowestFirstStep || m_LRFdata_min > kHighestLastStep) {
    appendComplaint(message, sizeof message, used, "LRFdata_min", m_LRFdata_min, "9..1090");
  } else if (m_LRFdata_max < m_LRFdata_min || m_LRFdata_max > kHighestLastStep) {
    std::snprintf(allowed, sizeof allowed, "%d..1090 (from LRFdata_min)",
                  static_cast<int>(m_LRFdata_min));
    appendComplaint(message, sizeof message, used, "LRFdata_max", m_LRFdata_max, allowed);
  }
  if (m_LRF_Total_steps <= 0) {
    appendComplaint(message, sizeof message, used, "LRF_Total_steps", m_LRF_Total_steps,
                    "above 0");
  }
  if (m_LRFdata_theta <= 0) {
    appendComplaint(message, sizeof message, used, "LRFdata_theta", m_LRFdata_theta, "above 0");
  }

  if (used == 0) {
    if (!m_reportedInvalidConfiguration.empty()) {
      RTC_INFO(("configuration valid again; processing scans"));
      m_reportedInvalidConfiguration.clear();
    }
    return true;
  }
  // Reported once per distinct invalid configuration, not once per scan.
  if (m_reportedInvalidConfiguration != message) {
    RTC_ERROR(("invalid configuration, scans are ignored until it is corrected: %s", message));
    m_reportedInvalidConfiguration = message;
  }
  return false;
}

bool Strolvex::scanIsLongEnough() {
  const CORBA::ULong received = m_range_data.ranges.length();
  const CORBA::ULong needed = static_cast<CORBA::ULong>(m_LRFdata_max) + 1;
  if (received >= needed) return true;
  const int32_t ignored = m_shortScanWarning.noteIgnoredScan(readClock());
  if (ignored > 0) {
    RTC_WARN(("scan ignored: %u ranges received, %u needed (LRFdata_max is %d); "
              "%d short scan(s) ignored since the last warning",
              static_cast<unsigned>(received), static_cast<unsigned>(needed),
              static_cast<int>(m_LRFdata_max), static_cast<int>(ignored)));
  }
  return false;
}

void Strolvex::warnIfScanLooksLikeMetres() {
  if (m_unitsWarningGiven) return;
  bool anyPositive = false;
  for (int32_t s = m_LRFdata_min; s <= m_LRFdata_max; ++s) {
    const double reading = m_range_data.ranges[static_cast<CORBA::ULong>(s)];
    if (!std::isfinite(reading)) continue;
    if (reading >= kMetresSuspicionMm) return;
    if (reading > 0.0) anyPositive = true;
  }
  if (!anyPositive) return;
  RTC_WARN(("every range of this scan is below 100: the component expects millimetres, "
            "the scan looks like metres"));
  m_unitsWarningGiven = true;
}
