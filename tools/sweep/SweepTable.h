// The sweep's answer: one row per configuration, ranked against the true
// counts when they are known, as a table for a person or as CSV.
#ifndef STROLVEX_TOOLS_SWEEP_SWEEPTABLE_H
#define STROLVEX_TOOLS_SWEEP_SWEEPTABLE_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/sweep/SweepRow.h"

struct TrueCounts {
  int64_t in = 0, out = 0;
};

struct RankedRow {
  const SweepRow* row;
  int64_t error = 0;  // |IN - in| + |OUT - out|, when counted and ranked
  bool best = false;
};

// Without truth the rows in grid order. With it, ordered by error (ties in
// grid order, rows without counts last), and every row of the smallest
// error marked best.
std::vector<RankedRow> rankRows(const std::vector<SweepRow>& rows, const TrueCounts* truth);

// Columns: the swept parameters, IN and OUT and, with truth, a first
// column marking the best with '*' and the error; aligned for reading.
void printTable(std::FILE* out, const std::vector<std::string>& names,
                const std::vector<RankedRow>& ranked, bool withError);
// The same rows as CSV: the parameters, in, out and, with truth, error and
// best (1 or 0); a row without counts has empty cells and its reason.
void writeCsv(std::FILE* out, const std::vector<std::string>& names,
              const std::vector<RankedRow>& ranked, bool withError);

#endif
