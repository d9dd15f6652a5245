// The emulator's command line.
#ifndef STROLVEX_TOOLS_SCIPEMULATOR_EMULATORARGUMENTS_H
#define STROLVEX_TOOLS_SCIPEMULATOR_EMULATORARGUMENTS_H

#include <string>
#include <vector>

#include "tools/scipemulator/SensorEmulator.h"

struct EmulatorArguments {
  std::string logPath;
  std::string modelName = "URG-04LX";
  std::string linkPath;  // symbolic link to the pseudo-terminal, if any
  bool pty = false;
  int tcpPort = -1;      // -1: no TCP; 0: any free port
  EmulatorSettings settings;
  bool help = false;
};

// False, with the reason in error, for a command line that does not make
// sense. Neither --link nor --tcp: a pseudo-terminal without a link.
bool parseEmulatorArguments(const std::vector<std::string>& words, EmulatorArguments& arguments,
                            std::string& error);

extern const char* const kEmulatorUsage;

#endif
