// Scan log, version 1: a text file of laser scans, one scan per line.
//
//   # comment            lines whose first non-blank character is '#'
//   <t_ms> <r_0> ... <r_{n-1}>
//
// t_ms is a non-negative integer time stamp in milliseconds, r_s the range
// at scan step s in millimetres as a decimal number ("nan", "inf", "-inf"
// and negative values are readings too). Tokens are separated by blanks or
// tabs; blank lines are ignored.
#ifndef STROLVEX_TOOLS_SCANLOG_SCANLOG_H
#define STROLVEX_TOOLS_SCANLOG_SCANLOG_H

#include <cstdint>
#include <string>
#include <vector>

struct ScanRecord {
  int64_t t_ms = 0;
  std::vector<double> ranges;
};

// What one line of a scan log holds.
struct ScanLine {
  enum Kind { kScan, kSkip, kMalformed };
  Kind kind = kSkip;
  ScanRecord scan;    // kScan
  std::string error;  // kMalformed: what is wrong, for a message
};

// Parses one line (without its line break; a trailing '\r' is tolerated).
ScanLine parseScanLine(const std::string& line);
// The same for the characters first..last, into line: reading a long log
// line after line into one ScanLine reuses its storage.
void parseScanLine(const char* first, const char* last, ScanLine& line);

// Formats a scan as one line of the log without a line break. Ranges are
// written exactly: parsing the line gives back the same doubles.
std::string formatScanLine(const ScanRecord& scan);

#endif
