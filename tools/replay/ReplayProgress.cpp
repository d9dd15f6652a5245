#include "tools/replay/ReplayProgress.h"

#include <unistd.h>

namespace {

// Often enough to look alive, rarely enough to cost nothing.
const std::chrono::milliseconds kRefresh(200);

}  // namespace

ReplayProgress::ReplayProgress(std::FILE* stream)
    : stream_(stream),
      enabled_(isatty(fileno(stream)) == 1),
      start_(std::chrono::steady_clock::now()),
      lastShown_(start_) {}

void ReplayProgress::update(int64_t scansDone, const std::vector<int32_t>& counts) {
  if (!enabled_) return;
  lastScans_ = scansDone;
  if (!counts.empty()) lastCounts_ = counts;  // an ignored scan publishes none
  const auto now = std::chrono::steady_clock::now();
  if (now - lastShown_ < kRefresh) return;
  lastShown_ = now;
  show(lastScans_, lastCounts_);
}

void ReplayProgress::interrupt() {
  if (!lineOpen_) return;
  std::fputc('\n', stream_);
  lineOpen_ = false;
}

void ReplayProgress::finish() {
  if (!enabled_) return;
  show(lastScans_, lastCounts_);
  interrupt();
  std::fflush(stream_);
}

void ReplayProgress::show(int64_t scansDone, const std::vector<int32_t>& counts) {
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double rate = seconds > 0.0 ? scansDone / seconds : 0.0;
  std::fprintf(stream_, "\r%lld scans, %.0f scans/s", static_cast<long long>(scansDone), rate);
  if (counts.size() == 3)
    std::fprintf(stream_, ", in %d out %d present %d   ", counts[0], counts[1], counts[2]);
  std::fflush(stream_);
  lineOpen_ = true;
}
