#include "monitor/PngFrameFile.h"

#include <cstdio>

bool writeFramePng(const MonitorFrame& frame, const std::string& path) {
  const std::string partial = path + ".tmp";
  if (cairo_surface_write_to_png(frame.surface(), partial.c_str()) !=
      CAIRO_STATUS_SUCCESS) {
    std::remove(partial.c_str());
    return false;
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0) {
    std::remove(partial.c_str());
    return false;
  }
  return true;
}
