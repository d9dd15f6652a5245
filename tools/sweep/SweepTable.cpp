#include "tools/sweep/SweepTable.h"

#include <algorithm>
#include <cstdlib>

std::vector<RankedRow> rankRows(const std::vector<SweepRow>& rows, const TrueCounts* truth) {
  std::vector<RankedRow> ranked;
  for (const SweepRow& row : rows) ranked.push_back(RankedRow{&row, 0, false});
  if (truth == nullptr) return ranked;
  for (RankedRow& entry : ranked)
    if (entry.row->counted)
      entry.error = std::llabs(entry.row->in - truth->in) + std::llabs(entry.row->out - truth->out);
  std::stable_sort(ranked.begin(), ranked.end(), [](const RankedRow& a, const RankedRow& b) {
    if (a.row->counted != b.row->counted) return a.row->counted;
    return a.row->counted && a.error < b.error;
  });
  for (RankedRow& entry : ranked)
    entry.best = entry.row->counted && entry.error == ranked.front().error;
  return ranked;
}

namespace {

std::vector<std::string> cellsOf(const RankedRow& entry, bool withError, bool forCsv) {
  const SweepRow& row = *entry.row;
  std::vector<std::string> cells;
  if (!forCsv && withError) cells.push_back(entry.best ? "*" : "");
  cells.insert(cells.end(), row.values.begin(), row.values.end());
  if (row.counted) {
    cells.push_back(std::to_string(row.in));
    cells.push_back(std::to_string(row.out));
    if (withError) cells.push_back(std::to_string(entry.error));
  } else {
    cells.push_back(forCsv ? "" : "-");
    cells.push_back(forCsv ? "" : "-");
    if (withError) cells.push_back(forCsv ? "" : "-");
  }
  if (forCsv && withError) cells.push_back(entry.best ? "1" : "0");
  if (!row.counted) cells.push_back(row.failure);
  return cells;
}

std::vector<std::string> headerOf(const std::vector<std::string>& names, bool withError,
                                  bool forCsv) {
  std::vector<std::string> header;
  if (!forCsv && withError) header.push_back("");
  header.insert(header.end(), names.begin(), names.end());
  header.push_back(forCsv ? "in" : "IN");
  header.push_back(forCsv ? "out" : "OUT");
  if (withError) header.push_back("error");
  if (forCsv && withError) header.push_back("best");
  return header;
}

// A cell with a comma, quote or line break is quoted, its quotes doubled.
std::string csvCell(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

void printTable(std::FILE* out, const std::vector<std::string>& names,
                const std::vector<RankedRow>& ranked, bool withError) {
  std::vector<std::vector<std::string>> lines{headerOf(names, withError, false)};
  for (const RankedRow& entry : ranked) lines.push_back(cellsOf(entry, withError, false));
  const std::size_t columns = lines.front().size();
  std::vector<std::size_t> widths(columns, 0);
  for (const auto& line : lines)
    for (std::size_t k = 0; k < columns; ++k) widths[k] = std::max(widths[k], line[k].size());
  for (const auto& line : lines) {
    std::string text;
    for (std::size_t k = 0; k < line.size(); ++k) {
      if (k > 0) text += "  ";
      // Counts and errors are numbers: right-aligned; the rest to the left.
      const bool number = k >= columns - (withError ? 3 : 2) && k < columns;
      const std::string pad(k < columns ? widths[k] - line[k].size() : 0, ' ');
      text += number ? pad + line[k] : (k + 1 < line.size() ? line[k] + pad : line[k]);
    }
    std::fprintf(out, "%s\n", text.c_str());
  }
}

void writeCsv(std::FILE* out, const std::vector<std::string>& names,
              const std::vector<RankedRow>& ranked, bool withError) {
  std::vector<std::vector<std::string>> lines{headerOf(names, withError, true)};
  lines.front().push_back("failure");
  for (const RankedRow& entry : ranked) {
    lines.push_back(cellsOf(entry, withError, true));
    if (entry.row->counted) lines.back().push_back("");
  }
  for (const auto& line : lines) {
    std::string text;
    for (std::size_t k = 0; k < line.size(); ++k) text += (k > 0 ? "," : "") + csvCell(line[k]);
    std::fprintf(out, "%s\n", text.c_str());
  }
}
