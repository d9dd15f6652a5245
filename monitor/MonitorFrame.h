// Composition of one monitor frame: the snapshot drawn, seen from above,
// into an off-screen 500 x 500 raster. Pure: no window system involved.
#ifndef STROLVEX_MONITOR_MONITORFRAME_H
#define STROLVEX_MONITOR_MONITORFRAME_H

#include <cairo.h>

#include <cstdint>
#include <memory>

#include "monitor/MonitorSnapshot.h"

const int kFrameSize = 500;

// A black 500 x 500 RGB raster.
class MonitorFrame {
 public:
  MonitorFrame();

  cairo_surface_t* surface() const { return surface_.get(); }
  // 0x00RRGGBB; black outside the raster.
  uint32_t pixel(int x, int y) const;

 private:
  struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const {
      cairo_surface_destroy(surface);
    }
  };
  std::unique_ptr<cairo_surface_t, SurfaceRelease> surface_;
};

MonitorFrame composeMonitorFrame(const MonitorSnapshot& snapshot);

#endif
