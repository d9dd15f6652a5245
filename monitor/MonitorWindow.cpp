#include "monitor/MonitorWindow.h"

#include <X11/Xutil.h>
#include <poll.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>

namespace {

const char kTitle[] = "Strolvex";

std::atomic<Display*> monitorDisplay(nullptr);
XErrorHandler previousErrorHandler = nullptr;
XIOErrorHandler previousIOErrorHandler = nullptr;

// The window can vanish under a request already on its way (another client
// destroyed it); the server's complaint about that must not end the process
// as Xlib's default handler would. Errors of other connections in the
// process go to whoever handled them before.
int ignoreMonitorErrors(Display* display, XErrorEvent* error) {
  if (display == monitorDisplay.load()) return 0;
  return previousErrorHandler != nullptr ? previousErrorHandler(display, error)
                                         : 0;
}

// Xlib's default reaction to a lost server is to end the process; losing the
// monitor's display must only close the monitor (see onConnectionLost).
int surviveMonitorConnectionLoss(Display* display) {
  if (display == monitorDisplay.load() || previousIOErrorHandler == nullptr) {
    return 0;
  }
  return previousIOErrorHandler(display);
}

// Component instances may drive the monitor from different threads.
void prepareXlib() {
  static std::once_flag once;
  std::call_once(once, [] {
    XInitThreads();
    previousErrorHandler = XSetErrorHandler(&ignoreMonitorErrors);
    previousIOErrorHandler = XSetIOErrorHandler(&surviveMonitorConnectionLoss);
  });
}

void setTitle(Display* display, Window window) {
  XStoreName(display, window, kTitle);
  const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
  XChangeProperty(display, window, netWmName, utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(kTitle),
                  sizeof kTitle - 1);
}

void fixSize(Display* display, Window window) {
  XSizeHints* hints = XAllocSizeHints();
  if (hints == nullptr) return;
  hints->flags = PMinSize | PMaxSize;
  hints->min_width = hints->max_width = kFrameSize;
  hints->min_height = hints->max_height = kFrameSize;
  XSetWMNormalHints(display, window, hints);
  XFree(hints);
}

int hostByteOrder() {
  const uint32_t probe = 1;
  return *reinterpret_cast<const unsigned char*>(&probe) == 1 ? LSBFirst
                                                              : MSBFirst;
}

// An 8-bit channel scaled into the bits of a true-colour mask.
unsigned long channelIn(unsigned long mask, uint32_t value) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1u) == 0) ++shift;
  const unsigned long top = mask >> shift;
  return ((value * top + 127) / 255) << shift;
}

}  // namespace

bool canOpenDisplay() {
  prepareXlib();
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XCloseDisplay(display);
  return true;
}

bool MonitorWindow::create() {
  close();
  prepareXlib();
  display_ = XOpenDisplay(nullptr);
  if (display_ == nullptr) return false;
  monitorDisplay.store(display_);
  connectionLost_ = false;
#ifdef STROLVEX_HAVE_IO_ERROR_EXIT_HANDLER
  XSetIOErrorExitHandler(display_, &MonitorWindow::onConnectionLost, this);
#endif

  const int screen = DefaultScreen(display_);
  visual_ = DefaultVisual(display_, screen);
  depth_ = DefaultDepth(display_, screen);
  window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0,
                                kFrameSize, kFrameSize, 0,
                                BlackPixel(display_, screen),
                                BlackPixel(display_, screen));
  setTitle(display_, window_);
  fixSize(display_, window_);
  deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display_, window_, &deleteWindow_, 1);
  XSelectInput(display_, window_, StructureNotifyMask | ExposureMask);
  gc_ = XCreateGC(display_, window_, 0, nullptr);
  XMapWindow(display_, window_);
  XFlush(display_);
  return true;
}

