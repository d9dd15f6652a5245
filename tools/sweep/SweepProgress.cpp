#include "tools/sweep/SweepProgress.h"

#include <unistd.h>

#include <string>

namespace {

const std::chrono::milliseconds kRefresh(200);
const int kBarWidth = 30;

}  // namespace

SweepProgress::SweepProgress(std::FILE* stream, int64_t totalScans, std::size_t configurations)
    : stream_(stream),
      enabled_(isatty(fileno(stream)) == 1),
      totalScans_(totalScans),
      configurations_(configurations),
      lastShown_(std::chrono::steady_clock::now() - kRefresh) {}

void SweepProgress::update(int64_t scansDone, std::size_t configurationsDone) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastShown_ < kRefresh) return;
  lastShown_ = now;
  show(scansDone, configurationsDone);
}

void SweepProgress::finish(int64_t scansDone, std::size_t configurationsDone) {
  if (!enabled_) return;
  show(scansDone, configurationsDone);
  std::fputc('\n', stream_);
  std::fflush(stream_);
}

void SweepProgress::show(int64_t scansDone, std::size_t configurationsDone) {
  const double share = totalScans_ > 0 ? static_cast<double>(scansDone) / totalScans_ : 1.0;
  const int filled = static_cast<int>((share < 1.0 ? share : 1.0) * kBarWidth);
  const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '.');
  std::fprintf(stream_, "\r[%s] %3.0f%%  %zu/%zu configurations", bar.c_str(), share * 100.0,
               configurationsDone, configurations_);
  std::fflush(stream_);
}
