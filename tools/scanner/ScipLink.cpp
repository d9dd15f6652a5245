#include "tools/scanner/ScipLink.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

int remainingMs(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

std::unique_ptr<ScipLink> ScipLink::open(const std::string& device, int baud, int timeoutMs,
                                         std::string& error) {
  LinkAddress address;
  if (!parseLinkAddress(device, address, error)) return nullptr;
  const int fd = address.kind == LinkAddress::Kind::Tcp ? connectTcp(address.host, address.port, timeoutMs, error)
                                                        : openSerialDevice(address.path, baud, error);
  if (fd < 0) return nullptr;
  return std::unique_ptr<ScipLink>(new ScipLink(fd, address.kind == LinkAddress::Kind::Tcp));
}

ScipLink::~ScipLink() { ::close(m_fd); }

ScipLink::Io ScipLink::closed(const std::string& reason) {
  m_closedReason = reason;
  return Io::Closed;
}

ScipLink::Io ScipLink::send(const std::string& bytes, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    // A peer that went away must not raise SIGPIPE in the whole process.
    const ssize_t n = m_socket ? ::send(m_fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL)
                               : ::write(m_fd, bytes.data() + sent, bytes.size() - sent);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return closed(std::strerror(errno));
    pollfd waiting = {m_fd, POLLOUT, 0};
    const int ready = ::poll(&waiting, 1, remainingMs(deadline));
    if (ready == 0) return Io::TimedOut;
    if (ready < 0 && errno != EINTR) return closed(std::strerror(errno));
    if (ready > 0 && (waiting.revents & (POLLERR | POLLNVAL))) return closed("device error");
  }
  return Io::Ok;
}

ScipLink::Io ScipLink::receive(std::string& received, int timeoutMs) {
  pollfd waiting = {m_fd, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&waiting, 1, timeoutMs);
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) return closed(std::strerror(errno));
  if (ready == 0) return Io::TimedOut;
  // A hang-up may still leave bytes to read; they are taken first.
  char buffer[4096];
  const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
  if (n > 0) {
    received.append(buffer, static_cast<std::size_t>(n));
    return Io::Ok;
  }
  if (n == 0) return closed("end of stream");
  if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return Io::Ok;
  // An unplugged USB device and a pty whose other end closed read as EIO.
  return closed(std::strerror(errno));
}
