#include "launcher/ManagerArguments.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <unistd.h>

namespace {

const char* const kSearchPath[] = {"./rtc.conf", "/etc/rtc.conf", "/etc/rtc/rtc.conf",
                                   "/usr/local/etc/rtc.conf", "/usr/local/etc/rtc/rtc.conf"};

std::string trimmed(const std::string& text) {
  const std::string::size_type first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The file the manager reads when no -f names one; empty when none exists.
std::string searchedConfigFile() {
  const char* env = std::getenv("RTC_MANAGER_CONFIG");
  if (env != nullptr && access(env, F_OK) == 0) return env;
  for (const char* path : kSearchPath) {
    if (access(path, F_OK) == 0) return path;
  }
  return std::string();
}

}  // namespace

bool ManagerArguments::parse(const std::vector<std::string>& args, Servant servant,
                             std::string& error) {
  std::string file;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") {
      m_help = true;
      continue;
    }
    if (arg.size() < 2 || arg[0] != '-') {
      m_operands.push_back(arg);
      continue;
    }
    const char option = arg[1];
    const bool servantOption = option == 'a' || option == 'd' || option == 'p';
    if ((option != 'f' && option != 'o' && !servantOption) ||
        (servantOption && servant == kNoServantOptions) ||
        ((option == 'a' || option == 'd') && arg.size() > 2)) {
      error = "unknown option '" + arg + "'";
      return false;
    }
    if (option == 'a' || option == 'd') {
      m_options.push_back(arg);
      continue;
    }
    std::string value = arg.substr(2);
    if (value.empty()) {
      if (i + 1 == args.size()) {
        error = "option " + arg + " needs a value";
        return false;
      }
      value = args[++i];
    }
    if (option == 'o') {
      const std::string::size_type colon = value.find(':');
      if (colon == std::string::npos || trimmed(value.substr(0, colon)).empty()) {
        error = "option -o needs KEY:VALUE, not '" + value + "'";
        return false;
      }
      m_overrides.push_back({trimmed(value.substr(0, colon)), trimmed(value.substr(colon + 1))});
    } else if (option == 'f') {
      file = value;
    }
    m_options.push_back(std::string("-") + option);
    m_options.push_back(value);
  }

  const std::string read = file.empty() ? searchedConfigFile() : file;
  if (read.empty()) return true;
  std::ifstream in(read);
  if (!in) {
    error = "cannot read configuration file '" + read + "': " + std::strerror(errno);
    return false;
  }
  for (std::string line; std::getline(in, line);) {
    line = trimmed(line.substr(0, line.find('#')));
    const std::string::size_type separator = line.find_first_of(":=");
    if (separator == std::string::npos) continue;
    m_fileSettings.push_back({trimmed(line.substr(0, separator)), trimmed(line.substr(separator + 1))});
  }
  return true;
}

const ManagerArguments::Setting* ManagerArguments::find(const std::string& key) const {
  for (const std::vector<Setting>* source : {&m_ours, &m_overrides, &m_fileSettings}) {
    for (auto it = source->rbegin(); it != source->rend(); ++it) {
      if (it->key == key) return &*it;
    }
  }
  return nullptr;
}

std::string ManagerArguments::configured(const std::string& key) const {
  const Setting* setting = find(key);
  return setting != nullptr ? setting->value : std::string();
}

bool ManagerArguments::isConfigured(const std::string& key) const { return find(key) != nullptr; }

void ManagerArguments::set(const std::string& key, const std::string& value) {
  m_ours.push_back({key, value});
}

void ManagerArguments::setDefault(const std::string& key, const std::string& value) {
  if (!isConfigured(key)) set(key, value);
}

std::vector<char*> ManagerArguments::managerArgv(const std::string& program) {
  m_argvStorage.assign(1, program);
  m_argvStorage.insert(m_argvStorage.end(), m_options.begin(), m_options.end());
  for (const Setting& setting : m_ours) {
    m_argvStorage.push_back("-o");
    m_argvStorage.push_back(setting.key + ":" + setting.value);
  }
  std::vector<char*> argv;
  for (std::string& arg : m_argvStorage) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  return argv;
}
