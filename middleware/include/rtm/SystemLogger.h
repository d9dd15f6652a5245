// Logging to logger.file_name (default ./rtc<pid>.log, as with the real
// middleware; "stderr" and "stdout" name those streams), one line per
// message with the level and the name of its source. The level and
// destination are process-wide and come from the manager's configuration.
#ifndef RTM_SYSTEMLOGGER_H
#define RTM_SYSTEMLOGGER_H

#include <coil/Properties.h>
#include <coil/stringutil.h>

#include <string>

namespace RTC {

class Logger {
 public:
  enum LogLevel {
    RTL_SILENT,
    RTL_FATAL,
    RTL_ERROR,
    RTL_WARN,
    RTL_INFO,
    RTL_DEBUG,
    RTL_TRACE,
    RTL_VERBOSE,
    RTL_PARANOID
  };

  explicit Logger(const std::string& name = std::string());

  void setName(const std::string& name) { m_name = name; }
  bool isEnabled(int level) const;
  void write(int level, const std::string& message);

  // Applies logger.enable, logger.log_level and logger.file_name; false
  // when the file cannot be opened or the level is unknown.
  static bool configure(const coil::Properties& config);

 private:
  std::string m_name;
};

}  // namespace RTC

#define RTC_LOG(level, fmt)                               \
  do {                                                    \
    if (rtclog.isEnabled(level)) {                        \
      rtclog.write(level, ::coil::sprintf fmt);           \
    }                                                     \
  } while (0)

#define RTC_FATAL(fmt) RTC_LOG(::RTC::Logger::RTL_FATAL, fmt)
#define RTC_ERROR(fmt) RTC_LOG(::RTC::Logger::RTL_ERROR, fmt)
#define RTC_WARN(fmt) RTC_LOG(::RTC::Logger::RTL_WARN, fmt)
#define RTC_INFO(fmt) RTC_LOG(::RTC::Logger::RTL_INFO, fmt)
#define RTC_DEBUG(fmt) RTC_LOG(::RTC::Logger::RTL_DEBUG, fmt)
#define RTC_TRACE(fmt) RTC_LOG(::RTC::Logger::RTL_TRACE, fmt)

#endif
