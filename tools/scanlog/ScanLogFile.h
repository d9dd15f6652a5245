// A scan log opened for reading. Logs run to hundreds of megabytes: the
// stream reads them in large blocks, where a default buffer would cost a
// system call every few thousand bytes.
#ifndef STROLVEX_TOOLS_SCANLOG_SCANLOGFILE_H
#define STROLVEX_TOOLS_SCANLOG_SCANLOGFILE_H

#include <cstdio>
#include <memory>
#include <string>

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

#endif
