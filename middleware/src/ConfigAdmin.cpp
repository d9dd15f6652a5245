#include <rtm/ConfigAdmin.h>

namespace RTC {

ConfigAdmin::ConfigAdmin(coil::Properties& properties, Logger& log)
    : m_properties(properties), m_log(log), m_activeId("default"), m_active(true), m_changed(false) {}

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
  if (!m_changed || !m_active) {
    return;
  }
  m_changed = false;
  const std::string prefix = "conf." + m_activeId + ".";
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

bool ConfigAdmin::setConfigurationSetValues(const coil::Properties& configuration_set) {
  const std::string& name = configuration_set.getName();
  if (name.empty()) {
    return false;
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  m_properties.getNode("conf." + name) << configuration_set;
  m_changed = true;
  m_active = false;
  return true;
}

bool ConfigAdmin::activateConfigurationSet(const char* config_id) {
  if (config_id == nullptr || config_id[0] == '_' || config_id[0] == '\0') {
    return false;
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  const coil::Properties* sets = m_properties.findNode("conf");
  if (sets == nullptr || sets->hasKey(config_id) == nullptr) {
    return false;
  }
  m_activeId = config_id;
  m_active = true;
  m_changed = true;
  return true;
}

const char* ConfigAdmin::getActiveId() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_activeId.c_str();
}

}  // namespace RTC
