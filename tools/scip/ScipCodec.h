// The character encoding and line checksum of SCIP 2.0, the protocol of
// Hokuyo-style laser scanners. Values travel as 2, 3 or 4 characters of six
// bits each (most significant first, offset by 0x30); every status and data
// line ends with one checksum character.
#ifndef STROLVEX_TOOLS_SCIP_SCIPCODEC_H
#define STROLVEX_TOOLS_SCIP_SCIPCODEC_H

#include <cstddef>
#include <cstdint>
#include <string>

// The largest value `chars` characters hold: 4095, 262143 or 16777215.
uint32_t scipMaxValue(int chars);

// value in `chars` characters (1..4); a value too large for them is cut to
// its low bits, as the sensor's counters wrap.
std::string scipEncode(uint32_t value, int chars);
void scipEncodeTo(uint32_t value, int chars, std::string& out);

// Decodes `chars` characters at text. False if one of them is outside the
// encoding's range '0'..'o'.
bool scipDecode(const char* text, int chars, uint32_t& value);

// The checksum character of the bytes first..last: their sum's low six bits
// plus 0x30.
char scipChecksum(const char* first, const char* last);
char scipChecksum(const std::string& payload);

// A status or data line (without its line feed) whose last character is
// the checksum of the others.
bool scipLineSumOk(const std::string& line);

// The same for a VV/PP/II line "KEY:value;<sum>". Sensors differ in what
// they sum: the usual form leaves the ';' out, some include it, and for II
// lines carrying a "<-..." comment some leave the comment out. Any of these
// readings is accepted.
bool scipInfoLineSumOk(const std::string& line);

#endif
