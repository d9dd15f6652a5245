// One JSON line per replayed scan:
// {"t":T,"x":[...],"y":[...],"v":[...],"h":[...],"count":[IN,OUT,PRESENT]}
#ifndef STROLVEX_TOOLS_REPLAY_RESULTLINE_H
#define STROLVEX_TOOLS_REPLAY_RESULTLINE_H

#include <cstdint>
#include <string>

#include "tools/replay/ScanReplayDriver.h"

std::string formatResultLine(int64_t t_ms, const ReplayResult& result);

#endif
