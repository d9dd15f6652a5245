// Binds component variables to configuration parameters. Parameters live in
// the component's properties under "conf.<set>.<name>"; the active set is
// "default" until another is activated. Bound variables follow the active
// set whenever update() runs after a change.
#ifndef RTM_CONFIGADMIN_H
#define RTM_CONFIGADMIN_H

#include <coil/Properties.h>
#include <coil/stringutil.h>
#include <rtm/SystemLogger.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace RTC {

class ConfigAdmin {
 public:
  ConfigAdmin(coil::Properties& properties, Logger& log);
  ConfigAdmin(const ConfigAdmin&) = delete;
  ConfigAdmin& operator=(const ConfigAdmin&) = delete;

  // Sets var from def_val at once; false when the name is taken or def_val
  // does not convert.
  template <typename VarType>
  bool bindParameter(const char* param_name, VarType& var, const char* def_val,
                     bool (*trans)(VarType&, const char*) = coil::stringTo) {
    if (param_name == nullptr || def_val == nullptr || trans == nullptr ||
        isExist(param_name) || !trans(var, def_val)) {
      return false;
    }
    addParameter(param_name, def_val,
                 [&var, trans](const char* text) { return trans(var, text); });
    return true;
  }

  bool isExist(const char* param_name);

  // Refreshes every bound variable from the active set when something
  // changed since the last refresh. A missing or unconvertible value gives
  // the variable its default.
  void update();

  // Stores the values of the set named by configuration_set's name (its
  // children are "param: value"); no set is active until one is activated
  // again. False for a nameless set.
  bool setConfigurationSetValues(const coil::Properties& configuration_set);
  // Makes the set active; the next update() applies it. False for a set
  // that does not exist or whose name starts with '_'.
  bool activateConfigurationSet(const char* config_id);
  const char* getActiveId();

 private:
  struct Parameter {
    std::string name;
    std::string default_value;
    std::function<bool(const char*)> assign;
  };

  void addParameter(const char* name, const char* def_val,
                    std::function<bool(const char*)> assign);

  coil::Properties& m_properties;
  Logger& m_log;
  std::mutex m_mutex;
  std::vector<Parameter> m_params;
  std::string m_activeId;
  bool m_active;
  bool m_changed;
};

}  // namespace RTC

#endif
