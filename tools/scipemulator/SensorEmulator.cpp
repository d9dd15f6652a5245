#include "tools/scipemulator/SensorEmulator.h"

#include <cmath>
#include <string>
#include <utility>

#include "tools/scip/ScipCodec.h"
#include "tools/scip/ScipReplyWriter.h"

namespace {

const std::size_t kMaxCommandLength = 256;
const std::size_t kScanFieldAt = 13;  // of the remaining-scans field in an MD echo

bool readDigits(const std::string& text, std::size_t at, std::size_t count, int& value) {
  value = 0;
  for (std::size_t k = at; k < at + count; ++k) {
    if (text[k] < '0' || text[k] > '9') return false;
    value = value * 10 + (text[k] - '0');
  }
  return true;
}

// value is 0..99.
std::string twoDigits(int value) { return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)}; }

}  // namespace

const char* const SensorEmulator::kErrorStatus = "50";

SensorEmulator::SensorEmulator(const ScipModel& model, std::vector<ScanRecord> log, const EmulatorSettings& settings)
    : model_(model), log_(std::move(log)), settings_(settings) {}

void SensorEmulator::connect(int64_t nowMs) {
  input_.clear();
  output_.clear();
  timerZeroMs_ = nowMs;
  laserOn_ = false;
  timeAdjust_ = false;
  silent_ = false;
  dropWanted_ = false;
  streaming_ = false;
  connectionScans_ = 0;
}

void SensorEmulator::receive(const char* data, std::size_t size, int64_t nowMs) {
  for (std::size_t k = 0; k < size && !silent_; ++k) {
    const char c = data[k];
    if (c == '\n' || c == '\r') {
      if (!input_.empty()) command(input_, nowMs);
      input_.clear();
    } else if (input_.size() < kMaxCommandLength) {
      input_.push_back(c);
    }
  }
}

std::string SensorEmulator::takeOutput() {
  std::string out;
  out.swap(output_);
  return out;
}

int64_t SensorEmulator::nextDueMs() const {
  if (!streaming_ || silent_ || dropWanted_ || next_ >= log_.size()) return -1;
  return static_cast<int64_t>(std::ceil(dueMs_));
}

uint32_t SensorEmulator::timer(int64_t atMs) const {
  return static_cast<uint32_t>(atMs - timerZeroMs_) & (scipMaxValue(4));
}

void SensorEmulator::reply(const std::string& echo, const std::string& status,
                           const std::vector<std::string>& payload) {
  output_ += scipReplyBytes(echo, status, payload);
}

void SensorEmulator::command(const std::string& line, int64_t nowMs) {
  const std::string body = line.substr(0, line.find(';'));
  const std::string code = body.substr(0, 2);
  if (timeAdjust_ && code != "TM") return reply(line, "0E");
  if (body == "SCIP2.0") return reply(line, "0E");
  if (code == "VV" || code == "PP" || code == "II") {
    if (body.size() != 2) return reply(line, "0D");
    std::vector<std::pair<std::string, std::string>> entries;
    if (code == "VV") {
      entries = {{"VEND", "Hokuyo Automatic Co.,Ltd."}, {"PROD", model_.product},
                 {"FIRM", "strolvex-scip-emulator"},    {"PROT", "SCIP 2.0"},
                 {"SERI", "EMU00001"}};
    } else if (code == "PP") {
      entries = {{"MODL", model_.modelText},
                 {"DMIN", std::to_string(model_.minRange)},
                 {"DMAX", std::to_string(model_.maxRange)},
                 {"ARES", std::to_string(model_.totalSteps)},
                 {"AMIN", std::to_string(model_.firstStep)},
                 {"AMAX", std::to_string(model_.lastStep)},
                 {"AFRT", std::to_string(model_.frontStep)},
                 {"SCAN", std::to_string(model_.rpm)}};
    } else {
      entries = {{"MODL", model_.modelText},
                 {"LASR", laserOn_ ? "ON" : "OFF"},
                 {"SCSP", "Initial(" + std::to_string(model_.rpm) + "[rpm])"},
                 {"MESM", streaming_ ? "Measuring" : "Idle"},
                 {"SBPS", "USB only"},
                 {"STAT", failed_ ? "Hardware trouble" : "Stable 000 no error."}};
    }
    output_ += scipInfoReplyBytes(line, entries);
    return;
  }
  if (code == "BM") {
    if (failed_) return reply(line, "01");
    if (laserOn_) return reply(line, "02");
    laserOn_ = true;
    return reply(line, "00");
  }
  if (code == "QT" || code == "RS" || code == "RT") {
    streaming_ = false;
    laserOn_ = false;
    if (code != "QT") {
      failed_ = false;
      timerZeroMs_ = nowMs;
    }
    return reply(line, "00");
  }
  if (code == "MD" || code == "MS") return startScans(line, body.substr(2), code[1], nowMs);
  if (code == "GD" || code == "GS") return singleScan(line, body.substr(2), code[1], nowMs);
  if (body == "TM0" || body == "TM2") {
    const bool enter = body == "TM0";
    if (timeAdjust_ == enter) return reply(line, enter ? "02" : "03");
    timeAdjust_ = enter;
    streaming_ = false;
    laserOn_ = false;
    return reply(line, "00");
  }
  if (body == "TM1") {
    if (!timeAdjust_) return reply(line, "04");
    return reply(line, "00", {scipEncode(timer(nowMs), 4)});
  }
  if (code == "TM") return reply(line, "01");
  reply(line, "0E");
}

