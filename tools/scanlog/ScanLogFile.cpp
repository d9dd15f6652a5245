#include "tools/scanlog/ScanLogFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

const std::size_t kBufferBytes = 1 << 20;

}  // namespace

bool ScanLogFile::open(const std::string& path, std::string& error) {
  const std::string cannot = "cannot read scan log '" + path + "': ";
  file_.reset(std::fopen(path.c_str(), "r"));
  if (!file_) {
    error = cannot + std::strerror(errno);
    return false;
  }
  struct stat status;
  if (fstat(fileno(file_.get()), &status) == 0 && S_ISDIR(status.st_mode)) {
    file_.reset();
    error = cannot + "it is a directory";
    return false;
  }
  buffer_.reset(new char[kBufferBytes]);
  std::setvbuf(file_.get(), buffer_.get(), _IOFBF, kBufferBytes);
  return true;
}

ScanLineReader::~ScanLineReader() { std::free(text_); }

bool ScanLineReader::next(ScanLine& line) {
  for (;;) {
    const ssize_t length = getline(&text_, &capacity_, log_);
    if (length < 0) {
      if (std::ferror(log_)) readError_ = errno;
      return false;
    }
    ++lineNumber_;
    const char* end = text_ + length;
    if (end != text_ && end[-1] == '\n') --end;
    parseScanLine(text_, end, line);
    if (line.kind != ScanLine::kSkip) return true;
  }
}
