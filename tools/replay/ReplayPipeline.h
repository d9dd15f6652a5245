// A scan log replayed in three stages that overlap on a machine with
// several cores: a reader thread reads and parses lines, the calling thread
// runs one cycle per scan in the log's order, a writer thread formats and
// writes the results (and reports malformed lines and progress). Lines
// travel in a fixed number of batches that go round, so memory stays
// bounded whatever the log's length.
#ifndef STROLVEX_TOOLS_REPLAY_REPLAYPIPELINE_H
#define STROLVEX_TOOLS_REPLAY_REPLAYPIPELINE_H

#include <cstdint>
#include <cstdio>
#include <string>

class ReplaySession;
class TerminationSignals;

struct ReplayOutcome {
  int64_t scansDone = 0;     // scans that went through a cycle
  long malformedLines = 0;   // reported and skipped
  long unsentScanLine = 0;   // the line whose scan no connection took, 0 if none
  bool readWhole = true;     // false when reading the log failed
  int readError = 0;         // errno of that failure
};

// Replays the log's lines through session until the log ends, a scan finds
// no connection, or signals has received one (the scan at hand is
// finished). Results go to out, messages and progress to err; what is
// written always ends with a whole line.
ReplayOutcome replayThroughPipeline(std::FILE* log, const std::string& logPath,
                                    ReplaySession& session, const std::string& program,
                                    std::FILE* out, std::FILE* err,
                                    const TerminationSignals& signals);

#endif
