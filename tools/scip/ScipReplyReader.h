// Assembles ScipReplys from the bytes a sensor sends, in whatever pieces
// they arrive. Whatever the bytes, memory stays bounded and the reader
// finds its feet again at the next reply: a broken reply is handed out
// once, marked with its problem, and the next one is read normally.
#ifndef STROLVEX_TOOLS_SCIP_SCIPREPLYREADER_H
#define STROLVEX_TOOLS_SCIP_SCIPREPLYREADER_H

#include <cstddef>
#include <deque>
#include <string>

#include "tools/scip/ScipReply.h"

class ScipReplyReader {
 public:
  // Longest line kept (a data line is at most 64 characters plus its sum;
  // echoes with a tag string are shorter still) and most data lines in one
  // reply (a 1081-step scan with intensities takes 102).
  static const std::size_t kMaxLineLength = 128;
  static const std::size_t kMaxPayloadLines = 256;
  // Complete replies waiting for next(); older ones are dropped beyond this
  // and counted in dropped().
  static const std::size_t kMaxPending = 64;

  void feed(const char* data, std::size_t size);
  void feed(const std::string& bytes) { feed(bytes.data(), bytes.size()); }
  // Takes the oldest complete reply; false if there is none.
  bool next(ScipReply& reply);
  // Forgets a partly received reply and everything pending, e.g. after a
  // reconnection.
  void reset();

  // Whether bytes of an unfinished reply are held.
  bool midReply() const { return !line_.text.empty() || line_.tooLong || !lines_.empty() || oversize_; }
  std::size_t dropped() const { return dropped_; }

 private:
  struct Line {
    std::string text;
    bool unprintable = false;
    bool tooLong = false;
    bool fitsItsPlace = true;  // a status line's shape, a data line's sum
  };

  void append(const char* first, const char* last);
  void endLine();
  bool fitsItsPlace(const Line& line, std::size_t index) const;
  void endReply();
  void deliver(ScipReply& reply);

  Line line_;
  std::deque<Line> lines_;  // of the reply being read, echo first
  bool oversize_ = false;
  std::deque<ScipReply> pending_;
  std::size_t dropped_ = 0;
};

#endif
