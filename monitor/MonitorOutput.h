// Where the monitor's frames go, as chosen by STROLVEX_MONITOR:
//   window     a window on the X display
//   png:PATH   the latest frame written to PATH
//   off        nowhere
// Unset, it is a window when a display can be opened and off otherwise.
#ifndef STROLVEX_MONITOR_MONITOROUTPUT_H
#define STROLVEX_MONITOR_MONITOROUTPUT_H

#include <string>

struct MonitorOutput {
  enum Kind { kWindow, kPng, kOff };
  Kind kind;
  std::string path;         // for kPng
  std::string description;  // for the one log line, e.g. "png:/tmp/f.png"
};

// setting is the variable's value or null when unset; displayReachable is
// asked only when a window is wanted.
MonitorOutput chooseMonitorOutput(const char* setting,
                                  bool (*displayReachable)());

#endif
