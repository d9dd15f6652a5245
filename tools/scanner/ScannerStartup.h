// Bringing a freshly connected sensor to a scan stream: switch it to SCIP
// 2.0 if it still speaks 1.1, stop a stream an earlier session left
// running, read its version and geometry, and start continuous measurement
// of the configured steps.
#ifndef STROLVEX_TOOLS_SCANNER_SCANNERSTARTUP_H
#define STROLVEX_TOOLS_SCANNER_SCANNERSTARTUP_H

#include <string>

#include "tools/scanner/ScannerSettings.h"
#include "tools/scanner/ScipSession.h"
#include "tools/scip/ScipScan.h"
#include "tools/scip/SensorInfo.h"

enum class StartupResult {
  Streaming,      // MD accepted; scans follow
  LinkLost,       // the link closed or went silent: connect again
  WrongProtocol,  // no SCIP 2.0 answer, or a PROT other than SCIP 2.x
  SensorRefused,  // the sensor refused a request
  RangeRefused,   // the configured steps are not the sensor's
  Stopped,
};

// On Streaming, info and request describe the stream; otherwise message
// says what went wrong.
StartupResult startScanning(ScipSession& session, const ScannerSettings& settings, SensorInfo& info,
                            ScipScanRequest& request, std::string& message);

// Ends a stream and restarts it after a sensor error: QT, then RT (which
// keeps a serial line's bit rate) or, on sensors without it, RS, then MD.
StartupResult restartScanning(ScipSession& session, const ScipScanRequest& request, std::string& message);

#endif
