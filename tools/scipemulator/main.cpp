// strolvex-scip-emulator [OPTION]... SCANLOG: a SCIP 2.0 laser scanner
// serving a scan log, over a pseudo-terminal and/or TCP.
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tools/scanlog/ScanLog.h"
#include "tools/scipemulator/EmulatorArguments.h"
#include "tools/scipemulator/EmulatorLinks.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

int64_t nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool readLog(const std::string& path, std::vector<ScanRecord>& scans, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::string text;
  ScanLine line;
  for (int number = 1; std::getline(in, text); ++number) {
    parseScanLine(text.data(), text.data() + text.size(), line);
    if (line.kind == ScanLine::kMalformed) {
      error = path + ":" + std::to_string(number) + ": " + line.error;
      return false;
    }
    if (line.kind == ScanLine::kScan) scans.push_back(line.scan);
  }
  if (scans.empty()) error = path + " holds no scans";
  return !scans.empty();
}

}  // namespace

int main(int argc, char** argv) {
  EmulatorArguments arguments;
  std::string error;
  if (!parseEmulatorArguments(std::vector<std::string>(argv + 1, argv + argc), arguments, error)) {
    std::fprintf(stderr, "strolvex-scip-emulator: %s\n%s", error.c_str(), kEmulatorUsage);
    return 2;
  }
  if (arguments.help) {
    std::fputs(kEmulatorUsage, stdout);
    return 0;
  }
  ScipModel model;
  std::vector<ScanRecord> scans;
  if (!findScipModel(arguments.modelName, model)) {
    std::fprintf(stderr, "strolvex-scip-emulator: unknown model %s (known: %s)\n", arguments.modelName.c_str(),
                 scipModelNames().c_str());
    return 2;
  }
  if (!readLog(arguments.logPath, scans, error)) {
    std::fprintf(stderr, "strolvex-scip-emulator: %s\n", error.c_str());
    return 2;
  }

  struct sigaction action = {};
  action.sa_handler = requestStop;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  const SensorEmulator sensor(model, scans, arguments.settings);
  std::vector<std::unique_ptr<EmulatorLink>> links;
  if (arguments.pty) {
    std::unique_ptr<PtyLink> pty(new PtyLink(sensor, arguments.linkPath));
    if (!pty->open(error)) {
      std::fprintf(stderr, "strolvex-scip-emulator: %s\n", error.c_str());
      return 1;
    }
    links.push_back(std::move(pty));
  }
  if (arguments.tcpPort >= 0) {
    std::unique_ptr<TcpLink> tcp(new TcpLink(sensor));
    if (!tcp->open(arguments.tcpPort, error)) {
      std::fprintf(stderr, "strolvex-scip-emulator: %s\n", error.c_str());
      return 1;
    }
    links.push_back(std::move(tcp));
  }

  std::vector<pollfd> fds;
  std::vector<std::size_t> firsts;
  while (!stopRequested) {
    int64_t now = nowMs();
    fds.clear();
    firsts.clear();
    int64_t wait = 100;
    for (const auto& link : links) {
      firsts.push_back(fds.size());
      link->watch(fds, now);
      if (link->nextDueMs() >= 0) wait = std::min(wait, std::max<int64_t>(0, link->nextDueMs() - now));
      if (fds.back().fd < 0) wait = std::min<int64_t>(wait, 10);
    }
    if (::poll(fds.data(), fds.size(), static_cast<int>(wait)) < 0 && errno != EINTR) {
      std::perror("strolvex-scip-emulator: poll");
      return 1;
    }
    now = nowMs();
    for (std::size_t k = 0; k < links.size(); ++k) {
      if (!links[k]->serve(&fds[firsts[k]], now, error)) {
        std::fprintf(stderr, "strolvex-scip-emulator: %s\n", error.c_str());
        return 1;
      }
    }
  }
  return 0;
}
