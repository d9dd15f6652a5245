// One reply of a SCIP 2.0 sensor, as ScipReplyReader assembles it from the
// byte stream:
//
//   <echo>           the request as the sensor received it (no checksum)
//   <status><sum>    "00" accepted, "99" scan data follows, else an error
//   <payload><sum>   zero or more data lines
//   (empty line)     end of the reply
#ifndef STROLVEX_TOOLS_SCIP_SCIPREPLY_H
#define STROLVEX_TOOLS_SCIP_SCIPREPLY_H

#include <string>
#include <vector>

struct ScipReply {
  // What, if anything, is wrong with a reply. A reply with a problem is
  // still handed out (so that it can be counted and logged), but its
  // payload is not to be trusted.
  enum Problem {
    kNone,
    kChecksum,   // a status or data line's checksum does not match
    kGarbled,    // not shaped like a reply: no status line, bytes that are
                 // not printable ASCII, a status line of the wrong length
    kTruncated,  // cut short: the next reply began before this one ended
    kOversize,   // a line or the whole reply longer than any sensor sends;
                 // the excess was discarded
  };

  std::string echo;
  // Two characters ("00", "99", "0E", ...) without the checksum. A sensor
  // still in SCIP 1.1 answers "SCIP2.0" with the single character "0".
  std::string status;
  // Data lines without their checksum character (info lines keep their
  // trailing ';').
  std::vector<std::string> payload;
  Problem problem = kNone;
  std::string detail;  // what the problem was, for a log line

  bool ok() const { return problem == kNone; }
  // The command the reply answers: the echo's first two characters.
  std::string command() const { return echo.substr(0, 2); }
};

const char* scipProblemName(ScipReply::Problem problem);

#endif
