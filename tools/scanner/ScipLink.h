// The byte stream to a scanner, a serial device or a TCP connection. Every
// call waits at most the time-out it is given, so the thread that owns the
// link can always notice a silent or vanished sensor and a stop request.
#ifndef STROLVEX_TOOLS_SCANNER_SCIPLINK_H
#define STROLVEX_TOOLS_SCANNER_SCIPLINK_H

#include <memory>
#include <string>

#include "tools/scanner/LinkAddress.h"

class ScipLink {
 public:
  enum class Io { Ok, TimedOut, Closed };

  // Opens the device ("tcp:HOST:PORT" or a serial device path; baud applies
  // to serial devices only). Null, with the reason in error, when that fails.
  static std::unique_ptr<ScipLink> open(const std::string& device, int baud, int timeoutMs,
                                        std::string& error);
  ~ScipLink();
  ScipLink(const ScipLink&) = delete;
  ScipLink& operator=(const ScipLink&) = delete;

  // Writes all of bytes unless the time-out passes or the link is gone.
  Io send(const std::string& bytes, int timeoutMs);
  // Waits up to timeoutMs for bytes and appends those at hand to received.
  Io receive(std::string& received, int timeoutMs);
  // Why the last call answered Closed.
  const std::string& closedReason() const { return m_closedReason; }

 private:
  ScipLink(int fd, bool socket) : m_fd(fd), m_socket(socket) {}
  Io closed(const std::string& reason);

  int m_fd;
  bool m_socket;
  std::string m_closedReason;
};

// Opened file descriptors in non-blocking mode, or -1 with the reason in error.
int openSerialDevice(const std::string& path, int baud, std::string& error);
int connectTcp(const std::string& host, int port, int timeoutMs, std::string& error);

#endif
