// Scans read one at a time from a scan log file, with the line number of
// each so that a bad line can be named.
#ifndef STROLVEX_TOOLS_PLAYER_SCANLOGSOURCE_H
#define STROLVEX_TOOLS_PLAYER_SCANLOGSOURCE_H

#include <fstream>
#include <string>

#include "tools/scanlog/ScanLog.h"

class ScanLogSource {
 public:
  enum Result { kScan, kMalformed, kEnd };

  bool open(const std::string& path);
  // The next scan, a malformed line (problem says what and where), or the
  // end of the file. Comments and blank lines are passed over.
  Result next(ScanRecord& scan, std::string& problem);
  // Starts again from the first line.
  void rewind();

 private:
  std::ifstream file_;
  std::string line_;
  long lineNumber_ = 0;
};

#endif
