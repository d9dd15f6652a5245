#include <rtm/OutPortBase.h>

#include "PortConnections.h"

#include <rtm/InPortBase.h>

#include <algorithm>

namespace RTC {

std::mutex& portConnectionMutex() {
  static std::mutex* const mutex = new std::mutex;  // outlives static ports
  return *mutex;
}

OutPortBase::OutPortBase(const char* name, const char* data_type)
    : m_name(name != nullptr ? name : ""), m_dataType(data_type) {}

OutPortBase::~OutPortBase() {
  std::lock_guard<std::mutex> lock(portConnectionMutex());
  for (InPortBase* target : m_targets) {
    auto& sources = target->m_sources;
    sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
  }
}

bool OutPortBase::connect(InPortBase& in) {
  if (m_dataType != in.m_dataType) {
    return false;
  }
  std::lock_guard<std::mutex> lock(portConnectionMutex());
  if (std::find(m_targets.begin(), m_targets.end(), &in) != m_targets.end()) {
    return false;
  }
  m_targets.push_back(&in);
  in.m_sources.push_back(this);
  return true;
}

bool OutPortBase::deliver(const void* sample) {
  std::lock_guard<std::mutex> lock(portConnectionMutex());
  for (InPortBase* target : m_targets) {
    target->receive(sample);
  }
  return !m_targets.empty();
}

}  // namespace RTC
