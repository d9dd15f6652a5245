#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "monitor/tests/FrameTestSupport.h"

namespace {

// The X server works through the monitor's requests at its own pace: each
// check gets a bounded number of short turns, the monitor pumped in each.
template <typename Check>
bool eventually(Display* display, Check check) {
  for (int turn = 0; turn < 300; ++turn, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
    pumpMonitorMessages();
    XSync(display, False);
    if (check()) return true;
  }
  return false;
}

std::string textProperty(Display* display, Window window, const char* name) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  std::string text;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 64, False, AnyPropertyType,
                         &type, &format, &count, &remaining, &data) == Success && data != nullptr) {
    text.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  return text;
}

// The top-level window titled "Strolvex" in both title properties, or 0.
Window monitorWindow(Display* display) {
  Window root = 0, parent = 0, found = 0, *children = nullptr;
  unsigned int count = 0;
  XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
  for (unsigned int i = 0; i < count; ++i) {
    if (textProperty(display, children[i], "WM_NAME") == "Strolvex" &&
        textProperty(display, children[i], "_NET_WM_NAME") == "Strolvex")
      found = children[i];
  }
  if (children != nullptr) XFree(children);
  return found;
}

bool windowShows(Display* display, Window window, const MonitorFrame& frame) {
  XImage* image = XGetImage(display, window, 0, 0, kFrameSize, kFrameSize, AllPlanes, ZPixmap);
  bool same = image != nullptr;
  for (int y = 0; y < kFrameSize && same; ++y)
    for (int x = 0; x < kFrameSize && same; ++x) same = (XGetPixel(image, x, y) & 0xffffff) == frame.pixel(x, y);
  if (image != nullptr) XDestroyImage(image);
  return same;
}

// Runs under a virtual X server with STROLVEX_MONITOR=window (see the CMake
// registration); elsewhere it has nothing to look at.
TEST(MonitorWindow, ShowsFramesAndReopensOnTheNextActivationAfterClosing) {
  const char* setting = std::getenv("STROLVEX_MONITOR");
  if (setting == nullptr || std::string(setting) != "window") GTEST_SKIP() << "needs STROLVEX_MONITOR=window";
  Display* x = XOpenDisplay(nullptr);
  if (x == nullptr) GTEST_SKIP() << "needs an X display";
  Window window = 0;
  auto found = [&] { return (window = monitorWindow(x)) != 0; };
  auto gone = [&] { return !found(); };

  openMonitorWindow();
  const MonitorFrame frame = snapshotOneCycle();
  auto showsFrame = [&] { return found() && windowShows(x, window, frame); };
  ASSERT_TRUE(eventually(x, showsFrame));

  // Closed by the user (as a window manager asks), then destroyed by another
  // client (the server's complaints about requests already on their way must
  // not end the process): the cycles go on without a window, and the next
  // activation opens a new one showing the current frame.
  for (bool byUser : {true, false}) {
    if (byUser) {
      XEvent event{};
      event.xclient.type = ClientMessage;
      event.xclient.window = window;
      event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
      event.xclient.format = 32;
      event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
      XSendEvent(x, window, False, NoEventMask, &event);
    } else {
      XDestroyWindow(x, window);
    }
    EXPECT_TRUE(eventually(x, gone));
    for (int cycle = 0; cycle < 200; ++cycle) pumpMonitorMessages();
    EXPECT_TRUE(gone());
    openMonitorWindow();
    ASSERT_TRUE(eventually(x, showsFrame));
  }

  // Destroyed while no cycle ran: the next activation notices it and opens
  // a new one (pumping never opens windows).
  XDestroyWindow(x, window);
  XSync(x, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  openMonitorWindow();
  EXPECT_TRUE(eventually(x, showsFrame));
  XCloseDisplay(x);
}

}  // namespace
