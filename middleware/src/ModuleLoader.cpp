#include "ModuleLoader.h"

#include <rtm/Manager.h>

#include <coil/stringutil.h>

#include <dlfcn.h>
#include <unistd.h>

#include <vector>

namespace RTC {

namespace {

std::vector<std::string> candidatePaths(const std::string& file, const std::string& load_path) {
  std::vector<std::string> names{file};
  const std::string::size_type slash = file.rfind('/');
  const std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
  if (base.find('.') == std::string::npos) {
    names.push_back(file + ".so");
  }
  if (slash != std::string::npos) {
    return names;
  }
  std::vector<std::string> paths;
  for (const std::string& dir : coil::split(load_path, ",", true)) {
    for (const std::string& name : names) {
      paths.push_back(dir.back() == '/' ? dir + name : dir + "/" + name);
    }
  }
  return paths;
}

// "Strolvex.so" -> "StrolvexInit": what comes before the first dot, as
// the real manager derives it, so that a file given with its directory
// ("dir/Strolvex.so") fails here as it does there. Directories belong in
// manager.modules.load_path.
std::string defaultInitFunc(const std::string& file) { return file.substr(0, file.find('.')) + "Init"; }

}  // namespace

ReturnCode_t ModuleLoader::load(const std::string& file, const std::string& init_func,
                                const std::string& load_path, Manager* manager, Logger& rtclog) {
  std::string path;
  for (const std::string& candidate : candidatePaths(file, load_path)) {
    if (access(candidate.c_str(), R_OK) == 0) {
      path = candidate;
      break;
    }
  }
  if (path.empty()) {
    RTC_ERROR(("module '%s' not found in manager.modules.load_path '%s'", file.c_str(),
               load_path.c_str()));
    return BAD_PARAMETER;
  }
  const std::string symbol = init_func.empty() ? defaultInitFunc(file) : init_func;
  if (m_loaded.count(path + "(" + symbol + ")") != 0) {
    return RTC_OK;
  }
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    RTC_ERROR(("cannot load module '%s': %s", path.c_str(), dlerror()));
    return RTC_ERROR;
  }
  void* address = dlsym(handle, symbol.c_str());
  if (address == nullptr) {
    RTC_ERROR(("module '%s' has no init function '%s'", path.c_str(), symbol.c_str()));
    dlclose(handle);
    return RTC_ERROR;
  }
  // The module stays loaded for the life of the process: components and
  // factories it made may outlive any manager.
  m_loaded.insert(path + "(" + symbol + ")");
  RTC_INFO(("loaded module '%s'", path.c_str()));
  reinterpret_cast<Manager::ModuleInitProc>(address)(manager);
  return RTC_OK;
}

}  // namespace RTC

