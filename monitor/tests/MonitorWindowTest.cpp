#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "monitor/Monitor.h"
#include "monitor/tests/FrameTestSupport.h"

namespace {

// The X server works through the monitor's requests at its own pace; the
// test gives it a bounded number of short turns.
const int kTurns = 300;

void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }

std::string netWmName(Display* display, Window window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  const Atom property = XInternAtom(display, "_NET_WM_NAME", False);
  std::string name;
  if (XGetWindowProperty(display, window, property, 0, 64, False,
                         AnyPropertyType, &type, &format, &count, &remaining,
                         &data) == Success &&
      data != nullptr) {
    name.assign(reinterpret_cast<char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  return name;
}

// The top-level window titled "Strolvex" in both title properties, or 0.
Window findMonitorWindow(Display* display) {
  XSync(display, False);
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent,
                 &children, &count) == 0) {
    return 0;
  }
  for (unsigned int i = 0; i < count && found == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
      if (std::strcmp(name, "Strolvex") == 0 &&
          netWmName(display, children[i]) == "Strolvex") {
        found = children[i];
      }
      XFree(name);
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

Window waitForMonitorWindow(Display* display) {
  for (int turn = 0; turn < kTurns; ++turn) {
    pumpMonitorMessages();
    const Window window = findMonitorWindow(display);
    if (window != 0) return window;
    pause();
  }
  return 0;
}

bool waitUntilNoMonitorWindow(Display* display) {
  for (int turn = 0; turn < kTurns; ++turn) {
    pumpMonitorMessages();
    if (findMonitorWindow(display) == 0) return true;
    pause();
  }
  return false;
}

bool windowShows(Display* display, Window window, const MonitorFrame& frame) {
  XImage* image = XGetImage(display, window, 0, 0, kFrameSize, kFrameSize,
                            AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  bool same = true;
  for (int y = 0; y < kFrameSize && same; ++y) {
    for (int x = 0; x < kFrameSize && same; ++x) {
      same = (XGetPixel(image, x, y) & 0xffffff) == frame.pixel(x, y);
    }
  }
  XDestroyImage(image);
  return same;
}

bool waitUntilShown(Display* display, Window window,
                    const MonitorFrame& frame) {
  for (int turn = 0; turn < kTurns; ++turn) {
    pumpMonitorMessages();
    XSync(display, False);
    if (windowShows(display, window, frame)) return true;
    pause();
  }
  return false;
}

// What a window manager sends when the user closes the window.
void requestClose(Display* display, Window window) {
  XEvent event;
  std::memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] =
      static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
}

// Runs under a virtual X server with STROLVEX_MONITOR=window (see the
// CMake registration); elsewhere it has nothing to look at.
TEST(MonitorWindow, ShowsFramesAndReopensOnTheNextActivationAfterClosing) {
  const char* setting = std::getenv("STROLVEX_MONITOR");
  if (setting == nullptr || std::string(setting) != "window") {
    GTEST_SKIP() << "needs STROLVEX_MONITOR=window";
  }
  Display* observer = XOpenDisplay(nullptr);
  if (observer == nullptr) GTEST_SKIP() << "needs an X display";

  openMonitorWindow();
  const Window first = waitForMonitorWindow(observer);
  ASSERT_NE(0u, first);
  EXPECT_TRUE(waitUntilShown(observer, first,
                             composeMonitorFrame(*zeroSnapshot())));

  std::unique_ptr<ScanWork> scan = defaultScan(1800.0);
  scan->foreground[512] = 1;
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  tracks[1].est_x[1] = -500.0;
  tracks[1].est_y[1] = 2000.0;
  snapshotScan(scan.get(), 6);
  snapshotTracks(tracks.get());
  std::unique_ptr<MonitorSnapshot> expected = zeroSnapshot();
  takeScanSnapshot(*expected, *scan, 6);
  takeTrackSnapshot(*expected, tracks.get());
  EXPECT_TRUE(waitUntilShown(observer, first, composeMonitorFrame(*expected)));

  // Closed by the user: later cycles go on without a window.
  requestClose(observer, first);
  EXPECT_TRUE(waitUntilNoMonitorWindow(observer));
  for (int cycle = 0; cycle < 200; ++cycle) pumpMonitorMessages();
  EXPECT_EQ(0u, findMonitorWindow(observer));

  // The next activation opens a new window with the current frame.
  openMonitorWindow();
  const Window second = waitForMonitorWindow(observer);
  ASSERT_NE(0u, second);
  EXPECT_TRUE(waitUntilShown(observer, second, composeMonitorFrame(*expected)));

  // Destroyed by another client: the same.
  XDestroyWindow(observer, second);
  XSync(observer, False);
  for (int cycle = 0; cycle < 200; ++cycle) pumpMonitorMessages();
  EXPECT_EQ(0u, findMonitorWindow(observer));
  openMonitorWindow();
  EXPECT_NE(0u, waitForMonitorWindow(observer));

  XCloseDisplay(observer);
}

}  // namespace
