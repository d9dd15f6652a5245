#include <rtm/SystemLogger.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <sys/time.h>
#include <unistd.h>

namespace RTC {

namespace {

const char* const kLevelNames[] = {"SILENT", "FATAL", "ERROR", "WARN",    "INFO",
                                   "DEBUG",  "TRACE", "VERBOSE", "PARANOID"};

// One destination and one level for the whole process.
struct Sink {
  std::mutex mutex;
  std::FILE* file = nullptr;  // null means stderr
  int level = Logger::RTL_INFO;
};

Sink& sink() {
  static Sink* const instance = new Sink;  // outlives every static logger
  return *instance;
}

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

int levelFromName(const std::string& name) {
  const std::string wanted = upper(name);
  for (int level = Logger::RTL_SILENT; level <= Logger::RTL_PARANOID; ++level) {
    if (wanted == kLevelNames[level]) {
      return level;
    }
  }
  return -1;
}

}  // namespace

Logger::Logger(const std::string& name) : m_name(name) {}

bool Logger::isEnabled(int level) const {
  Sink& out = sink();
  std::lock_guard<std::mutex> lock(out.mutex);
  return level > RTL_SILENT && level <= out.level;
}

void Logger::write(int level, const std::string& message) {
  timeval now;
  gettimeofday(&now, nullptr);
  const std::time_t seconds = now.tv_sec;
  std::tm local;
  localtime_r(&seconds, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%b %d %H:%M:%S", &local);
  const int clamped = std::max(static_cast<int>(RTL_FATAL), std::min(level, static_cast<int>(RTL_PARANOID)));

  Sink& out = sink();
  std::lock_guard<std::mutex> lock(out.mutex);
  std::FILE* file = out.file != nullptr ? out.file : stderr;
  std::fprintf(file, "%s.%03ld %s: %s: %s\n", stamp, static_cast<long>(now.tv_usec / 1000),
               kLevelNames[clamped], m_name.c_str(), message.c_str());
  std::fflush(file);
}

bool Logger::configure(const coil::Properties& config) {
  Sink& out = sink();
  std::lock_guard<std::mutex> lock(out.mutex);
  if (out.file != nullptr && out.file != stdout) {
    std::fclose(out.file);
  }
  out.file = nullptr;
  const std::string enable = upper(config.getProperty("logger.enable", "YES"));
  if (enable == "NO" || enable == "FALSE") {
    out.level = RTL_SILENT;
    return true;
  }
  bool ok = true;
  const std::string levelName = config.getProperty("logger.log_level", "INFO");
  const int level = levelFromName(levelName);
  out.level = level < 0 ? static_cast<int>(RTL_INFO) : level;
  if (level < 0) {
    std::fprintf(stderr, "logger.log_level '%s' is unknown; logging at INFO\n", levelName.c_str());
    ok = false;
  }
  // "%p" stands for the process id, as in the default ./rtc%p.log.
  std::string fileName = config.getProperty("logger.file_name");
  for (std::string::size_type at = fileName.find("%p"); at != std::string::npos;
       at = fileName.find("%p", at)) {
    fileName.replace(at, 2, std::to_string(getpid()));
  }
  if (fileName == "stdout") {
    out.file = stdout;
  } else if (!fileName.empty() && fileName != "stderr") {
    out.file = std::fopen(fileName.c_str(), "a");
    if (out.file == nullptr) {
      std::fprintf(stderr, "cannot open logger.file_name '%s'; logging to stderr\n", fileName.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace RTC
