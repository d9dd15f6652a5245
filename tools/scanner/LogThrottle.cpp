#include "tools/scanner/LogThrottle.h"

bool LogThrottle::allow(const std::string& kind, Clock::time_point now, long& heldBack) {
  auto found = m_kinds.find(kind);
  if (found == m_kinds.end()) {
    m_kinds[kind] = Kind{now, 0};
    heldBack = 0;
    return true;
  }
  Kind& entry = found->second;
  if (now - entry.lastLine < m_quiet) {
    ++entry.heldBack;
    return false;
  }
  heldBack = entry.heldBack;
  entry = Kind{now, 0};
  return true;
}
