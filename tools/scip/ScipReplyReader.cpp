// Replies end with an empty line, so a reply whose end was lost swallows
// the next one. The reader notices that when a line shaped like a status
// line follows a line that cannot be where it is (a status line of the
// wrong shape, a data line whose sum fails): the latter is then taken as
// the next reply's echo, with whatever was left of the broken reply in
// front of it, and only the broken reply is lost.
#include "tools/scip/ScipReplyReader.h"

#include <cstring>
#include <string>
#include <utility>

#include "tools/scip/ScipCodec.h"

namespace {

bool isStatusChar(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

bool isStatusShaped(const std::string& text) {
  return text.size() == 3 && isStatusChar(text[0]) && isStatusChar(text[1]) && scipLineSumOk(text);
}

// Information replies sum their lines differently.
bool isInfoEcho(const std::string& echo) {
  return echo.compare(0, 2, "VV") == 0 || echo.compare(0, 2, "PP") == 0 || echo.compare(0, 2, "II") == 0;
}

bool isUnprintable(char c) { return static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E; }

}  // namespace

const std::size_t ScipReplyReader::kMaxLineLength;
const std::size_t ScipReplyReader::kMaxPayloadLines;
const std::size_t ScipReplyReader::kMaxPending;

const char* scipProblemName(ScipReply::Problem problem) {
  switch (problem) {
    case ScipReply::kNone: return "none";
    case ScipReply::kChecksum: return "checksum error";
    case ScipReply::kGarbled: return "garbled reply";
    case ScipReply::kTruncated: return "truncated reply";
    case ScipReply::kOversize: return "oversize reply";
  }
  return "unknown problem";
}

void ScipReplyReader::feed(const char* data, std::size_t size) {
  const char* end = data + size;
  while (data != end) {
    const char* feedChar = static_cast<const char*>(std::memchr(data, '\n', static_cast<std::size_t>(end - data)));
    if (feedChar == nullptr) {
      append(data, end);
      return;
    }
    append(data, feedChar);
    endLine();
    data = feedChar + 1;
  }
}

void ScipReplyReader::append(const char* first, const char* last) {
  for (const char* p = first; p != last; ++p) {
    if (isUnprintable(*p)) line_.unprintable = true;
  }
  const std::size_t room = kMaxLineLength - line_.text.size();
  const std::size_t count = static_cast<std::size_t>(last - first);
  if (count > room) line_.tooLong = true;
  line_.text.append(first, count > room ? room : count);
}

bool ScipReplyReader::fitsItsPlace(const Line& line, std::size_t index) const {
  if (index == 0) return true;
  if (line.unprintable || line.tooLong) return false;
  if (index == 1) return isStatusShaped(line.text) || line.text.size() == 1;
  return isInfoEcho(lines_.front().text) ? scipInfoLineSumOk(line.text) : scipLineSumOk(line.text);
}

void ScipReplyReader::endLine() {
  Line line;
  std::swap(line, line_);
  if (line.text.empty() && !line.tooLong) {
    // A stray line feed between replies says nothing.
    if (!lines_.empty() || oversize_) endReply();
    return;
  }
  if (oversize_) return;
  if (lines_.size() >= 2 + kMaxPayloadLines) {
    oversize_ = true;
    return;
  }
  if (lines_.size() >= 2 && !lines_.back().fitsItsPlace && isStatusShaped(line.text)) {
    // The broken reply ends before its last line, which opens the next one.
    Line echo = std::move(lines_.back());
    lines_.pop_back();
    ScipReply truncated;
    truncated.echo = lines_.front().text;
    truncated.problem = ScipReply::kTruncated;
    truncated.detail = "the next reply began after " + std::to_string(lines_.size()) + " lines";
    deliver(truncated);
    lines_.clear();
    echo.fitsItsPlace = true;
    lines_.push_back(std::move(echo));
  }
  line.fitsItsPlace = fitsItsPlace(line, lines_.size());
  lines_.push_back(std::move(line));
}

void ScipReplyReader::endReply() {
  ScipReply reply;
  auto fail = [&reply](ScipReply::Problem problem, const std::string& detail) {
    if (reply.problem != ScipReply::kNone) return;
    reply.problem = problem;
    reply.detail = detail;
  };
  if (!lines_.empty()) reply.echo = std::move(lines_.front().text);
  if (oversize_) fail(ScipReply::kOversize, "more than " + std::to_string(kMaxPayloadLines) + " data lines");
  if (lines_.size() < 2) {
    fail(ScipReply::kGarbled, "no status line");
  } else {
    const Line& status = lines_[1];
    if (status.unprintable || status.tooLong || (status.text.size() != 3 && status.text.size() != 1)) {
      fail(ScipReply::kGarbled, "a status line of " + std::to_string(status.text.size()) + " characters");
    } else if (status.text.size() == 3 && !scipLineSumOk(status.text)) {
      fail(ScipReply::kChecksum, "status line");
    }
    reply.status = status.text.substr(0, 2);
  }
  for (std::size_t k = 2; k < lines_.size(); ++k) {
    Line& line = lines_[k];
    const std::string where = "data line " + std::to_string(k - 1);
    if (line.tooLong) fail(ScipReply::kOversize, where + " longer than " + std::to_string(kMaxLineLength));
    if (line.unprintable) fail(ScipReply::kGarbled, where + " holds bytes that are not printable");
    if (line.text.size() < 2) fail(ScipReply::kGarbled, where + " has no data");
    if (!line.fitsItsPlace) fail(ScipReply::kChecksum, where);
    if (!line.text.empty()) line.text.pop_back();
    reply.payload.push_back(std::move(line.text));
  }
  lines_.clear();
  oversize_ = false;
  deliver(reply);
}

void ScipReplyReader::deliver(ScipReply& reply) {
  if (pending_.size() == kMaxPending) {
    pending_.pop_front();
    ++dropped_;
  }
  pending_.push_back(std::move(reply));
}

bool ScipReplyReader::next(ScipReply& reply) {
  if (pending_.empty()) return false;
  reply = std::move(pending_.front());
  pending_.pop_front();
  return true;
}

void ScipReplyReader::reset() {
  line_ = Line();
  lines_.clear();
  oversize_ = false;
  pending_.clear();
}
