#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/scanner/ScipLink.h"

namespace {

// One attempt on one resolved address; the socket or -1 with errno's reason.
int connectOne(const addrinfo& address, int timeoutMs, std::string& reason) {
  const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
  if (fd < 0) {
    reason = std::strerror(errno);
    return -1;
  }
  int status = ::connect(fd, address.ai_addr, address.ai_addrlen);
  if (status != 0 && errno == EINPROGRESS) {
    pollfd waiting = {fd, POLLOUT, 0};
    int ready;
    do {
      ready = ::poll(&waiting, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    int socketError = ETIMEDOUT;
    socklen_t length = sizeof socketError;
    if (ready > 0) ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &socketError, &length);
    status = socketError == 0 ? 0 : -1;
    errno = socketError;
  }
  if (status != 0) {
    reason = std::strerror(errno);
    ::close(fd);
    return -1;
  }
  // Commands are a few bytes each and the reply is awaited: send at once.
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

}  // namespace

int connectTcp(const std::string& host, int port, int timeoutMs, std::string& error) {
  addrinfo hints;
  std::memset(&hints, 0, sizeof hints);
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string where = host + ":" + std::to_string(port);
  const int resolved = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
  if (resolved != 0) {
    error = "cannot resolve " + host + ": " + ::gai_strerror(resolved);
    return -1;
  }
  std::string reason = "no address";
  int fd = -1;
  for (const addrinfo* address = found; address != nullptr && fd < 0; address = address->ai_next)
    fd = connectOne(*address, timeoutMs, reason);
  ::freeaddrinfo(found);
  if (fd < 0) error = "cannot connect to " + where + ": " + reason;
  return fd;
}
