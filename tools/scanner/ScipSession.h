// A conversation with a scanner over one link: requests and the replies
// that answer them, and the replies of a scan stream, each within the
// link's time-out and without missing a stop request for longer than a
// tenth of a second.
#ifndef STROLVEX_TOOLS_SCANNER_SCIPSESSION_H
#define STROLVEX_TOOLS_SCANNER_SCIPSESSION_H

#include <atomic>
#include <chrono>
#include <string>

#include "tools/scanner/ScipLink.h"
#include "tools/scip/ScipReply.h"
#include "tools/scip/ScipReplyReader.h"

class ScipSession {
 public:
  enum class Outcome { Ok, TimedOut, Closed, Stopped };

  ScipSession(ScipLink& link, int timeoutMs, const std::atomic<bool>& stop)
      : m_link(link), m_timeoutMs(timeoutMs), m_stop(stop) {}

  // Sends command (a request line with its line feed) and waits for the
  // reply whose echo is the command; replies to anything else (the rest of
  // a scan stream, an answer to an earlier request) are passed over.
  Outcome request(const std::string& command, ScipReply& reply);
  Outcome send(const std::string& command);
  // The next reply of any kind, or TimedOut when none completes within the
  // time-out.
  Outcome next(ScipReply& reply);
  // When the last byte of the reply that next() or request() returned was read.
  std::chrono::system_clock::time_point lastReceived() const { return m_lastReceived; }
  const std::string& closedReason() const { return m_link.closedReason(); }

 private:
  ScipLink& m_link;
  int m_timeoutMs;
  const std::atomic<bool>& m_stop;
  ScipReplyReader m_reader;
  std::string m_bytes;
  std::chrono::system_clock::time_point m_lastReceived;
};

#endif
