// strolvex-sweep LOG [--set NAME=V1,V2,...|NAME=FROM:TO:STEP]... [-j N]
//                [--truth IN,OUT] [--csv FILE] [-f FILE] [-o KEY:VALUE]...
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tools/scanlog/ScanLogFile.h"
#include "tools/sweep/ScanCache.h"
#include "tools/sweep/SweepCommandLine.h"
#include "tools/sweep/SweepRunner.h"
#include "tools/sweep/SweepSignals.h"
#include "tools/sweep/SweepTable.h"

namespace {

const char* const kProgram = "strolvex-sweep";

// Exit statuses.
const int kSweepOk = 0;
const int kSweepIncomplete = 1;  // a configuration failed, or malformed lines were skipped
const int kSweepUnusable = 2;    // the command line, the grid, the log or the CSV file

void printUsage(std::FILE* stream) {
  std::fputs(
      "usage: strolvex-sweep LOG [--set NAME=V1,V2,...|NAME=FROM:TO:STEP]... [-j N]\n"
      "                      [--truth IN,OUT] [--csv FILE] [-f FILE] [-o KEY:VALUE]...\n"
      "Replays the scan log LOG under every combination of the values given to\n"
      "Strolvex's parameters and prints one row per configuration with the final\n"
      "IN and OUT counts.\n"
      "  --set NAME=V1,V2,...     values of one parameter (whole numbers); several\n"
      "  --set NAME=FROM:TO:STEP  --set multiply. NAME: Human_NUM, Environmental_maxdata,\n"
      "                           LRFdata_min, LRFdata_max, LRFdata_mid, LRFdata_theta,\n"
      "                           LRF_Total_steps, Human_width, Human_setdistance,\n"
      "                           StrolvexData, Count_area_distance\n"
      "  -j N                     replays run at once (default: the cores); the\n"
      "                           configurations that differ in Count_area_distance\n"
      "                           alone share one replay\n"
      "  --truth IN,OUT           the true counts: rows sorted by |IN-in|+|OUT-out|,\n"
      "                           the best marked '*'\n"
      "  --csv FILE               also write the table to FILE as CSV\n"
      "  -f FILE, -o KEY:VALUE    the middleware manager's configuration for every\n"
      "                           replay, as strolvex-replay takes it\n"
      "  -h, --help               this text\n"
      "Exit status: 0 done, 1 a configuration failed or malformed lines were\n"
      "skipped, 2 the command line, the grid, the log or the CSV file is unusable,\n"
      "128+N after signal N (SIGINT, SIGTERM); the rows finished are printed.\n",
      stream);
}

int fail(int status, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  return status;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
typedef std::unique_ptr<std::FILE, FileCloser> File;

}  // namespace

int main(int argc, char** argv) {
  SweepSignals signals;
  SweepCommandLine line;
  std::string error;
  if (!parseSweepCommandLine(std::vector<std::string>(argv + 1, argv + argc), line, error))
    return fail(kSweepUnusable, error + " (see -h)");
  if (line.help) {
    printUsage(stdout);
    return kSweepOk;
  }

  ScanLogFile log;
  if (!log.open(line.logPath, error)) return fail(kSweepUnusable, error);
  File csv;
  if (!line.csvPath.empty()) {
    csv.reset(std::fopen(line.csvPath.c_str(), "w"));
    if (!csv)
      return fail(kSweepUnusable,
                  "cannot write '" + line.csvPath + "': " + std::strerror(errno));
  }

  ScanCache cache;
  if (!cache.build(log.get(), line.logPath, kProgram, stderr, error))
    return fail(kSweepUnusable, error);
  log.close();

  SweepPlan plan;
  plan.program = kProgram;
  plan.managerOptions = line.managerOptions;
  const long cores = sysconf(_SC_NPROCESSORS_ONLN);
  plan.jobs = line.jobs > 0 ? line.jobs : static_cast<int>(cores > 0 ? cores : 1);
  const std::vector<SweepRow> rows = runSweep(plan, line.grid, cache, signals, stderr);

  std::vector<std::string> names;
  for (const SweptParameter& parameter : line.grid.parameters()) names.push_back(parameter.name);
  const std::vector<RankedRow> ranked = rankRows(rows, line.hasTruth ? &line.truth : nullptr);
  printTable(stdout, names, ranked, line.hasTruth);
  if (csv) {
    writeCsv(csv.get(), names, ranked, line.hasTruth);
    if (std::fclose(csv.release()) != 0)
      return fail(kSweepIncomplete, "cannot write '" + line.csvPath + "'");
  }
  if (std::fflush(stdout) != 0) return fail(kSweepIncomplete, "cannot write the table");
  if (signals.received() != 0)
    return fail(128 + signals.received(), "interrupted; the configurations finished are shown");

  std::size_t failed = 0;
  for (const SweepRow& row : rows) failed += row.counted ? 0 : 1;
  if (failed != 0)
    return fail(kSweepIncomplete, std::to_string(failed) + " of " + std::to_string(rows.size()) +
                                      " configurations gave no counts");
  return cache.malformedLines() != 0 ? kSweepIncomplete : kSweepOk;
}