void MonitorWindow::handlePendingEvents() {
  while (isOpen() && !connectionLost_ && XPending(display_) > 0) {
    if (connectionLost_) break;  // lost inside XPending: touch nothing more
    XEvent event;
    XNextEvent(display_, &event);
    const bool closeRequested =
        event.type == ClientMessage && event.xclient.window == window_ &&
        static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_;
    const bool destroyed = event.type == DestroyNotify &&
                           event.xdestroywindow.window == window_;
    if (closeRequested || destroyed) close();
  }
  if (connectionLost_) abandonLostConnection();
}

// The raster serves as the image itself when the screen stores pixels as it
// does (24-bit true colour in 32-bit words); other true-colour screens get a
// converted copy.
XImage* MonitorWindow::imageOf(const MonitorFrame& frame) const {
  cairo_surface_t* surface = frame.surface();
  unsigned char* data = cairo_image_surface_get_data(surface);
  if (data == nullptr || visual_->c_class != TrueColor) return nullptr;
  if (depth_ == 24 && visual_->red_mask == 0xff0000 &&
      visual_->green_mask == 0x00ff00 && visual_->blue_mask == 0x0000ff) {
    XImage* image = XCreateImage(display_, visual_, depth_, ZPixmap, 0,
                                 reinterpret_cast<char*>(data), kFrameSize,
                                 kFrameSize, 32,
                                 cairo_image_surface_get_stride(surface));
    if (image != nullptr) image->byte_order = hostByteOrder();
    return image;
  }
  XImage* image = XCreateImage(display_, visual_, depth_, ZPixmap, 0, nullptr,
                               kFrameSize, kFrameSize, 32, 0);
  if (image == nullptr) return nullptr;
  image->data = static_cast<char*>(
      std::malloc(static_cast<size_t>(image->bytes_per_line) * kFrameSize));
  if (image->data == nullptr) {
    XDestroyImage(image);
    return nullptr;
  }
  for (int y = 0; y < kFrameSize; ++y) {
    for (int x = 0; x < kFrameSize; ++x) {
      const uint32_t rgb = frame.pixel(x, y);
      XPutPixel(image, x, y,
                channelIn(visual_->red_mask, rgb >> 16 & 0xff) |
                    channelIn(visual_->green_mask, rgb >> 8 & 0xff) |
                    channelIn(visual_->blue_mask, rgb & 0xff));
    }
  }
  return image;
}

void MonitorWindow::show(const MonitorFrame& frame) {
  if (!isOpen() || connectionLost_) return;
  // A server that is not taking data (stalled, or far away) would make the
  // frame's transfer wait: the frame is skipped, the next scan paints anew.
  pollfd connection{ConnectionNumber(display_), POLLOUT, 0};
  if (poll(&connection, 1, 0) != 1 || (connection.revents & POLLOUT) == 0) return;
  XImage* image = imageOf(frame);
  if (image == nullptr) return;
  XPutImage(display_, window_, gc_, image, 0, 0, 0, 0, kFrameSize, kFrameSize);
  if (image->data == reinterpret_cast<char*>(
                         cairo_image_surface_get_data(frame.surface()))) {
    image->data = nullptr;  // the frame's raster, not the image's to free
  }
  XDestroyImage(image);
  if (!connectionLost_) XFlush(display_);
  if (connectionLost_) abandonLostConnection();
}

// Closing the connection destroys the window with it (if it still exists).
void MonitorWindow::close() {
  if (display_ == nullptr) return;
  XFreeGC(display_, gc_);
  XCloseDisplay(display_);
  monitorDisplay.store(nullptr);
  display_ = nullptr;
  window_ = 0;
  gc_ = nullptr;
}

// After an I/O error Xlib leaves the connection locked: any further call on
// it would never return. Its memory is given up instead.
void MonitorWindow::abandonLostConnection() {
  monitorDisplay.store(nullptr);
  display_ = nullptr;
  window_ = 0;
  gc_ = nullptr;
  connectionLost_ = false;
}

// Xlib calls this instead of ending the process when the server goes away.
void MonitorWindow::onConnectionLost(Display*, void* window) {
  static_cast<MonitorWindow*>(window)->connectionLost_ = true;
}
