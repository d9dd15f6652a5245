#include "monitor/tests/FrameTestSupport.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

std::unique_ptr<MonitorSnapshot> zeroSnapshot() {
  return std::unique_ptr<MonitorSnapshot>(new MonitorSnapshot());
}

std::unique_ptr<ScanWork> defaultScan(double range) {
  std::unique_ptr<ScanWork> scan(new ScanWork());
  scan->lrfdata_min = 44;
  scan->lrfdata_max = 725;
  scan->lrfdata_mid = 384;
  scan->lrfdata_theta = 360;
  scan->lrf_total_steps = 1024;
  for (int t = 44; t <= 725; ++t) scan->range[t] = range;
  return scan;
}

std::unique_ptr<TrackRecord[]> freeTracks() {
  std::unique_ptr<TrackRecord[]> tracks(new TrackRecord[kSlotTableSize]());
  for (int i = 0; i < kSlotTableSize; ++i) {
    tracks[i].est_x[1] = kEmptyValue;
    tracks[i].est_y[1] = kEmptyValue;
    for (int k = 0; k < kParticleCount; ++k) {
      tracks[i].particle_x[k] = kEmptyValue;
      tracks[i].particle_y[k] = kEmptyValue;
    }
  }
  return tracks;
}

int countPixelsIn(const MonitorFrame& frame, uint32_t colour, int left,
                  int top, int width, int height) {
  int count = 0;
  for (int y = top; y < top + height; ++y) {
    for (int x = left; x < left + width; ++x) {
      if (frame.pixel(x, y) == colour) ++count;
    }
  }
  return count;
}

int countPixels(const MonitorFrame& frame, uint32_t colour) {
  return countPixelsIn(frame, colour, 0, 0, kFrameSize, kFrameSize);
}

ScratchDirectory::ScratchDirectory() {
  char name[] = "/tmp/strolvex-monitor-XXXXXX";
  if (mkdtemp(name) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = name;
}

namespace {

std::vector<std::string> filesIn(const std::string& directory) {
  std::vector<std::string> files;
  if (DIR* dir = opendir(directory.c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") files.push_back(directory + "/" + name);
    }
    closedir(dir);
  }
  return files;
}

}  // namespace

ScratchDirectory::~ScratchDirectory() {
  for (const std::string& file : filesIn(path_)) std::remove(file.c_str());
  rmdir(path_.c_str());
}

int ScratchDirectory::fileCount() const {
  return static_cast<int>(filesIn(path_).size());
}

std::unique_ptr<MonitorFrame> readPng(const std::string& path) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
  std::unique_ptr<MonitorFrame> frame;
  if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS &&
      cairo_image_surface_get_width(png) == kFrameSize &&
      cairo_image_surface_get_height(png) == kFrameSize) {
    frame.reset(new MonitorFrame());
    cairo_t* cr = cairo_create(frame->surface());
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(frame->surface());
  }
  cairo_surface_destroy(png);
  return frame;
}

bool sameFrame(const MonitorFrame& expected, const MonitorFrame& actual) {
  for (int y = 0; y < kFrameSize; ++y) {
    for (int x = 0; x < kFrameSize; ++x) {
      if (expected.pixel(x, y) != actual.pixel(x, y)) return false;
    }
  }
  return true;
}
