#include "tools/scanner/ScannerStartup.h"

#include "tools/scip/ScipCommands.h"

namespace {

StartupResult linkFailure(ScipSession::Outcome outcome, const std::string& what, ScipSession& session,
                          std::string& message) {
  if (outcome == ScipSession::Outcome::Stopped) return StartupResult::Stopped;
  message = outcome == ScipSession::Outcome::Closed ? "link closed (" + session.closedReason() + ") during " + what
                                                    : "no reply to " + what;
  return StartupResult::LinkLost;
}

std::string commandName(const std::string& command) { return command.substr(0, command.find('\n')); }

// The reply to command when it is a sound "00"; else the reason in message.
bool acceptedReply(ScipSession& session, const std::string& command, ScipReply& reply, StartupResult& failure,
                   std::string& message) {
  const ScipSession::Outcome outcome = session.request(command, reply);
  if (outcome != ScipSession::Outcome::Ok) {
    failure = linkFailure(outcome, commandName(command), session, message);
    return false;
  }
  if (!reply.ok()) {
    failure = StartupResult::WrongProtocol;
    message = commandName(command) + " reply " + scipProblemName(reply.problem) + " (" + reply.detail + ")";
    return false;
  }
  if (reply.status != "00") {
    failure = StartupResult::SensorRefused;
    message = commandName(command) + " answered with status " + reply.status;
    return false;
  }
  return true;
}

StartupResult startStream(ScipSession& session, const ScipScanRequest& request, std::string& message) {
  ScipReply reply;
  StartupResult failure;
  if (!acceptedReply(session, scipScanCommand(request), reply, failure, message)) return failure;
  return StartupResult::Streaming;
}

}  // namespace

StartupResult startScanning(ScipSession& session, const ScannerSettings& settings, SensorInfo& info,
                            ScipScanRequest& request, std::string& message) {
  message.clear();
  ScipReply reply;
  // The switch's answer differs between a 1.1 sensor ("0") and a 2.0 one
  // ("0E"); neither matters, and a sensor that stays silent is caught by VV.
  ScipSession::Outcome outcome = session.request(scipSwitchTo2Command(), reply);
  if (outcome == ScipSession::Outcome::Closed || outcome == ScipSession::Outcome::Stopped)
    return linkFailure(outcome, "SCIP2.0", session, message);
  // A stream left running by an earlier session would bury the replies. A
  // sensor that ignores QT is left to VV to judge.
  outcome = session.request(scipQuitCommand(), reply);
  if (outcome == ScipSession::Outcome::Closed || outcome == ScipSession::Outcome::Stopped)
    return linkFailure(outcome, "QT", session, message);

  StartupResult failure = StartupResult::WrongProtocol;
  info = SensorInfo();
  std::string error;
  if (!acceptedReply(session, scipVersionCommand(), reply, failure, message) || !parseSensorInfo(reply, info, error)) {
    if (message.empty()) message = "VV: " + error;
    message = "the sensor does not answer in SCIP 2.0 (" + message + "); is it a SCIP 2.0 sensor" +
              (settings.device.compare(0, 4, "tcp:") == 0 ? "?" : ", and is its bit rate " + std::to_string(settings.baud) + "?");
    return failure == StartupResult::LinkLost ? failure : StartupResult::WrongProtocol;
  }
  if (info.protocol.compare(0, 6, "SCIP 2") != 0 && info.protocol.compare(0, 5, "SCIP2") != 0) {
    message = "the sensor speaks '" + info.protocol + "'; this component speaks SCIP 2.0";
    return StartupResult::WrongProtocol;
  }
  if (!acceptedReply(session, scipParametersCommand(), reply, failure, message) || !parseSensorInfo(reply, info, error)) {
    if (message.empty()) message = "PP: " + error;
    return failure == StartupResult::LinkLost ? failure : StartupResult::WrongProtocol;
  }
  if (!info.geometryValid()) {
    message = "PP gave no usable geometry (" + info.model + ")";
    return StartupResult::WrongProtocol;
  }
  request = ScipScanRequest();
  if (!settings.stepRange(info, request.firstStep, request.lastStep, message)) return StartupResult::RangeRefused;
  return startStream(session, request, message);
}

StartupResult restartScanning(ScipSession& session, const ScipScanRequest& request, std::string& message) {
  ScipReply reply;
  ScipSession::Outcome outcome = session.request(scipQuitCommand(), reply);
  if (outcome != ScipSession::Outcome::Ok) return linkFailure(outcome, "QT", session, message);
  outcome = session.request(scipPartialResetCommand(), reply);
  if (outcome != ScipSession::Outcome::Ok) return linkFailure(outcome, "RT", session, message);
  if (reply.status != "00") {
    outcome = session.request(scipResetCommand(), reply);
    if (outcome != ScipSession::Outcome::Ok) return linkFailure(outcome, "RS", session, message);
    if (reply.status != "00") {
      message = "RS answered with status " + reply.status;
      return StartupResult::SensorRefused;
    }
  }
  return startStream(session, request, message);
}
