#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/scanner/ScipLink.h"

namespace {

struct BitRate {
  int bitsPerSecond;
  speed_t speed;
};

// The rates a SCIP sensor offers that the host's serial driver can set
// (250000 and 750000 have no termios constant).
const BitRate kBitRates[] = {{9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
                             {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
                             {921600, B921600}};

bool speedOf(int baud, speed_t& speed) {
  for (const BitRate& rate : kBitRates) {
    if (rate.bitsPerSecond == baud) {
      speed = rate.speed;
      return true;
    }
  }
  return false;
}

std::string supportedRates() {
  std::string list;
  for (const BitRate& rate : kBitRates) list += (list.empty() ? "" : ", ") + std::to_string(rate.bitsPerSecond);
  return list;
}

int fail(int fd, std::string& error, const std::string& reason) {
  error = reason;
  if (fd >= 0) ::close(fd);
  return -1;
}

}  // namespace

int openSerialDevice(const std::string& path, int baud, std::string& error) {
  speed_t speed;
  if (!speedOf(baud, speed))
    return fail(-1, error, "bit rate " + std::to_string(baud) + " is not one of " + supportedRates());
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return fail(-1, error, "cannot open " + path + ": " + std::strerror(errno));
  termios settings;
  if (::tcgetattr(fd, &settings) != 0)
    return fail(fd, error, path + " is not a serial device: " + std::strerror(errno));
  // Raw 8N1 without flow control: SCIP is plain ASCII lines, and neither
  // the USB nor the RS-232 models use handshake lines.
  ::cfmakeraw(&settings);
  settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0 ||
      ::tcsetattr(fd, TCSANOW, &settings) != 0)
    return fail(fd, error, "cannot set up " + path + ": " + std::strerror(errno));
  // Whatever an earlier session left unread belongs to no reply of ours.
  ::tcflush(fd, TCIOFLUSH);
  return fd;
}
