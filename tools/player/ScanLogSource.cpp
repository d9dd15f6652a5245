#include "tools/player/ScanLogSource.h"

bool ScanLogSource::open(const std::string& path) {
  file_.close();
  file_.clear();
  file_.open(path.c_str());
  lineNumber_ = 0;
  return file_.is_open();
}

ScanLogSource::Result ScanLogSource::next(ScanRecord& scan, std::string& problem) {
  while (std::getline(file_, line_)) {
    ++lineNumber_;
    ScanLine parsed = parseScanLine(line_);
    if (parsed.kind == ScanLine::kSkip) continue;
    if (parsed.kind == ScanLine::kMalformed) {
      problem = "line " + std::to_string(lineNumber_) + ": " + parsed.error;
      return kMalformed;
    }
    scan = std::move(parsed.scan);
    return kScan;
  }
  return kEnd;
}

void ScanLogSource::rewind() {
  file_.clear();
  file_.seekg(0);
  lineNumber_ = 0;
}
