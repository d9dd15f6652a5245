// The sensor's side: replies as a SCIP 2.0 sensor writes them, for the
// emulator and for checking the reader against the real layout.
#ifndef STROLVEX_TOOLS_SCIP_SCIPREPLYWRITER_H
#define STROLVEX_TOOLS_SCIP_SCIPREPLYWRITER_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// echo, status and data lines, each with its sum, and the closing empty
// line. A status of one character (a SCIP 1.1 sensor's answer) goes out
// without a sum.
std::string scipReplyBytes(const std::string& echo, const std::string& status,
                           const std::vector<std::string>& payload = std::vector<std::string>());

// A VV/PP reply: "KEY:value;<sum>" lines, summed without the ';'.
std::string scipInfoReplyBytes(const std::string& echo,
                               const std::vector<std::pair<std::string, std::string>>& entries);

// The data lines of a scan: the 4-character time stamp, then the values
// encoded in `chars` characters, run together and cut into 64-character
// lines.
std::vector<std::string> scipScanPayload(uint32_t stamp, const std::vector<uint32_t>& values, int chars);

#endif
