// The link to a sensor over a pseudo-terminal (as a USB or RS-232 device
// appears) and over TCP: bytes pass unchanged both ways, silence times out,
// and a vanished peer reads as closed without harming the process.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "tools/scanner/ScipLink.h"

namespace {

// Everything the other end can read within timeoutMs.
std::string drain(int fd, int timeoutMs) {
  std::string bytes;
  pollfd waiting = {fd, POLLIN, 0};
  char buffer[256];
  while (::poll(&waiting, 1, timeoutMs) > 0) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

std::string receiveAll(ScipLink& link, std::size_t size) {
  std::string bytes;
  for (int attempt = 0; attempt < 50 && bytes.size() < size; ++attempt)
    if (link.receive(bytes, 100) == ScipLink::Io::Closed) break;
  return bytes;
}

// Bytes a terminal in its default mode would alter or swallow: CR, ^C, ^D,
// ^S, a line feed and a byte with the top bit set.
const std::string kAwkwardBytes = std::string("VV\r\x03\x04\x13;x\n\xb5", 10);

// The far end of a link: a pseudo-terminal's master side or an accepted socket.
void exchangeBothWays(ScipLink& link, int far) {
  ASSERT_EQ(link.send(kAwkwardBytes, 1000), ScipLink::Io::Ok);
  EXPECT_EQ(drain(far, 200), kAwkwardBytes);
  ASSERT_EQ(::write(far, kAwkwardBytes.data(), kAwkwardBytes.size()), static_cast<ssize_t>(kAwkwardBytes.size()));
  EXPECT_EQ(receiveAll(link, kAwkwardBytes.size()), kAwkwardBytes);
  std::string nothing;
  EXPECT_EQ(link.receive(nothing, 50), ScipLink::Io::TimedOut);
  EXPECT_TRUE(nothing.empty());
}

}  // namespace

TEST(ScipLink, PseudoTerminalPassesBytesRawAndReadsClosedOnHangUp) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  std::string error;
  std::unique_ptr<ScipLink> link = ScipLink::open(::ptsname(master), 19200, 1000, error);
  ASSERT_TRUE(link != nullptr) << error;
  exchangeBothWays(*link, master);
  ::close(master);
  std::string bytes;
  EXPECT_EQ(link->receive(bytes, 1000), ScipLink::Io::Closed);
  EXPECT_FALSE(link->closedReason().empty());
}

TEST(ScipLink, TcpPassesBytesAndSurvivesAPeerThatLeft) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 1), 0);
  ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const std::string device = "tcp:127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  std::string error;
  std::unique_ptr<ScipLink> link = ScipLink::open(device, 115200, 1000, error);
  ASSERT_TRUE(link != nullptr) << error;
  const int peer = ::accept(listener, nullptr, nullptr);
  ASSERT_GE(peer, 0);
  exchangeBothWays(*link, peer);
  ::close(peer);
  std::string bytes;
  EXPECT_EQ(link->receive(bytes, 1000), ScipLink::Io::Closed);
  // Writing to a peer that left ends in Closed, not in SIGPIPE.
  ScipLink::Io sent = ScipLink::Io::Ok;
  for (int k = 0; k < 100 && sent == ScipLink::Io::Ok; ++k) sent = link->send("QT\n", 100);
  EXPECT_EQ(sent, ScipLink::Io::Closed);
  link.reset();

  ::close(listener);  // nobody listens on the port any more
  EXPECT_TRUE(ScipLink::open(device, 115200, 1000, error) == nullptr);
  EXPECT_NE(error.find("cannot connect to 127.0.0.1:"), std::string::npos) << error;
}

TEST(ScipLink, DevicesThatCannotServeAreRefusedWithTheReason) {
  struct Case {
    const char* device;
    int baud;
    const char* reason;
  };
  const Case cases[] = {
      {"/dev/no-such-scanner", 115200, "No such file"},
      {"/dev/null", 115200, "not a serial device"},
      {"/dev/null", 250000, "bit rate 250000 is not one of"},
      {"tcp:no-such-host.invalid:10940", 115200, "cannot resolve no-such-host.invalid"},
      {"tcp:localhost", 115200, "tcp:HOST:PORT"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_TRUE(ScipLink::open(c.device, c.baud, 500, error) == nullptr) << c.device;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.device << ": " << error;
  }
}
