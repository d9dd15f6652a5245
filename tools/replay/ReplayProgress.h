// The progress line a person watching a long replay sees on a terminal.
#ifndef STROLVEX_TOOLS_REPLAY_REPLAYPROGRESS_H
#define STROLVEX_TOOLS_REPLAY_REPLAYPROGRESS_H

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

class ReplayProgress {
 public:
  // Shows nothing unless stream is a terminal.
  explicit ReplayProgress(std::FILE* stream);

  void update(int64_t scansDone, const std::vector<int32_t>& counts);
  // Ends a shown line so that a message can follow on its own line.
  void interrupt();
  // Shows the final state and ends the line.
  void finish();

 private:
  void show(int64_t scansDone, const std::vector<int32_t>& counts);

  std::FILE* stream_;
  bool enabled_;
  bool lineOpen_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastShown_;
  int64_t lastScans_ = 0;
  std::vector<int32_t> lastCounts_;
};

#endif
