// The base of every component: its callbacks, ports, configuration and
// logger. The manager fills in the properties and the execution context.
//
// As with the real middleware, the component object (the servant) and its
// reference are different things: execution contexts and other components
// are handed getObjRef(), never the servant itself.
#ifndef RTM_RTOBJECT_H
#define RTM_RTOBJECT_H

#include <coil/Properties.h>
#include <coil/stringutil.h>
#include <rtm/ConfigAdmin.h>
#include <rtm/InPortBase.h>
#include <rtm/OutPortBase.h>
#include <rtm/RTC.h>
#include <rtm/SystemLogger.h>

#include <memory>
#include <string>
#include <vector>

namespace RTC {

class Manager;
class ExecutionContextBase;

class RTObject_impl {
 public:
  explicit RTObject_impl(Manager* manager);
  RTObject_impl(const RTObject_impl&) = delete;
  RTObject_impl& operator=(const RTObject_impl&) = delete;
  virtual ~RTObject_impl();

  virtual ReturnCode_t onInitialize();
  virtual ReturnCode_t onFinalize();
  virtual ReturnCode_t onStartup(UniqueId exec_handle);
  virtual ReturnCode_t onShutdown(UniqueId exec_handle);
  virtual ReturnCode_t onActivated(UniqueId exec_handle);
  virtual ReturnCode_t onDeactivated(UniqueId exec_handle);
  virtual ReturnCode_t onExecute(UniqueId exec_handle);
  virtual ReturnCode_t onAborting(UniqueId exec_handle);
  virtual ReturnCode_t onError(UniqueId exec_handle);
  virtual ReturnCode_t onReset(UniqueId exec_handle);
  virtual ReturnCode_t onStateUpdate(UniqueId exec_handle);
  virtual ReturnCode_t onRateChanged(UniqueId exec_handle);

  // False when a port of that name exists already. The port's name becomes
  // "<instance name>.<name>".
  bool addInPort(const char* name, InPortBase& inport);
  bool addOutPort(const char* name, OutPortBase& outport);

  template <typename VarType>
  bool bindParameter(const char* param_name, VarType& var, const char* def_val,
                     bool (*trans)(VarType&, const char*) = coil::stringTo) {
    return m_configsets.bindParameter(param_name, var, def_val, trans);
  }

  const char* getInstanceName();
  const char* getTypeName();
  const char* getCategory();
  coil::Properties& getProperties();
  ConfigAdmin& getConfigService();
  // The component's reference; owned by the component.
  RTObject_ptr getObjRef() const;

  // The reference of the context the component owns (handle 0), which the
  // caller releases; nil for any other handle.
  ExecutionContext_ptr get_context(UniqueId exec_handle);
  // References of every port, which the caller releases.
  PortServiceList* get_ports();
  // Stops taking part in its context (onDeactivated when active,
  // onShutdown), calls onFinalize and leaves the component to the manager,
  // which deletes it at its next clean-up (Manager::cleanupComponents).
  ReturnCode_t exit();

 protected:
  Manager* m_pManager;
  coil::Properties m_properties;
  Logger rtclog;
  ConfigAdmin m_configsets;

 private:
  friend class Manager;
  friend class ExecutionContextBase;
  class Reference;

  PortBase* findPort(const std::string& name) const;
  bool addPort(const char* name, PortBase& port);

  Reference* m_objref;  // one reference of its own; callers may hold more
  ExecutionContextBase* m_ownedContext;
  std::vector<PortBase*> m_ports;
  bool m_exiting;
};

}  // namespace RTC

#endif
