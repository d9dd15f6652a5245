// The frame as a PNG file, for watching the monitor without a display.
#ifndef STROLVEX_MONITOR_PNGFRAMEFILE_H
#define STROLVEX_MONITOR_PNGFRAMEFILE_H

#include <string>

#include "monitor/MonitorFrame.h"

// Writes path.tmp and renames it to path, so that a reader sees either the
// previous frame or the new one, never a partial file. False on failure
// (path then still holds the previous frame, if any).
bool writeFramePng(const MonitorFrame& frame, const std::string& path);

#endif
