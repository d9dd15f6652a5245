#include "monitor/MonitorFrame.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>

#include "scan/StepGeometry.h"

namespace {

const double kOriginX = 250.0;
const double kOriginY = 300.0;
const double kMillimetresPerPixel = 18.0;
const double kCircleRadius = 19.5;  // the 40-pixel box of the track circle
const double kLabelFontSize = 13.0;
const double kEstimateLimit = 4000.0;

struct Pixel {
  int x;
  int y;
};

struct Colour {
  double red;
  double green;
  double blue;
};

const Colour kWhite = {1.0, 1.0, 1.0};
const Colour kBlack = {0.0, 0.0, 0.0};
const Colour kTrackRed = {1.0, 0.0, 0.0};
const Colour kParticleYellow = {1.0, 1.0, 0.0};

// Pixel values of the raster, 0x00RRGGBB.
const uint32_t kOutlineBlue = 0x4a73ff;  // (74, 115, 255)
const uint32_t kForegroundGreen = 0x00ff00;

const Pixel kOrigin = {250, 300};

// Truncation toward zero, with far-off and undefined values pinned well
// outside the frame first so that the conversion is always defined.
int truncateToPixel(double value) {
  const double kLimit = 1 << 20;
  if (!(value > -kLimit)) return -(1 << 20);
  if (value > kLimit) return 1 << 20;
  return static_cast<int>(value);
}

Pixel pixelOf(double x, double y) {
  return Pixel{truncateToPixel(kOriginX + x / kMillimetresPerPixel),
               truncateToPixel(kOriginY - y / kMillimetresPerPixel)};
}

Pixel pixelOfStep(int step, double range, const ScanWork& scan) {
  const double angle =
      stepAngle(step, scan.lrfdata_mid, scan.lrfdata_theta, scan.lrf_total_steps);
  return pixelOf(std::sin(angle) * range, std::cos(angle) * range);
}

bool insideFrame(Pixel p) {
  return p.x >= 0 && p.x < kFrameSize && p.y >= 0 && p.y < kFrameSize;
}

void setColour(cairo_t* cr, const Colour& colour) {
  cairo_set_source_rgb(cr, colour.red, colour.green, colour.blue);
}

void moveToPixel(cairo_t* cr, Pixel p) {
  cairo_move_to(cr, p.x + 0.5, p.y + 0.5);
}

void lineToPixel(cairo_t* cr, Pixel p) {
  cairo_line_to(cr, p.x + 0.5, p.y + 0.5);
}

// The axes span the whole frame, ends included.
void drawAxes(cairo_t* cr) {
  cairo_set_line_width(cr, 3.0);
  setColour(cr, kWhite);
  moveToPixel(cr, Pixel{250, -1});
  lineToPixel(cr, Pixel{250, kFrameSize + 1});
  moveToPixel(cr, Pixel{-1, 300});
  lineToPixel(cr, Pixel{kFrameSize + 1, 300});
  cairo_stroke(cr);
}

// Direct access to the raster for the one-pixel lines, which a sampled
// polygon renders thicker or thinner depending on direction.
class RasterPixels {
 public:
  explicit RasterPixels(cairo_surface_t* surface)
      : surface_(surface),
        data_(cairo_image_surface_get_data(surface)),
        stride_(cairo_image_surface_get_stride(surface)) {
    cairo_surface_flush(surface_);
  }
  ~RasterPixels() { cairo_surface_mark_dirty(surface_); }

  void set(int64_t x, int64_t y, uint32_t colour) {
    if (data_ == nullptr || x < 0 || x >= kFrameSize || y < 0 ||
        y >= kFrameSize) {
      return;
    }
    reinterpret_cast<uint32_t*>(data_ + y * stride_)[x] = colour;
  }

