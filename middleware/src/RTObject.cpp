#include <rtm/RTObject.h>

namespace RTC {

RTObject_impl::RTObject_impl(Manager* manager)
    : m_pManager(manager), m_configsets(m_properties, rtclog), m_ownedContext(nullptr) {}

RTObject_impl::~RTObject_impl() = default;

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

bool RTObject_impl::addInPort(const char* name, InPortBase& inport) {
  if (name == nullptr || findInPort(name) != nullptr || findOutPort(name) != nullptr) {
    return false;
  }
  inport.m_log.setName(std::string(getInstanceName()) + "." + name);
  m_inports.push_back(NamedPort<InPortBase>{name, &inport});
  return true;
}

bool RTObject_impl::addOutPort(const char* name, OutPortBase& outport) {
  if (name == nullptr || findInPort(name) != nullptr || findOutPort(name) != nullptr) {
    return false;
  }
  m_outports.push_back(NamedPort<OutPortBase>{name, &outport});
  return true;
}

InPortBase* RTObject_impl::findInPort(const std::string& name) const {
  for (const auto& entry : m_inports) {
    if (entry.name == name) {
      return entry.port;
    }
  }
  return nullptr;
}

OutPortBase* RTObject_impl::findOutPort(const std::string& name) const {
  for (const auto& entry : m_outports) {
    if (entry.name == name) {
      return entry.port;
    }
  }
  return nullptr;
}

const char* RTObject_impl::getInstanceName() { return m_properties.getProperty("instance_name").c_str(); }
const char* RTObject_impl::getTypeName() { return m_properties.getProperty("type_name").c_str(); }
const char* RTObject_impl::getCategory() { return m_properties.getProperty("category").c_str(); }
coil::Properties& RTObject_impl::getProperties() { return m_properties; }
ConfigAdmin& RTObject_impl::getConfigService() { return m_configsets; }
RTObject_impl* RTObject_impl::getObjRef() { return this; }

ExecutionContext_ptr RTObject_impl::get_context(UniqueId ec_id) {
  return ec_id == 0 ? m_ownedContext : nullptr;
}

}  // namespace RTC