std::string SensorEmulator::checkScanRequest(const std::string& params, bool continuous,
                                             ScipScanRequest& request) const {
  const std::size_t length = continuous ? 13 : 10;
  if (params.size() < length) return "0C";
  if (params.size() > length) return "0D";
  request.continuous = continuous;
  if (!readDigits(params, 0, 4, request.firstStep)) return "01";
  if (!readDigits(params, 4, 4, request.lastStep)) return "02";
  if (!readDigits(params, 8, 2, request.cluster)) return "03";
  if (continuous) {
    if (!readDigits(params, 10, 1, request.skip)) return "06";
    if (!readDigits(params, 11, 2, request.scans)) return "07";
  }
  if (request.lastStep > model_.lastStep) return "04";
  if (request.lastStep < request.firstStep) return "05";
  if (failed_) return kErrorStatus;
  return "00";
}

void SensorEmulator::startScans(const std::string& echo, const std::string& params, char kind, int64_t nowMs) {
  ScipScanRequest request;
  request.encodingChars = kind == 'S' ? 2 : 3;
  const std::string status = checkScanRequest(params, true, request);
  reply(echo, status);
  if (status != "00") return;
  request_ = request;
  echo_ = echo;
  left_ = request.scans;
  streaming_ = true;
  laserOn_ = true;
  if (next_ >= log_.size() && settings_.loop) next_ = 0;
  dueMs_ = nowMs + model_.scanPeriodMs() / settings_.rate;
}

void SensorEmulator::singleScan(const std::string& echo, const std::string& params, char kind, int64_t nowMs) {
  ScipScanRequest request;
  request.encodingChars = kind == 'S' ? 2 : 3;
  std::string status = checkScanRequest(params, false, request);
  if (status == "00" && !laserOn_) status = "10";
  if (status != "00" || log_.empty()) return reply(echo, status);
  const ScanRecord& scan = log_[next_ < log_.size() ? next_ : log_.size() - 1];
  reply(echo, status, scipScanPayload(timer(nowMs), encodeValues(scan, request), request.encodingChars));
}

