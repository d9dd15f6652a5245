#include <rtm/InPortBase.h>

#include "PortConnections.h"

#include <rtm/OutPortBase.h>

#include <algorithm>

namespace RTC {

InPortBase::InPortBase(const char* name, const char* data_type)
    : m_name(name != nullptr ? name : ""), m_dataType(data_type), m_log(m_name) {}

InPortBase::~InPortBase() { disconnectAll(); }

void InPortBase::disconnectAll() {
  std::lock_guard<std::mutex> lock(portConnectionMutex());
  for (OutPortBase* source : m_sources) {
    auto& targets = source->m_targets;
    targets.erase(std::remove(targets.begin(), targets.end(), this), targets.end());
  }
  m_sources.clear();
}

void InPortBase::reportDrop(unsigned long dropped) {
  // Every drop is counted, but a port that stays full logs at powers of two
  // rather than once a cycle.
  if ((dropped & (dropped - 1)) == 0 && m_log.isEnabled(Logger::RTL_WARN)) {
    m_log.write(Logger::RTL_WARN,
                coil::sprintf("buffer full: dropped the oldest sample (%lu dropped so far)", dropped));
  }
}

}  // namespace RTC
