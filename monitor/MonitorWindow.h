// The monitor's X11 window: a 500 x 500 window titled "Strolvex" that shows
// the latest frame. Everything here returns without waiting for the user or
// the window manager: the caller is a periodic execution cycle.
#ifndef STROLVEX_MONITOR_MONITORWINDOW_H
#define STROLVEX_MONITOR_MONITORWINDOW_H

#include <X11/Xlib.h>

#include "monitor/MonitorFrame.h"

// True when an X display can be opened now.
bool canOpenDisplay();

class MonitorWindow {
 public:
  MonitorWindow() = default;
  MonitorWindow(const MonitorWindow&) = delete;
  MonitorWindow& operator=(const MonitorWindow&) = delete;
  ~MonitorWindow() { close(); }

  // Opens a connection of its own and maps a new window; false when no
  // display can be opened.
  bool create();
  bool isOpen() const { return display_ != nullptr; }
  // Handles what is queued, never waiting for more. A close request from
  // the window manager, the window's destruction by anyone, or the loss of
  // the display closes the window.
  void handlePendingEvents();
  void show(const MonitorFrame& frame);

 private:
  XImage* imageOf(const MonitorFrame& frame) const;
  void close();
  void abandonLostConnection();
  static void onConnectionLost(Display* display, void* window);

  Display* display_ = nullptr;
  Visual* visual_ = nullptr;
  int depth_ = 0;
  Window window_ = 0;
  GC gc_ = nullptr;
  Atom deleteWindow_ = 0;
  bool connectionLost_ = false;
};

#endif
