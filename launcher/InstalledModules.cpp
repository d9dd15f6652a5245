#include "launcher/InstalledModules.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

// The path from the installed programs' folder to the installed modules',
// fixed when the project is configured; relative, so that the installed
// tree can be moved or installed under another prefix.
#ifndef STROLVEX_MODULES_FROM_PROGRAMS
#error "STROLVEX_MODULES_FROM_PROGRAMS must name the module folder relative to the program folder"
#endif

namespace {

const char* const kLoadPath = "manager.modules.load_path";

std::string runningProgram() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<std::size_t>(length) == sizeof path) return std::string();
  return std::string(path, static_cast<std::size_t>(length));
}

bool isDirectory(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

void addModuleFolder(ManagerArguments& arguments, const std::string& folder) {
  if (!isDirectory(folder)) return;
  const std::string configured = arguments.configured(kLoadPath);
  arguments.set(kLoadPath, configured.empty() ? folder : configured + "," + folder);
}

void addInstalledModuleFolder(ManagerArguments& arguments) {
  const std::string program = runningProgram();
  if (program.empty()) return;
  const std::string programFolder = program.substr(0, program.rfind('/') + 1);
  addModuleFolder(arguments, programFolder + STROLVEX_MODULES_FROM_PROGRAMS);
}
