#include "tools/replay/ReplayPipeline.h"

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "launcher/TerminationSignals.h"
#include "tools/replay/HandOff.h"
#include "tools/replay/ReplayProgress.h"
#include "tools/replay/ReplaySession.h"
#include "tools/results/ResultLine.h"
#include "tools/scanlog/ScanLog.h"
#include "tools/scanlog/ScanLogFile.h"

namespace {

// Enough lines per hand-off that passing them costs little next to their
// cycles (a hand-off to a thread that sleeps wakes it through the kernel),
// and enough batches that each stage finds one ready while the others
// work; together about 3 MB of scans.
const std::size_t kBatchLines = 128;
const int kBatches = 4;

// Brings a scan the reader thread parsed into this core's second-level
// cache while the cycle before it runs. Asked into the first level, its
// hundred lines would queue behind the few misses that level tracks.
void prefetchScan(const ScanRecord& scan) {
  const char* begin = reinterpret_cast<const char*>(scan.ranges.data());
  const char* end = reinterpret_cast<const char*>(scan.ranges.data() + scan.ranges.size());
  for (const char* line = begin; line < end; line += 64) __builtin_prefetch(line, 0, 2);
}

// One log line that is not blank or a comment, and what its cycle gave.
struct Entry {
  long lineNumber = 0;
  ScanLine line;
  CycleResult result;
};

struct Batch {
  std::vector<Entry> entries = std::vector<Entry>(kBatchLines);
  std::size_t read = 0;      // entries the reader filled
  std::size_t replayed = 0;  // of those, the ones the cycle got to
};

class Pipeline {
 public:
  Pipeline(std::FILE* log, const std::string& logPath, ReplaySession& session,
           const std::string& program, std::FILE* out, std::FILE* err,
           const TerminationSignals& signals)
      : log_(log), logPath_(logPath), session_(session), program_(program), out_(out),
        err_(err), signals_(signals), progress_(err) {
    for (int k = 0; k < kBatches; ++k) {
      batches_.emplace_back(new Batch);
      free_.push(batches_.back().get());
    }
  }

  ReplayOutcome run() {
    std::thread reader(&Pipeline::readLines, this);
    std::thread writer(&Pipeline::writeResults, this);
    replayBatches();
    reader.join();
    writer.join();
    progress_.finish();
    return outcome_;
  }

 private:
  void readLines();
  void replayBatches();
  void writeResults();
  bool stopping() const { return stop_.load() || signals_.received() != 0; }

  std::FILE* log_;
  const std::string& logPath_;
  ReplaySession& session_;
  const std::string& program_;
  std::FILE* out_;
  std::FILE* err_;
  const TerminationSignals& signals_;
  ReplayProgress progress_;  // the writer's
  std::vector<std::unique_ptr<Batch>> batches_;
  HandOff<Batch*> free_, read_, replayed_;
  std::atomic<bool> stop_{false};  // the cycle stopped: read no further
  // Each field is written by one stage and read once the threads are joined.
  ReplayOutcome outcome_;
};

void Pipeline::readLines() {
  ScanLineReader lines(log_);
  bool more = true;
  Batch* batch = nullptr;
  while (more && free_.pop(batch)) {
    batch->read = 0;
    while (batch->read < kBatchLines && !stopping()) {
      Entry& entry = batch->entries[batch->read];
      if (!lines.next(entry.line)) {
        more = false;
        break;
      }
      entry.lineNumber = lines.lineNumber();
      ++batch->read;
    }
    if (stopping()) more = false;
    read_.push(batch);
  }
  outcome_.readWhole = lines.readError() == 0;
  outcome_.readError = lines.readError();
  read_.close();
}

void Pipeline::replayBatches() {
  bool going = true;
  Batch* batch = nullptr;
  while (going && read_.pop(batch)) {
    batch->replayed = 0;
    for (; batch->replayed < batch->read; ++batch->replayed) {
      if (signals_.received() != 0) {
        going = false;
        break;
      }
      Entry& entry = batch->entries[batch->replayed];
      if (batch->replayed + 1 < batch->read) prefetchScan(batch->entries[batch->replayed + 1].line.scan);
      if (entry.line.kind == ScanLine::kScan &&
          !session_.replayScan(entry.line.scan, entry.result)) {
        outcome_.unsentScanLine = entry.lineNumber;
        going = false;
        break;
      }
    }
    replayed_.push(batch);
  }
  if (!going) {
    // The reader may be waiting for a batch that will not come back.
    stop_.store(true);
    free_.close();
  }
  replayed_.close();
}

void Pipeline::writeResults() {
  const std::vector<int32_t> noCounts;
  Batch* batch = nullptr;
  while (replayed_.pop(batch)) {
    for (std::size_t k = 0; k < batch->replayed; ++k) {
      const Entry& entry = batch->entries[k];
      if (entry.line.kind == ScanLine::kMalformed) {
        progress_.interrupt();
        std::fprintf(err_, "%s: %s:%ld: %s; line skipped\n", program_.c_str(), logPath_.c_str(),
                     entry.lineNumber, entry.line.error.c_str());
        ++outcome_.malformedLines;
        continue;
      }
      const CycleResult& result = entry.result;
      if (result.published) {
        const std::string line = formatResultLine(entry.line.scan.t_ms, result.x, result.y,
                                                  result.v, result.h, result.count);
        std::fwrite(line.data(), 1, line.size(), out_);
        std::fputc('\n', out_);
      }
      ++outcome_.scansDone;
      progress_.update(outcome_.scansDone, result.published ? result.count : noCounts);
    }
    free_.push(batch);
  }
}

}  // namespace

ReplayOutcome replayThroughPipeline(std::FILE* log, const std::string& logPath,
                                    ReplaySession& session, const std::string& program,
                                    std::FILE* out, std::FILE* err,
                                    const TerminationSignals& signals) {
  Pipeline pipeline(log, logPath, session, program, out, err, signals);
  return pipeline.run();
}
