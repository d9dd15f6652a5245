// The process-wide manager: reads the configuration, loads modules, creates
// and connects components and shuts them down in order.
#ifndef RTM_MANAGER_H
#define RTM_MANAGER_H

#include <coil/Properties.h>
#include <rtm/Factory.h>
#include <rtm/RTC.h>
#include <rtm/RTObject.h>
#include <rtm/SystemLogger.h>

#include <memory>
#include <string>
#include <vector>

namespace RTC {

class Manager {
 public:
  typedef void (*ModuleInitProc)(Manager* manager);
  typedef RTObject_impl RtcBase;

  // Options: -f FILE, -o KEY:VALUE (repeatable), -l MODULE, -h. Without -f,
  // ./rtc.conf is read when present. A bad option or an unreadable file
  // ends the process with status 1. Returns the existing manager when one
  // is running.
  static Manager* init(int argc, char** argv);
  // The running manager; one with the default configuration if none runs.
  static Manager& instance();

  Manager(const Manager&) = delete;
  Manager& operator=(const Manager&) = delete;
  ~Manager();

  void setModuleInitProc(ModuleInitProc proc);
  // Preloads modules, calls the module-init procedure, then precreates,
  // preconnects and preactivates components; stops at the first failure.
  bool activateManager();
  // Without no_block, returns after SIGINT, SIGTERM or terminate() has shut
  // the manager down; with it, returns at once and shutdown happens on a
  // thread of its own (join() waits for it).
  void runManager(bool no_block = false);

  // False when the type (profile "type_name") is already registered.
  bool registerFactory(coil::Properties& profile, RtcNewFunc new_func,
                       RtcDeleteFunc delete_func);
  // "Type" or "Type?key=value&key2=value2"; null on failure.
  RTObject_impl* createComponent(const char* comp_args);
  RTObject_impl* getComponent(const char* instance_name);
  std::vector<RTObject_impl*> getComponents();
  void deleteComponent(const char* instance_name);
  coil::Properties& getConfig();

  // Loads a module and calls its init function; an empty init_func means
  // the file's base name up to the first dot followed by "Init".
  ReturnCode_t load(const std::string& file_name, const std::string& init_func);

  void terminate();
  void shutdown();
  void join();

  // Built-in runtime only: connects "Instance.port" names, out to in.
  bool connectPorts(const std::string& out_port, const std::string& in_port);

 private:
  struct State;
  struct ComponentEntry;

  explicit Manager(const coil::Properties& config);

  bool preloadModules();
  bool precreateComponents();
  bool preconnectComponents();
  bool preactivateComponents();
  bool connectEitherWay(const std::string& first, const std::string& second);
  bool configureComponent(coil::Properties& props, const std::string& args);
  bool mergeConfigFile(coil::Properties& props, const std::string& key);
  void finalizeComponent(ComponentEntry& entry);
  void startWatcher();

  std::unique_ptr<State> m_state;
  Logger rtclog;
};

}  // namespace RTC

#endif