std::vector<uint32_t> SensorEmulator::encodeValues(const ScanRecord& scan, const ScipScanRequest& request) const {
  const uint32_t largest = request.encodingChars == 2 ? scipMaxValue(2) : static_cast<uint32_t>(model_.maxRange);
  std::vector<uint32_t> values;
  values.reserve(static_cast<std::size_t>(request.valueCount()));
  const int width = request.stepsPerValue();
  for (int first = request.firstStep; first <= request.lastStep; first += width) {
    // A cluster reads the nearest echo among its steps.
    bool found = false;
    uint32_t nearest = 0;
    for (int s = first; s < first + width && s <= request.lastStep; ++s) {
      if (s < model_.firstStep || static_cast<std::size_t>(s) >= scan.ranges.size()) continue;
      const double range = std::round(scan.ranges[static_cast<std::size_t>(s)]);
      if (!(range >= model_.minRange && range <= largest)) continue;
      const uint32_t value = static_cast<uint32_t>(range);
      if (!found || value < nearest) nearest = value;
      found = true;
    }
    values.push_back(found ? nearest : model_.noEchoCode);
  }
  return values;
}

void SensorEmulator::advance(int64_t nowMs) {
  while (nextDueMs() >= 0 && nowMs >= dueMs_) sendFrame();
}

void SensorEmulator::sendFrame() {
  std::string echo = echo_;
  if (request_.scans > 0) --left_;
  if (echo.size() >= kScanFieldAt + 2) echo.replace(kScanFieldAt, 2, twoDigits(left_ > 0 ? left_ : 0));
  const uint32_t stamp = timer(static_cast<int64_t>(std::llround(dueMs_)));

  if (settings_.errorStatusAfter > 0 && !errorDone_ && scansSent_ == settings_.errorStatusAfter) {
    output_ += scipReplyBytes(echo, kErrorStatus);
    errorDone_ = true;
    failed_ = true;
    streaming_ = false;
    laserOn_ = false;
    return;
  }

  std::string frame = scipReplyBytes(
      echo, "99", scipScanPayload(stamp, encodeValues(log_[next_], request_), request_.encodingChars));
  ++scansSent_;
  ++connectionScans_;
  if (settings_.badChecksumEvery > 0 && scansSent_ % settings_.badChecksumEvery == 0) corruptFrame(frame);
  if (settings_.garbageEvery > 0 && scansSent_ % settings_.garbageEvery == 0) {
    if (++broken_ % 2 == 1) {
      // Fixed bytes of every kind, line feeds included, then a reply's end.
      uint32_t state = 0x2545F491u + static_cast<uint32_t>(broken_);
      frame.clear();
      for (int k = 0; k < 48; ++k) {
        state = state * 1664525u + 1013904223u;
        frame.push_back(static_cast<char>(state >> 24));
      }
      frame += "\n\n";
    } else {
      // Cut inside a line, so that the next reply runs on from it.
      std::size_t cut = frame.size() / 2;
      if (frame[cut - 1] == '\n') ++cut;
      frame.resize(cut);
    }
  }
  output_ += frame;

  // The log moves on by the scan sent and those the request skips.
  for (int k = 0; k <= request_.skip && next_ < log_.size(); ++k) {
    if (next_ + 1 < log_.size()) {
      const int64_t spacing = log_[next_ + 1].t_ms - log_[next_].t_ms;
      dueMs_ += (spacing > 0 ? spacing : 0) / settings_.rate;
      ++next_;
    } else if (settings_.loop) {
      dueMs_ += model_.scanPeriodMs() / settings_.rate;
      next_ = 0;
    } else {
      next_ = log_.size();
    }
  }
  if (request_.scans > 0 && left_ == 0) {
    streaming_ = false;
    laserOn_ = false;
  }
  if (settings_.silenceAfter > 0 && connectionScans_ >= settings_.silenceAfter) silent_ = true;
  if (settings_.dropAfter > 0 && connectionScans_ >= settings_.dropAfter) dropWanted_ = true;
}

void SensorEmulator::corruptFrame(std::string& frame) {
  // The first data line after the time stamp: past the echo, status and
  // stamp lines.
  std::size_t end = 0;
  for (int line = 0; line < 4 && end != std::string::npos; ++line) end = frame.find('\n', end == 0 ? 0 : end + 1);
  if (end == std::string::npos || end < 2) return;
  char& sum = frame[end - 1];
  sum = static_cast<char>((sum - 0x30 + 1) % 64 + 0x30);
}
