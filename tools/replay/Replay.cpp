#include "tools/replay/Replay.h"

#include <cstring>

#include "launcher/TerminationSignals.h"
#include "tools/replay/ReplayPipeline.h"
#include "tools/replay/ReplaySession.h"
#include "tools/scanlog/ScanLogFile.h"

namespace {

int fail(std::FILE* err, const std::string& program, int status, const std::string& message) {
  std::fprintf(err, "%s: %s\n", program.c_str(), message.c_str());
  return status;
}

}  // namespace

int runReplay(const std::string& program, ManagerArguments& arguments, const std::string& logPath,
              std::FILE* out, std::FILE* err, const TerminationSignals& signals) {
  ScanLogFile log;
  std::string error;
  if (!log.open(logPath, error)) return fail(err, program, kReplayUnreadableLog, error);

  ReplaySession session;
  if (!session.start(program, arguments)) {
    session.stop();
    return fail(err, program, kReplayNotRunnable,
                "could not start and activate the Strolvex component");
  }
  const ReplayOutcome outcome =
      replayThroughPipeline(log.get(), logPath, session, program, out, err, signals);
  const bool stayedActive = session.strolvexIsActive();
  session.stop();

  if (outcome.unsentScanLine != 0)
    return fail(err, program, kReplayNotRunnable,
                "the scan on line " + std::to_string(outcome.unsentScanLine) + " of '" + logPath +
                    "' found no connection to Strolvex; replay stopped");
  if (!stayedActive)
    return fail(err, program, kReplayNotRunnable,
                "Strolvex left the active state during the replay; its results are incomplete");
  if (std::fflush(out) != 0 || std::ferror(out))
    return fail(err, program, kReplayNotRunnable, "cannot write the results");
  if (signals.received() != 0)
    return fail(err, program, 128 + signals.received(),
                "interrupted after " + std::to_string(outcome.scansDone) +
                    " scans; their results are written");
  if (!outcome.readWhole)
    return fail(err, program, kReplayUnreadableLog,
                "reading scan log '" + logPath + "' failed: " + std::strerror(outcome.readError));
  return outcome.malformedLines != 0 ? kReplayMalformedLines : kReplayOk;
}
