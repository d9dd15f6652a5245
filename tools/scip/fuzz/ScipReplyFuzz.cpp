// Arbitrary bytes from a sensor through the reply reader and the decoders.
// Read byte by byte or in pieces of the size the first byte chooses (small
// enough for the pending replies never to overflow), the replies must be
// the same; each must be bounded, a sound reply written out again
// must read back the same, and a decoded scan must hold as many values as
// its request asks for.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/scip/ScipReplyReader.h"
#include "tools/scip/ScipReplyWriter.h"
#include "tools/scip/ScipScan.h"
#include "tools/scip/SensorInfo.h"

namespace {

void check(bool holds) {
  if (!holds) std::abort();
}

std::vector<ScipReply> readAll(const std::string& bytes, std::size_t chunk) {
  ScipReplyReader reader;
  std::vector<ScipReply> replies;
  ScipReply reply;
  for (std::size_t at = 0; at < bytes.size(); at += chunk) {
    reader.feed(bytes.data() + at, bytes.size() - at < chunk ? bytes.size() - at : chunk);
    while (reader.next(reply)) replies.push_back(reply);
  }
  check(reader.dropped() == 0);
  return replies;
}

bool same(const ScipReply& a, const ScipReply& b) {
  return a.echo == b.echo && a.status == b.status && a.payload == b.payload && a.problem == b.problem;
}

void checkReply(const ScipReply& reply) {
  check(reply.echo.size() <= ScipReplyReader::kMaxLineLength);
  check(reply.payload.size() <= ScipReplyReader::kMaxPayloadLines);
  for (const std::string& line : reply.payload) check(line.size() < ScipReplyReader::kMaxLineLength);
  check(reply.ok() == reply.detail.empty());
  if (reply.ok()) {
    check(reply.status.size() == 1 || reply.status.size() == 2);
    const std::vector<ScipReply> again = readAll(scipReplyBytes(reply.echo, reply.status, reply.payload), 64);
    check(again.size() == 1 && same(again[0], reply));
  }
  for (int chars : {2, 3}) {
    ScipScanRequest request;
    request.encodingChars = chars;
    ScipScan scan;
    std::string error;
    if (decodeScan(reply, request, scan, error)) {
      check(reply.ok());
      check(scan.values.size() == static_cast<std::size_t>(request.valueCount()));
    } else {
      check(!error.empty());
    }
  }
  SensorInfo info;
  std::string error;
  if (!parseSensorInfo(reply, info, error)) check(!error.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t chunk = data[0] % 97 + 1;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::vector<ScipReply> whole = readAll(bytes, 1);
  const std::vector<ScipReply> pieces = readAll(bytes, chunk);
  check(whole.size() == pieces.size());
  for (std::size_t k = 0; k < whole.size(); ++k) {
    check(same(whole[k], pieces[k]));
    checkReply(whole[k]);
  }
  return 0;
}
