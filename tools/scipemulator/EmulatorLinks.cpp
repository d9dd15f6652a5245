#include "tools/scipemulator/EmulatorLinks.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// What a host that stopped reading may leave unsent before the rest is
// thrown away, as a sensor's buffer overflows.
const std::size_t kMaxUnsent = 1 << 20;
const int64_t kLookAgainMs = 10;
const int64_t kDrainMs = 50;

std::string failure(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

bool EmulatorLink::flush(int fd, int64_t nowMs) {
  sensor_.advance(nowMs);
  unsent_ += sensor_.takeOutput();
  if (unsent_.size() > kMaxUnsent) unsent_.clear();
  while (!unsent_.empty()) {
    const ssize_t written = ::write(fd, unsent_.data(), unsent_.size());
    if (written < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    unsent_.erase(0, static_cast<std::size_t>(written));
  }
  return true;
}

bool EmulatorLink::dropDue(int64_t nowMs) {
  if (!sensor_.dropWanted()) return false;
  if (dropAtMs_ < 0) dropAtMs_ = nowMs + kDrainMs;
  return nowMs >= dropAtMs_;
}

PtyLink::~PtyLink() {
  close();
  if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
}

void PtyLink::close() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
  connected_ = false;
  unsent_.clear();
  dropAtMs_ = -1;
}

bool PtyLink::open(std::string& error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = failure("pseudo-terminal");
    return false;
  }
  // Raw, so that the terminal neither echoes the host's commands nor
  // translates line ends.
  termios mode;
  if (tcgetattr(master_, &mode) == 0) {
    cfmakeraw(&mode);
    tcsetattr(master_, TCSANOW, &mode);
  }
  const std::string device = ptsname(master_);
  if (!linkPath_.empty()) {
    // Replaced in one step: a host retrying never finds the link missing.
    const std::string fresh = linkPath_ + ".new";
    ::unlink(fresh.c_str());
    if (::symlink(device.c_str(), fresh.c_str()) != 0 || ::rename(fresh.c_str(), linkPath_.c_str()) != 0) {
      error = failure("link " + linkPath_);
      return false;
    }
  }
  std::printf("pty %s\n", device.c_str());
  std::fflush(stdout);
  return true;
}

void PtyLink::watch(std::vector<pollfd>& fds, int64_t nowMs) {
  pollfd fd = {-1, 0, 0};
  if (nowMs >= quietUntilMs_) fd = {master_, static_cast<short>(POLLIN | (unsent_.empty() ? 0 : POLLOUT)), 0};
  fds.push_back(fd);
}

bool PtyLink::serve(const pollfd* fds, int64_t nowMs, std::string& error) {
  if (fds[0].fd < 0) return true;
  if ((fds[0].revents & POLLHUP) && !(fds[0].revents & POLLIN)) {
    // Nobody has the device open; what was not read goes with them.
    if (connected_) tcflush(master_, TCIOFLUSH);
    connected_ = false;
    unsent_.clear();
    quietUntilMs_ = nowMs + kLookAgainMs;
    return true;
  }
  if (fds[0].revents & POLLIN) {
    char buffer[4096];
    const ssize_t got = ::read(master_, buffer, sizeof buffer);
    if (got > 0) {
      if (!connected_) {
        sensor_.connect(nowMs);
        dropAtMs_ = -1;
      }
      connected_ = true;
      sensor_.receive(buffer, static_cast<std::size_t>(got), nowMs);
    } else if (got < 0 && errno != EAGAIN && errno != EINTR) {
      connected_ = false;
      quietUntilMs_ = nowMs + kLookAgainMs;
      return true;
    }
  }
  if (!connected_) return true;
  flush(master_, nowMs);
  if (dropDue(nowMs)) {
    // Unplugged and plugged in again: a new device behind the same link.
    close();
    return open(error);
  }
  return true;
}

TcpLink::~TcpLink() {
  hangUp();
  if (listener_ >= 0) ::close(listener_);
}

void TcpLink::hangUp() {
  if (client_ >= 0) ::close(client_);
  client_ = -1;
  connected_ = false;
  unsent_.clear();
  dropAtMs_ = -1;
}

bool TcpLink::open(int port, std::string& error) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  const int yes = 1;
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0 ||
      ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener_, 4) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    error = failure("TCP port " + std::to_string(port));
    return false;
  }
  std::printf("tcp %d\n", ntohs(address.sin_port));
  std::fflush(stdout);
  return true;
}

void TcpLink::watch(std::vector<pollfd>& fds, int64_t) {
  fds.push_back({listener_, POLLIN, 0});
  fds.push_back({client_, static_cast<short>(POLLIN | (unsent_.empty() ? 0 : POLLOUT)), 0});
}

bool TcpLink::serve(const pollfd* fds, int64_t nowMs, std::string&) {
  if (fds[0].revents & POLLIN) {
    const int accepted = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK);
    if (accepted >= 0) {
      // One host at a time, as a sensor: the newest wins.
      hangUp();
      client_ = accepted;
      connected_ = true;
      sensor_.connect(nowMs);
      return true;
    }
  }
  if (client_ < 0) return true;
  if (fds[1].fd == client_ && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
    char buffer[4096];
    const ssize_t got = ::read(client_, buffer, sizeof buffer);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
      hangUp();
      return true;
    }
    if (got > 0) sensor_.receive(buffer, static_cast<std::size_t>(got), nowMs);
  }
  if (!flush(client_, nowMs) || dropDue(nowMs)) hangUp();
  return true;
}
