// The pass counts as the logger reports them: a line whenever they change
// and a summary at the end.
#ifndef STROLVEX_TOOLS_LOGGER_COUNTREPORT_H
#define STROLVEX_TOOLS_LOGGER_COUNTREPORT_H

#include <string>

class CountReport {
 public:
  // Takes the counts of one sample; returns the line to print when they
  // differ from the previous sample's (or this is the first), else "".
  std::string update(long in, long out, long present);
  // Notes a sample whose counts could not be read.
  void skipMalformed() { ++malformed_; }

  std::string summary() const;

 private:
  long in_ = 0;
  long out_ = 0;
  long present_ = 0;
  long samples_ = 0;
  long malformed_ = 0;
};

#endif
