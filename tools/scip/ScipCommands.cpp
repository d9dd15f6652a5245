#include "tools/scip/ScipCommands.h"

#include <string>

std::string scipSwitchTo2Command() { return "SCIP2.0\n"; }
std::string scipVersionCommand() { return "VV\n"; }
std::string scipParametersCommand() { return "PP\n"; }
std::string scipLaserOnCommand() { return "BM\n"; }
std::string scipQuitCommand() { return "QT\n"; }
std::string scipResetCommand() { return "RS\n"; }
std::string scipPartialResetCommand() { return "RT\n"; }

std::string scipTimeCommand(int code) { return "TM" + std::to_string(code) + "\n"; }

bool scipIsAlreadyScip2(const std::string& status) { return status == "0E"; }
