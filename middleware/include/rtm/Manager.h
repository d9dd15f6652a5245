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

  // Reads the command line (see the README's manager options) and the
  // configuration. Returns the existing manager when one is running; once
  // a manager has shut down, the next init makes a new one.
  static Manager* init(int argc, char** argv);
  // The running manager; one with the default configuration if none runs.
  static Manager& instance();

  Manager(const Manager&) = delete;
  Manager& operator=(const Manager&) = delete;
  ~Manager();

  void setModuleInitProc(ModuleInitProc proc);
  // Preloads modules, calls the module-init procedure, then precreates,
  // preconnects and preactivates components. A failed step is logged and
  // the later ones still run; false when any failed.
  bool activateManager();
  // Without no_block, returns once the manager has shut down (SIGINT or
  // terminate()); with it, returns at once and join() waits for the end.
  void runManager(bool no_block = false);

  // False when the type (profile "type_name") is already registered.
  bool registerFactory(coil::Properties& profile, RtcNewFunc new_func,
                       RtcDeleteFunc delete_func);
  // "Type" or "Type?key=value&key2=value2"; null on failure.
  RTObject_impl* createComponent(const char* comp_args);
  RTObject_impl* getComponent(const char* instance_name);
  std::vector<RTObject_impl*> getComponents();
  // Finalizes the component and deletes it at once.
  void deleteComponent(const char* instance_name);
  // Deletes the components that have exited (RTObject_impl::exit()).
  void cleanupComponents();
  coil::Properties& getConfig();

  // Loads a module and calls its init function; an empty init_func means
  // the file's base name up to the first dot followed by "Init".
  ReturnCode_t load(const std::string& file_name, const std::string& init_func);

  // Asks a running manager to shut down; join() waits until it has.
  void terminate();
  void join();

 protected:
  // Finalizes every component and ends the manager. Not for callers, as
  // in the 2.x middleware (1.x's would wait forever in join() without
  // runManager): terminate() and join() end a running manager.
  void shutdown();

 private:
  struct State;
  struct ComponentEntry;
  friend class RTObject_impl;

  explicit Manager(const coil::Properties& config);

  bool preloadModules();
  bool precreateComponents();
  bool preconnectComponents();
  bool preactivateComponents();
  bool connectPorts(const std::string& first, const std::string& second, const std::string& entry);
  bool configureComponent(coil::Properties& props, const std::string& args);
  bool mergeConfigFile(coil::Properties& props, const std::string& key);
  // The first half of a component's end: out of the list, context
  // stopped, onFinalize. The factory's delete follows at clean-up.
  void finalizeComponent(RTObject_impl* comp);
  void finalizeEntry(ComponentEntry& entry);
  void destroyEntry(ComponentEntry& entry);
  void startWatcher();

  std::unique_ptr<State> m_state;
  Logger rtclog;
};

}  // namespace RTC

#endif
