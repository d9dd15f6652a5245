// A SCIP 2.0 sensor without the wires: commands in, reply bytes out, scans
// of a scan log sent at their time. The caller owns the clock (host ms) and
// the connection, so tests drive it without a device.
#ifndef STROLVEX_TOOLS_SCIPEMULATOR_SENSOREMULATOR_H
#define STROLVEX_TOOLS_SCIPEMULATOR_SENSOREMULATOR_H

#include <cstdint>
#include <string>
#include <vector>

#include "tools/scanlog/ScanLog.h"
#include "tools/scip/ScipScan.h"
#include "tools/scipemulator/ScipModel.h"

struct EmulatorSettings {
  double rate = 1.0;  // pace relative to the log's time stamps
  bool loop = false;  // start the log over after its last scan
  // Faults; 0 = never. Counts are of scans sent: in total for
  // badChecksumEvery, garbageEvery and errorStatusAfter, on the current
  // connection for dropAfter and silenceAfter.
  int badChecksumEvery = 0;  // every Nth scan has a wrong sum on a data line
  int garbageEvery = 0;      // every Nth scan is replaced by garbage bytes,
                             // and every other time by its first half only
  int dropAfter = 0;         // the connection is dropped after N scans
  int errorStatusAfter = 0;  // once: after N scans, an error status ends the
                             // stream; scans are refused until RS/RT
  int silenceAfter = 0;      // after N scans, nothing more on this connection
};

class SensorEmulator {
 public:
  // The status of the in-stream error the emulator reports.
  static const char* const kErrorStatus;

  SensorEmulator(const ScipModel& model, std::vector<ScanRecord> log, const EmulatorSettings& settings);

  // A host connected (or opened the device anew): the sensor is as after
  // power-up, timer at 0, laser off.
  void connect(int64_t nowMs);
  // Bytes from the host; commands end with LF, CR or CR LF.
  void receive(const char* data, std::size_t size, int64_t nowMs);
  // Sends the scans due by nowMs.
  void advance(int64_t nowMs);
  // The bytes to send since the last call.
  std::string takeOutput();

  // When the next scan is due (host ms), or -1 if none is.
  int64_t nextDueMs() const;
  // The connection should be closed now (--drop-after).
  bool dropWanted() const { return dropWanted_; }
  int scansSent() const { return scansSent_; }
  // Every scan of a log not looped has been sent.
  bool logFinished() const { return !settings_.loop && next_ >= log_.size(); }

 private:
  void command(const std::string& line, int64_t nowMs);
  void reply(const std::string& echo, const std::string& status,
             const std::vector<std::string>& payload = std::vector<std::string>());
  void startScans(const std::string& echo, const std::string& params, char kind, int64_t nowMs);
  void singleScan(const std::string& echo, const std::string& params, char kind, int64_t nowMs);
  // The status a scan request gets: "00", or what is wrong with it.
  std::string checkScanRequest(const std::string& params, bool continuous, ScipScanRequest& request) const;
  std::vector<uint32_t> encodeValues(const ScanRecord& scan, const ScipScanRequest& request) const;
  uint32_t timer(int64_t atMs) const;
  void sendFrame();
  void corruptFrame(std::string& frame);

  ScipModel model_;
  std::vector<ScanRecord> log_;
  EmulatorSettings settings_;

  std::string input_;
  std::string output_;
  int64_t timerZeroMs_ = 0;
  bool laserOn_ = false;
  bool timeAdjust_ = false;
  bool failed_ = false;  // after the in-stream error, until RS/RT
  bool errorDone_ = false;
  bool silent_ = false;
  bool dropWanted_ = false;

  bool streaming_ = false;
  ScipScanRequest request_;
  std::string echo_;
  int left_ = 0;  // scans still to send when request_.scans > 0
  std::size_t next_ = 0;  // log scan sent next
  double dueMs_ = 0.0;
  int scansSent_ = 0;
  int connectionScans_ = 0;
  int broken_ = 0;  // scans replaced by garbage so far
};

#endif
