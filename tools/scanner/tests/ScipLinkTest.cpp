// The link's edges (its pseudo-terminal and TCP streams are exercised
// against the emulator in ScipScannerTest): writing to a peer that left does
// not raise SIGPIPE, and unusable devices say why.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "tools/scanner/ScipLink.h"

TEST(ScipLink, TcpPeerThatLeftReadsAndWritesAsClosedAndUnusableDevicesSayWhy) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 1), 0);
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  const std::string device = "tcp:127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  std::string error, received;
  std::unique_ptr<ScipLink> link = ScipLink::open(device, 115200, 1000, error);
  ASSERT_TRUE(link != nullptr) << error;
  ::close(::accept(listener, nullptr, nullptr));
  EXPECT_EQ(link->receive(received, 1000), ScipLink::Io::Closed);
  ScipLink::Io sent = ScipLink::Io::Ok;
  for (int k = 0; k < 100 && sent == ScipLink::Io::Ok; ++k) sent = link->send("QT\n", 100);
  EXPECT_EQ(sent, ScipLink::Io::Closed);
  ::close(listener);
  // Devices that cannot serve say why.
  const std::string cases[][3] = {{device, "115200", "cannot connect to 127.0.0.1:"}, {"/dev/null", "115200", "not a serial device"},
                                  {"/dev/null", "250000", "bit rate 250000 is not one of 9600, 19200"}, {"tcp:localhost", "115200", "tcp:HOST:PORT"}};
  for (const auto& c : cases) {
    EXPECT_TRUE(ScipLink::open(c[0], std::stoi(c[1]), 500, error) == nullptr) << c[0];
    EXPECT_NE(error.find(c[2]), std::string::npos) << c[0] << ": " << error;
  }
}
