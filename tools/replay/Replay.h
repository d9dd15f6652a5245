// Runs recorded scans through a Strolvex component, one execution cycle per
// scan, and prints what it publishes for each.
#ifndef STROLVEX_TOOLS_REPLAY_REPLAY_H
#define STROLVEX_TOOLS_REPLAY_REPLAY_H

#include <cstdio>
#include <string>

class ManagerArguments;
class TerminationSignals;

// Exit statuses of strolvex-replay; a replay cut short by SIGINT or SIGTERM
// ends with 128 plus the signal's number, after writing what it has.
const int kReplayOk = 0;
const int kReplayMalformedLines = 1;  // also: the command line was wrong
const int kReplayUnreadableLog = 2;
const int kReplayNotRunnable = 3;  // manager, component or output failed

// Replays the scan log at logPath with a manager made from arguments,
// writing result lines to out and diagnostics to err; returns the exit
// status. The replay stops after the scan at hand once signals has
// received one.
int runReplay(const std::string& program, ManagerArguments& arguments, const std::string& logPath,
              std::FILE* out, std::FILE* err, const TerminationSignals& signals);

#endif
