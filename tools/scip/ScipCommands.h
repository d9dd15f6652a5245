// The request lines a driver sends, each ended by the line feed sensors
// expect. Scan requests are in ScipScan.h.
#ifndef STROLVEX_TOOLS_SCIP_SCIPCOMMANDS_H
#define STROLVEX_TOOLS_SCIP_SCIPCOMMANDS_H

#include <string>

// Switches a sensor still speaking SCIP 1.1 to 2.0; one already in 2.0
// answers with status "0E", which is harmless.
std::string scipSwitchTo2Command();
std::string scipVersionCommand();     // VV
std::string scipParametersCommand();  // PP
std::string scipLaserOnCommand();     // BM
std::string scipQuitCommand();        // QT: laser off, ends a scan stream
std::string scipResetCommand();       // RS: everything to defaults, timer to 0
// RT: like RS but keeping motor speed and bit rate; newer sensors only.
std::string scipPartialResetCommand();
// TM0 enters time-adjust mode, TM1 reads the timer, TM2 leaves.
std::string scipTimeCommand(int code);

// The status a sensor already in SCIP 2.0 answers the switch with.
bool scipIsAlreadyScip2(const std::string& status);

#endif