 private:
  cairo_surface_t* surface_;
  unsigned char* data_;
  int stride_;
};

// A one-pixel pen line as a pen moving from point to point draws it: one
// pixel per step along the longer axis, from `from` up to but not including
// `to`, the other coordinate rounded half away from the start. Only the
// steps whose longer-axis coordinate lies inside the frame are visited, so
// lines to far-off points cost no more than lines across the frame.
void drawPenLine(RasterPixels& raster, Pixel from, Pixel to,
                 uint32_t colour) {
  const int64_t dx = static_cast<int64_t>(to.x) - from.x;
  const int64_t dy = static_cast<int64_t>(to.y) - from.y;
  const bool alongX = std::abs(dx) >= std::abs(dy);
  const int64_t major = alongX ? dx : dy;
  const int64_t minor = alongX ? dy : dx;
  const int64_t steps = std::abs(major);
  if (steps == 0) return;
  const int64_t majorStart = alongX ? from.x : from.y;
  const int64_t minorStart = alongX ? from.y : from.x;
  const int64_t majorSign = major > 0 ? 1 : -1;
  const int64_t minorSign = minor < 0 ? -1 : 1;
  const int64_t firstInside = majorSign > 0 ? -majorStart
                                            : majorStart - (kFrameSize - 1);
  const int64_t lastInside = majorSign > 0 ? kFrameSize - 1 - majorStart
                                           : majorStart;
  const int64_t first = std::max<int64_t>(0, firstInside);
  const int64_t last = std::min(steps - 1, lastInside);
  for (int64_t i = first; i <= last; ++i) {
    const int64_t offset = (2 * i * std::abs(minor) + steps) / (2 * steps);
    const int64_t majorAt = majorStart + majorSign * i;
    const int64_t minorAt = minorStart + minorSign * offset;
    if (alongX) {
      raster.set(majorAt, minorAt, colour);
    } else {
      raster.set(minorAt, majorAt, colour);
    }
  }
}

// An open polyline from the origin through the background point of every
// drawn step.
void drawBackgroundOutline(RasterPixels& raster, const ScanWork& scan,
                           DrawnSteps steps) {
  Pixel pen = kOrigin;
  for (int t = steps.first; t < steps.end; ++t) {
    const Pixel next = pixelOfStep(t, scan.background[t], scan);
    drawPenLine(raster, pen, next, kOutlineBlue);
    pen = next;
  }
}

// In step order: later rays cover earlier ones near the origin.
void drawRays(RasterPixels& raster, const ScanWork& scan, DrawnSteps steps) {
  for (int t = steps.first; t < steps.end; ++t) {
    const uint32_t colour =
        scan.foreground[t] == 1 ? kForegroundGreen : kOutlineBlue;
    drawPenLine(raster, kOrigin, pixelOfStep(t, scan.range[t], scan), colour);
  }
}

void drawParticles(cairo_t* cr, const TrackRecord& track) {
  for (int k = 0; k < kParticleCount; ++k) {
    const Pixel p = pixelOf(track.particle_x[k], track.particle_y[k]);
    if (insideFrame(p)) cairo_rectangle(cr, p.x, p.y, 1.0, 1.0);
  }
  setColour(cr, kParticleYellow);
  cairo_fill(cr);
}

void drawTrackCircle(cairo_t* cr, Pixel centre) {
  cairo_new_path(cr);
  cairo_arc(cr, centre.x, centre.y, kCircleRadius, 0.0, 2.0 * kPi);
  setColour(cr, kWhite);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 4.0);
  setColour(cr, kTrackRed);
  cairo_stroke(cr);
}

// Black two-digit slot number on an opaque white cell whose top-left corner
// is 8 pixels up and left of the circle's centre.
void drawTrackLabel(cairo_t* cr, Pixel centre, int slot) {
  char label[4];
  std::snprintf(label, sizeof label, "%02d", slot);
  cairo_font_extents_t font;
  cairo_font_extents(cr, &font);
  cairo_text_extents_t text;
  cairo_text_extents(cr, label, &text);
  const double left = centre.x - 8;
  const double top = centre.y - 8;
  cairo_rectangle(cr, left, top, std::ceil(text.x_advance),
                  std::ceil(font.ascent + font.descent));
  setColour(cr, kWhite);
  cairo_fill(cr);
  cairo_move_to(cr, left, top + std::round(font.ascent));
  setColour(cr, kBlack);
  cairo_show_text(cr, label);
  cairo_new_path(cr);
}

// Looked up once per process and kept: finding a face through fontconfig is
// costly, and the face must outlive every frame anyway.
cairo_font_face_t* labelFontFace() {
  static cairo_font_face_t* const face = cairo_toy_font_face_create(
      "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  return face;
}

void selectLabelFont(cairo_t* cr) {
  cairo_set_font_face(cr, labelFontFace());
  cairo_set_font_size(cr, kLabelFontSize);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

void drawTracks(cairo_t* cr, const MonitorSnapshot& snapshot) {
  selectLabelFont(cr);
  for (int i = 1; i <= snapshot.track_count && i <= kMaxSlots; ++i) {
    const TrackRecord& track = snapshot.tracks[i];
    drawParticles(cr, track);
    const double estX = track.est_x[1];
    if (estX < kEstimateLimit && estX != 0.0) {
      const Pixel centre = pixelOf(estX, track.est_y[1]);
      drawTrackCircle(cr, centre);
      drawTrackLabel(cr, centre, i);
    }
  }
}

}  // namespace

MonitorFrame::MonitorFrame()
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kFrameSize,
                                          kFrameSize)) {}

uint32_t MonitorFrame::pixel(int x, int y) const {
  cairo_surface_t* surface = surface_.get();
  const unsigned char* data = cairo_image_surface_get_data(surface);
  if (data == nullptr || !insideFrame(Pixel{x, y})) return 0;
  const int stride = cairo_image_surface_get_stride(surface);
  const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
  return row[x] & 0xffffffu;
}

// The raster starts black and is never cleared: everything drawn lies on
// black, in this order, later drawing covering earlier.
MonitorFrame composeMonitorFrame(const MonitorSnapshot& snapshot) {
  MonitorFrame frame;
  cairo_t* cr = cairo_create(frame.surface());
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  drawAxes(cr);
  {
    RasterPixels raster(frame.surface());
    const DrawnSteps steps = drawnSteps(snapshot.scan);
    drawBackgroundOutline(raster, snapshot.scan, steps);
    drawRays(raster, snapshot.scan, steps);
  }
  drawTracks(cr, snapshot);
  cairo_destroy(cr);
  cairo_surface_flush(frame.surface());
  return frame;
}
