#include "tools/scanner/ScipSession.h"

#include <algorithm>

namespace {

// The longest a stop request waits for a blocked read.
const int kStopCheckMs = 100;

}  // namespace

ScipSession::Outcome ScipSession::send(const std::string& command) {
  switch (m_link.send(command, m_timeoutMs)) {
    case ScipLink::Io::Ok:
      return Outcome::Ok;
    case ScipLink::Io::TimedOut:
      return Outcome::TimedOut;
    case ScipLink::Io::Closed:
      break;
  }
  return Outcome::Closed;
}

ScipSession::Outcome ScipSession::request(const std::string& command, ScipReply& reply) {
  const Outcome sent = send(command);
  if (sent != Outcome::Ok) return sent;
  const std::string echo = command.substr(0, command.find('\n'));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_timeoutMs);
  // Stream replies keep the wait going, so the deadline is the request's own.
  while (std::chrono::steady_clock::now() < deadline) {
    const Outcome got = next(reply);
    if (got != Outcome::Ok) return got;
    if (reply.echo == echo) return Outcome::Ok;
  }
  return Outcome::TimedOut;
}

ScipSession::Outcome ScipSession::next(ScipReply& reply) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_timeoutMs);
  while (!m_reader.next(reply)) {
    if (m_stop) return Outcome::Stopped;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return Outcome::TimedOut;
    m_bytes.clear();
    switch (m_link.receive(m_bytes, static_cast<int>(std::min<long long>(left, kStopCheckMs)))) {
      case ScipLink::Io::Closed:
        return Outcome::Closed;
      case ScipLink::Io::TimedOut:
        break;
      case ScipLink::Io::Ok:
        m_lastReceived = std::chrono::system_clock::now();
        m_reader.feed(m_bytes);
        break;
    }
  }
  return Outcome::Ok;
}
