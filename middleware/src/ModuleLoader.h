// Loads component modules with dlopen and calls their init function.
#ifndef MIDDLEWARE_SRC_MODULELOADER_H
#define MIDDLEWARE_SRC_MODULELOADER_H

#include <rtm/RTC.h>
#include <rtm/SystemLogger.h>

#include <set>
#include <string>

namespace RTC {

class Manager;

class ModuleLoader {
 public:
  // file is looked up in each directory of load_path (comma list) unless it
  // holds a '/', with ".so" appended when it has no suffix. Calling the same
  // init function of the same file twice does nothing the second time.
  // BAD_PARAMETER when the file is not found, RTC_ERROR when it does not
  // load or lacks the init function.
  ReturnCode_t load(const std::string& file, const std::string& init_func,
                    const std::string& load_path, Manager* manager, Logger& rtclog);

 private:
  std::set<std::string> m_loaded;
};

}  // namespace RTC

#endif
