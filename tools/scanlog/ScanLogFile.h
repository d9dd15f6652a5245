// A scan log opened for reading. Logs run to hundreds of megabytes: the
// stream reads them in large blocks, where a default buffer would cost a
// system call every few thousand bytes.
#ifndef STROLVEX_TOOLS_SCANLOG_SCANLOGFILE_H
#define STROLVEX_TOOLS_SCANLOG_SCANLOGFILE_H

#include <cstdio>
#include <memory>
#include <string>

#include "tools/scanlog/ScanLog.h"

class ScanLogFile {
 public:
  // False, with "cannot read scan log 'PATH': why", when path cannot be
  // read as a log (a directory cannot).
  bool open(const std::string& path, std::string& error);
  std::FILE* get() const { return file_.get(); }
  void close() { file_.reset(); }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  // Declared first, so that it outlives the stream that reads through it.
  std::unique_ptr<char[]> buffer_;
  std::unique_ptr<std::FILE, Closer> file_;
};

// Reads an open log's lines in order, passing over blank lines and
// comments.
class ScanLineReader {
 public:
  explicit ScanLineReader(std::FILE* log) : log_(log) {}
  ~ScanLineReader();
  ScanLineReader(const ScanLineReader&) = delete;
  ScanLineReader& operator=(const ScanLineReader&) = delete;

  // The next scan line, or malformed line, parsed into line; false at the
  // end of the log or when reading it failed.
  bool next(ScanLine& line);
  // The number of the line next() gave last, from 1.
  long lineNumber() const { return lineNumber_; }
  // errno of the failed read, 0 when the log was read to its end.
  int readError() const { return readError_; }

 private:
  std::FILE* log_;
  char* text_ = nullptr;  // getline's buffer
  std::size_t capacity_ = 0;
  long lineNumber_ = 0;
  int readError_ = 0;
};

#endif
