// Reading of scan log lines: numbers go through fast_float, which parses
// exactly and independently of the locale.
#include <fast_float/fast_float.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "tools/scanlog/ScanLog.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A non-negative decimal integer filling the whole token.
bool parseTimeStamp(const char* first, const char* last, int64_t& value) {
  if (first == last) return false;
  int64_t result = 0;
  for (const char* p = first; p != last; ++p) {
    if (*p < '0' || *p > '9') return false;
    const int digit = *p - '0';
    if (result > (std::numeric_limits<int64_t>::max() - digit) / 10) return false;
    result = result * 10 + digit;
  }
  value = result;
  return true;
}

// Where the token starting at first ends.
const char* tokenEnd(const char* first, const char* end) {
  while (first != end && !isBlank(*first)) ++first;
  return first;
}

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
// Most tokens are told from the eight bytes at first, all at once: their
// digits in one word, the value by multiplications that combine
// neighbouring digits, then pairs, then fours. Returns the length of a
// token of one to seven digits followed by a blank, with its value; 0 when
// the token is not a whole number; -1 when it starts with eight digits.
inline __attribute__((always_inline)) int shortWholeNumber(const char* first, double& value) {
  uint64_t digits;
  std::memcpy(&digits, first, sizeof digits);
  digits ^= 0x3030303030303030u;  // a digit's byte becomes its value
  // A byte is a digit when it is at most 9 now. Adding 6 can carry into
  // the next byte only from a byte that is not a digit, so the first one
  // flagged here is the first byte that is not a digit.
  const uint64_t notDigit = (digits | (digits + 0x0606060606060606u)) & 0xF0F0F0F0F0F0F0F0u;
  if (notDigit == 0) return -1;
  const int length = __builtin_ctzll(notDigit) / 8;
  if (length == 0 || !isBlank(first[length])) return 0;
  // The zero bytes shifted in are leading zeros of an eight-digit number.
  digits <<= 8 * (8 - length);
  digits = digits * 10 + (digits >> 8);
  digits = ((digits & 0x000000FF000000FFu) * (100 + (1000000ull << 32)) +
            ((digits >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32))) >> 32;
  value = static_cast<double>(static_cast<uint32_t>(digits));
  return length;
}
#endif

#if defined(__SSE2__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define STROLVEX_SCANLOG_BLOCKS 1
// Bit k set when at[k] is a blank, for the 64 bytes from at.
uint64_t blanksOf(const char* at) {
  uint64_t mask = 0;
  for (int k = 0; k < 4; ++k) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * k));
    const __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')),
                                       _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')),
                                                    _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r'))));
    mask |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(blank))) << (16 * k);
  }
  return mask;
}

// Takes the short whole numbers of a line 64 bytes at a time, p just past
// a token. The blanks of a block give the start of every token in it at
// once, so finding a token no longer waits on reading the one before.
// Returns where the token-by-token reading goes on: at the end of the last
// token taken, or at the start of one that is not a short whole number
// (then *blocksPay is false: the line is not made of them).
const char* takeShortWholeNumbers(const char* p, const char* end, std::vector<double>& ranges,
                                  bool* blocksPay) {
  const char* resume = p;
  // Every token starting in a block has eight bytes to read.
  for (; end - p >= 64 + 8; p += 64) {
    const uint64_t filled = ~blanksOf(p);
    const uint64_t continuing = filled << 1 | (isBlank(p[-1]) ? 0 : 1);
    for (uint64_t starts = filled & ~continuing; starts != 0; starts &= starts - 1) {
      const char* token = p + __builtin_ctzll(starts);
      double value;
      const int length = shortWholeNumber(token, value);
      if (length <= 0) {
        *blocksPay = false;
        return token;
      }
      ranges.push_back(value);
      resume = token + length;
    }
  }
  return resume;
}
#endif

// Recorded ranges are mostly whole millimetres. A token of at most 15
// digits is an integer every double holds exactly, so taking its digits
// gives the value a full decimal parse would; the parse is read off while
// looking for the token's end. Returns the end of the token when it was
// such an integer, else null.
const char* parseWholeNumber(const char* first, const char* end, double& value) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  if (end - first >= 8) {
    const int length = shortWholeNumber(first, value);
    if (length > 0) return first + length;
    if (length == 0) return nullptr;
    // Eight digits or more: one at a time below.
  }
#endif
  const int kMaxDigits = 15;
  const char* const limit = end - first > kMaxDigits ? first + kMaxDigits : end;
  uint64_t whole = 0;
  const char* p = first;
  while (p != limit && static_cast<unsigned char>(*p - '0') < 10) {
    whole = whole * 10 + static_cast<unsigned>(*p - '0');
    ++p;
  }
  if (p == first || (p != end && !isBlank(*p))) return nullptr;
  value = static_cast<double>(whole);
  return p;
}

// A decimal number filling the whole token; a leading '+' is accepted.
bool parseRange(const char* first, const char* last, double& value) {
  if (last - first > 1 && *first == '+' && first[1] != '+' && first[1] != '-') ++first;
  const fast_float::from_chars_result result = fast_float::from_chars(first, last, value);
  return result.ec == std::errc() && result.ptr == last;
}

void malformed(ScanLine& line, std::string error) {
  line.kind = ScanLine::kMalformed;
  line.error = std::move(error);
}

}  // namespace

ScanLine parseScanLine(const std::string& text) {
  ScanLine line;
  parseScanLine(text.data(), text.data() + text.size(), line);
  return line;
}

void parseScanLine(const char* p, const char* const end, ScanLine& line) {
  line.kind = ScanLine::kSkip;
  line.error.clear();
  line.scan.t_ms = 0;
  line.scan.ranges.clear();
  while (p != end && isBlank(*p)) ++p;
  if (p == end || *p == '#') return;

  line.kind = ScanLine::kScan;
  const char* last = tokenEnd(p, end);
  if (!parseTimeStamp(p, last, line.scan.t_ms))
    return malformed(line, "time stamp '" + std::string(p, last) +
                               "' is not a non-negative integer of milliseconds");
#if defined(STROLVEX_SCANLOG_BLOCKS)
  bool blocksPay = true;
#endif
  for (p = last; p != end; p = last) {
#if defined(STROLVEX_SCANLOG_BLOCKS)
    if (blocksPay) p = takeShortWholeNumbers(p, end, line.scan.ranges, &blocksPay);
#endif
    while (p != end && isBlank(*p)) ++p;
    if (p == end) break;
    // Two variables: the whole number's never has its address taken, so it
    // stays in a register on the common path.
    double whole = 0.0;
    last = parseWholeNumber(p, end, whole);
    if (last != nullptr) {
      line.scan.ranges.push_back(whole);
      continue;
    }
    last = tokenEnd(p, end);
    double range = 0.0;
    if (!parseRange(p, last, range))
      return malformed(line, "range " + std::to_string(line.scan.ranges.size()) + " '" +
                                 std::string(p, last) + "' is not a number");
    line.scan.ranges.push_back(range);
  }
}
