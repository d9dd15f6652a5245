// The progress bar a person watching a sweep sees on a terminal.
#ifndef STROLVEX_TOOLS_SWEEP_SWEEPPROGRESS_H
#define STROLVEX_TOOLS_SWEEP_SWEEPPROGRESS_H

#include <chrono>
#include <cstdint>
#include <cstdio>

class SweepProgress {
 public:
  // Shows nothing unless stream is a terminal.
  SweepProgress(std::FILE* stream, int64_t totalScans, std::size_t configurations);

  void update(int64_t scansDone, std::size_t configurationsDone);
  // Shows the final state and ends the line.
  void finish(int64_t scansDone, std::size_t configurationsDone);

 private:
  void show(int64_t scansDone, std::size_t configurationsDone);

  std::FILE* stream_;
  bool enabled_;
  int64_t totalScans_;
  std::size_t configurations_;
  std::chrono::steady_clock::time_point lastShown_;
};

#endif
