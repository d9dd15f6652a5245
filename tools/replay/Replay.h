// Runs recorded scans through a Strolvex component, one execution cycle per
// scan, and prints what it publishes for each.
#ifndef STROLVEX_TOOLS_REPLAY_REPLAY_H
#define STROLVEX_TOOLS_REPLAY_REPLAY_H

#include <cstdio>
#include <string>
#include <vector>

// Exit statuses of strolvex-replay.
const int kReplayOk = 0;
const int kReplayMalformedLines = 1;
const int kReplayUnreadableLog = 2;
const int kReplayNotRunnable = 3;  // manager, component or output failed

// Replays the scan log at logPath, writing result lines to out and
// diagnostics to err; returns the exit status.
int runReplay(const std::string& program, const std::vector<std::string>& userOptions,
              const std::string& logPath, std::FILE* out, std::FILE* err);

#endif
