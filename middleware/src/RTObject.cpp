#include <rtm/RTObject.h>

#include <rtm/Manager.h>

#include "ComponentCreation.h"
#include "ExecutionContextBase.h"
#include "RefCounted.h"

#include <stdexcept>

namespace RTC {

// The component's reference: what contexts, ports and tools hold, apart
// from the servant. It outlives the servant only as a reference to nothing.
class RTObject_impl::Reference : public virtual RTObject, public RefCounted {
 public:
  explicit Reference(RTObject_impl* servant) : m_servant(servant) {}
  void forget() { m_servant = nullptr; }

  ReturnCode_t exit() override { return m_servant != nullptr ? m_servant->exit() : BAD_PARAMETER; }
  ExecutionContext_ptr get_context(ExecutionContextHandle_t exec_handle) override {
    return m_servant != nullptr ? m_servant->get_context(exec_handle) : ExecutionContext::_nil();
  }
  PortServiceList* get_ports() override {
    return m_servant != nullptr ? m_servant->get_ports() : new PortServiceList;
  }

 private:
  RTObject_impl* m_servant;
};

namespace {

// A real installation cannot serve a component its manager did not make
// (it hangs or throws in the first port registration); neither does this
// one, so that such code fails at once.
Manager* madeByManager(Manager* manager) {
  if (manager == nullptr || !isCreatingComponent()) {
    throw std::logic_error("a component is made by Manager::createComponent, inside an activated manager");
  }
  return manager;
}

}  // namespace

RTObject_impl::RTObject_impl(Manager* manager)
    : m_pManager(madeByManager(manager)),
      m_configsets(m_properties, rtclog),
      m_objref(new Reference(this)),
      m_ownedContext(nullptr),
      m_exiting(false) {}

RTObject_impl::~RTObject_impl() {
  m_objref->forget();
  m_objref->_remove_ref();
}

ReturnCode_t RTObject_impl::onInitialize() { return RTC_OK; }
ReturnCode_t RTObject_impl::onFinalize() { return RTC_OK; }
ReturnCode_t RTObject_impl::onStartup(UniqueId) { return RTC_OK; }
ReturnCode_t RTObject_impl::onShutdown(UniqueId) { return RTC_OK; }
ReturnCode_t RTObject_impl::onActivated(UniqueId) { return RTC_OK; }
ReturnCode_t RTObject_impl::onDeactivated(UniqueId) { return RTC_OK; }
ReturnCode_t RTObject_impl::onExecute(UniqueId) { return RTC_OK; }
ReturnCode_t RTObject_impl::onAborting(UniqueId) { return RTC_OK; }
ReturnCode_t RTObject_impl::onError(UniqueId) { return RTC_OK; }
ReturnCode_t RTObject_impl::onReset(UniqueId) { return RTC_OK; }
ReturnCode_t RTObject_impl::onStateUpdate(UniqueId) { return RTC_OK; }
ReturnCode_t RTObject_impl::onRateChanged(UniqueId) { return RTC_OK; }

bool RTObject_impl::addPort(const char* name, PortBase& port) {
  if (name == nullptr || findPort(std::string(getInstanceName()) + "." + name) != nullptr) {
    return false;
  }
  port.setOwnerName(getInstanceName());
  m_ports.push_back(&port);
  return true;
}

bool RTObject_impl::addInPort(const char* name, InPortBase& inport) { return addPort(name, inport); }
bool RTObject_impl::addOutPort(const char* name, OutPortBase& outport) { return addPort(name, outport); }

PortBase* RTObject_impl::findPort(const std::string& name) const {
  for (PortBase* port : m_ports) {
    if (name == port->getName()) return port;
  }
  return nullptr;
}

const char* RTObject_impl::getInstanceName() { return m_properties.getProperty("instance_name").c_str(); }
const char* RTObject_impl::getTypeName() { return m_properties.getProperty("type_name").c_str(); }
const char* RTObject_impl::getCategory() { return m_properties.getProperty("category").c_str(); }
coil::Properties& RTObject_impl::getProperties() { return m_properties; }
ConfigAdmin& RTObject_impl::getConfigService() { return m_configsets; }
RTObject_ptr RTObject_impl::getObjRef() const { return m_objref; }

ExecutionContext_ptr RTObject_impl::get_context(UniqueId exec_handle) {
  if (exec_handle != 0 || m_ownedContext == nullptr) return ExecutionContext::_nil();
  return ExecutionContext::_duplicate(m_ownedContext);
}

PortServiceList* RTObject_impl::get_ports() {
  PortServiceList* ports = new PortServiceList;
  ports->length(static_cast<CORBA::ULong>(m_ports.size()));
  for (std::size_t i = 0; i < m_ports.size(); ++i) {
    (*ports)[static_cast<CORBA::ULong>(i)] = PortService::_duplicate(m_ports[i]->getPortRef());
  }
  return ports;
}

ReturnCode_t RTObject_impl::exit() {
  if (m_exiting) return RTC_OK;
  m_exiting = true;
  if (m_pManager != nullptr) m_pManager->finalizeComponent(this);
  return RTC_OK;
}

}  // namespace RTC
