#include <rtm/ConfigAdmin.h>

namespace RTC {

namespace {
const char* const kActiveSet = "default";
}

ConfigAdmin::ConfigAdmin(coil::Properties& properties, Logger& log)
    : m_properties(properties), m_log(log), m_changed(false) {}

bool ConfigAdmin::isExist(const char* param_name) {
  std::lock_guard<std::mutex> lock(m_mutex);
  for (const Parameter& param : m_params) {
    if (param.name == param_name) {
      return true;
    }
  }
  return false;
}

void ConfigAdmin::addParameter(const char* name, const char* def_val,
                               std::function<bool(const char*)> assign) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_params.push_back(Parameter{name, def_val, std::move(assign)});
  // The set may already hold a value for it (profile, rtc.conf, arguments).
  m_changed = true;
}

void ConfigAdmin::update() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_changed) {
    return;
  }
  m_changed = false;
  const std::string prefix = std::string("conf.") + kActiveSet + ".";
  for (const Parameter& param : m_params) {
    const std::string& text = m_properties.getProperty(prefix + param.name);
    if (text.empty()) {
      param.assign(param.default_value.c_str());
    } else if (!param.assign(text.c_str())) {
      param.assign(param.default_value.c_str());
      if (m_log.isEnabled(Logger::RTL_WARN)) {
        m_log.write(Logger::RTL_WARN, coil::sprintf("configuration %s: '%s' does not convert; using the default '%s'",
                                                    param.name.c_str(), text.c_str(),
                                                    param.default_value.c_str()));
      }
    }
  }
}

void ConfigAdmin::setParameter(const std::string& set_name, const std::string& param_name,
                               const std::string& value) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_properties["conf." + set_name + "." + param_name] = value;
  m_changed = true;
}

}  // namespace RTC
