// The emulator's ends of a link: a pseudo-terminal (a USB sensor's serial
// port) or a TCP server on loopback (an Ethernet sensor). Each serves its
// own SensorEmulator; a host opening the device or connecting starts that
// sensor afresh.
#ifndef STROLVEX_TOOLS_SCIPEMULATOR_EMULATORLINKS_H
#define STROLVEX_TOOLS_SCIPEMULATOR_EMULATORLINKS_H

#include <poll.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/scipemulator/SensorEmulator.h"

class EmulatorLink {
 public:
  explicit EmulatorLink(const SensorEmulator& sensor) : sensor_(sensor) {}
  virtual ~EmulatorLink() = default;
  EmulatorLink(const EmulatorLink&) = delete;
  EmulatorLink& operator=(const EmulatorLink&) = delete;

  // The descriptors to wait on, appended to fds.
  virtual void watch(std::vector<pollfd>& fds, int64_t nowMs) = 0;
  // Reads and writes what poll found at fds[first...], sends due scans.
  // False on a failure the link cannot recover from (error says which).
  virtual bool serve(const pollfd* fds, int64_t nowMs, std::string& error) = 0;
  // The next time something is due, or -1.
  int64_t nextDueMs() const {
    if (!connected_) return -1;
    return dropAtMs_ >= 0 ? dropAtMs_ : sensor_.nextDueMs();
  }

 protected:
  // Sends due scans and what the sensor has to say; false if fd failed.
  bool flush(int fd, int64_t nowMs);
  // Whether the sensor's connection is to be dropped now: a little after it
  // asked, so that the host still gets the last scan.
  bool dropDue(int64_t nowMs);

  SensorEmulator sensor_;
  bool connected_ = false;
  std::string unsent_;
  int64_t dropAtMs_ = -1;
};

class PtyLink : public EmulatorLink {
 public:
  PtyLink(const SensorEmulator& sensor, const std::string& linkPath) : EmulatorLink(sensor), linkPath_(linkPath) {}
  ~PtyLink() override;
  // Opens the pseudo-terminal and prints "pty DEVICE".
  bool open(std::string& error);
  void watch(std::vector<pollfd>& fds, int64_t nowMs) override;
  bool serve(const pollfd* fds, int64_t nowMs, std::string& error) override;

 private:
  void close();

  std::string linkPath_;
  int master_ = -1;
  int64_t quietUntilMs_ = 0;  // nobody has the device open: look again then
};

class TcpLink : public EmulatorLink {
 public:
  explicit TcpLink(const SensorEmulator& sensor) : EmulatorLink(sensor) {}
  ~TcpLink() override;
  // Listens on 127.0.0.1:port and prints "tcp PORT".
  bool open(int port, std::string& error);
  void watch(std::vector<pollfd>& fds, int64_t nowMs) override;
  bool serve(const pollfd* fds, int64_t nowMs, std::string& error) override;

 private:
  void hangUp();

  int listener_ = -1;
  int client_ = -1;
};

#endif
