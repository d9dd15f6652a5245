// Keeps a repeating fault from flooding the log: the first line about a
// kind of fault goes out at once, repeats within the quiet period are only
// counted, and the next line that goes out says how many were held back.
#ifndef STROLVEX_TOOLS_SCANNER_LOGTHROTTLE_H
#define STROLVEX_TOOLS_SCANNER_LOGTHROTTLE_H

#include <chrono>
#include <map>
#include <string>

class LogThrottle {
 public:
  using Clock = std::chrono::steady_clock;

  explicit LogThrottle(Clock::duration quiet) : m_quiet(quiet) {}

  // True when a line about kind may go out at now; heldBack is then the
  // number of occurrences swallowed since the previous line about it.
  bool allow(const std::string& kind, Clock::time_point now, long& heldBack);
  // Forgets kind, so that its next occurrence is reported at once (after
  // the fault cleared).
  void clear(const std::string& kind) { m_kinds.erase(kind); }

 private:
  struct Kind {
    Clock::time_point lastLine;
    long heldBack;
  };
  Clock::duration m_quiet;
  std::map<std::string, Kind> m_kinds;
};

#endif
