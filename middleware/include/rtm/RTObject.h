// The base of every component: its callbacks, ports, configuration and
// logger. The manager fills in the properties and the execution context.
#ifndef RTM_RTOBJECT_H
#define RTM_RTOBJECT_H

#include <coil/Properties.h>
#include <coil/stringutil.h>
#include <rtm/ConfigAdmin.h>
#include <rtm/ExecutionContext.h>
#include <rtm/InPortBase.h>
#include <rtm/OutPortBase.h>
#include <rtm/RTC.h>
#include <rtm/SystemLogger.h>

#include <string>
#include <vector>

namespace RTC {

class Manager;

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

  // False when a port of that name exists already.
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
  RTObject_impl* getObjRef();
  // 0 is the context the component owns; null for any other handle.
  ExecutionContext_ptr get_context(UniqueId ec_id);

 protected:
  Manager* m_pManager;
  coil::Properties m_properties;
  Logger rtclog;
  ConfigAdmin m_configsets;

 private:
  friend class Manager;

  template <class Port>
  struct NamedPort {
    std::string name;
    Port* port;
  };

  InPortBase* findInPort(const std::string& name) const;
  OutPortBase* findOutPort(const std::string& name) const;

  ExecutionContext* m_ownedContext;
  std::vector<NamedPort<InPortBase>> m_inports;
  std::vector<NamedPort<OutPortBase>> m_outports;
};

}  // namespace RTC

#endif
