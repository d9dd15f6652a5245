// Snapshots and pixel checks shared by the monitor's tests.
#ifndef STROLVEX_MONITOR_TESTS_FRAMETESTSUPPORT_H
#define STROLVEX_MONITOR_TESTS_FRAMETESTSUPPORT_H

#include <cstdint>
#include <memory>
#include <string>

#include "monitor/MonitorFrame.h"
#include "monitor/MonitorSnapshot.h"

const uint32_t kBlackPixel = 0x000000;
const uint32_t kWhitePixel = 0xffffff;
const uint32_t kOutlinePixel = 0x4a73ff;  // (74, 115, 255)
const uint32_t kGreenPixel = 0x00ff00;
const uint32_t kRedPixel = 0xff0000;
const uint32_t kYellowPixel = 0xffff00;

// Zero-filled, as the monitor's own snapshot starts.
std::unique_ptr<MonitorSnapshot> zeroSnapshot();
// The default sensor (steps 44..725, middle 384, 360 degrees, 1024 steps)
// with every step at the given range, no background and no foreground.
std::unique_ptr<ScanWork> defaultScan(double range);
// Free track slots, as the tracker leaves them.
std::unique_ptr<TrackRecord[]> freeTracks();

int countPixels(const MonitorFrame& frame, uint32_t colour);
int countPixelsIn(const MonitorFrame& frame, uint32_t colour, int left,
                  int top, int width, int height);

// A fresh directory under /tmp, removed with its files at the end.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  const std::string& path() const { return path_; }
  int fileCount() const;

 private:
  std::string path_;
};

// The PNG at path read back, or null when it is not a readable PNG.
std::unique_ptr<MonitorFrame> readPng(const std::string& path);
bool sameFrame(const MonitorFrame& expected, const MonitorFrame& actual);

#endif
