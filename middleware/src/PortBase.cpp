#include <rtm/PortBase.h>

#include "PortConnections.h"

#include <rtm/InPortBase.h>
#include <rtm/NVUtil.h>
#include <rtm/OutPortBase.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace RTC {

namespace {

const std::size_t kDefaultBufferLength = 8;

PortBase* servantOf(PortService_ptr port) {
  return CORBA::is_nil(port) ? nullptr : dynamic_cast<PortBase*>(port);
}

std::string newConnectorId() {
  static std::atomic<unsigned long> next{1};
  return "connector" + std::to_string(next++);
}

// Why the profile's properties cannot be served; empty when they can.
std::string unsupportedProperty(const SDOPackage::NVList& properties) {
  const std::string flow = NVUtil::toString(properties, "dataport.dataflow_type");
  if (!flow.empty() && flow != "push") {
    return "dataport.dataflow_type '" + flow + "' (the built-in runtime has push only)";
  }
  const std::string interface = NVUtil::toString(properties, "dataport.interface_type");
  if (!interface.empty() && interface != "corba_cdr" && interface != "direct" &&
      interface != "shared_memory") {
    return "dataport.interface_type '" + interface + "'";
  }
  const std::string subscription = NVUtil::toString(properties, "dataport.subscription_type");
  if (!subscription.empty() && subscription != "flush" && subscription != "new" &&
      subscription != "periodic") {
    return "dataport.subscription_type '" + subscription + "'";
  }
  return std::string();
}

}  // namespace

PortBase::PortBase(const char* name, const char* data_type, const char* port_type)
    : rtclog(name != nullptr ? name : ""),
      m_name(name != nullptr ? name : ""),
      m_dataType(data_type),
      m_portType(port_type) {}

PortBase::~PortBase() { disconnect_all(); }

void PortBase::setOwnerName(const std::string& instance_name) {
  m_name = instance_name + "." + m_name;
  rtclog.setName(m_name);
}

PortProfile* PortBase::get_port_profile() {
  PortProfile* profile = new PortProfile;
  profile->name = CORBA::string_dup(m_name.c_str());
  profile->port_ref = PortService::_duplicate(this);
  profile->properties.length(2);
  profile->properties[0] = NVUtil::newNV("port.port_type", m_portType);
  profile->properties[1] = NVUtil::newNV("dataport.data_type", m_dataType.c_str());
  std::lock_guard<std::mutex> lock(portConnectionMutex());
  profile->connector_profiles.length(static_cast<CORBA::ULong>(m_connections.size()));
  for (std::size_t i = 0; i < m_connections.size(); ++i) {
    profile->connector_profiles[static_cast<CORBA::ULong>(i)] = m_connections[i]->profile;
  }
  return profile;
}

ReturnCode_t PortBase::connect(ConnectorProfile& connector_profile) {
  if (connector_profile.ports.length() != 2) {
    RTC_ERROR(("connect: a data connection joins two ports, not %u",
               static_cast<unsigned>(connector_profile.ports.length())));
    return BAD_PARAMETER;
  }
  PortBase* first = servantOf(connector_profile.ports[0]);
  PortBase* second = servantOf(connector_profile.ports[1]);
  OutPortBase* out = dynamic_cast<OutPortBase*>(first);
  InPortBase* in = dynamic_cast<InPortBase*>(second);
  if (out == nullptr || in == nullptr) {
    out = dynamic_cast<OutPortBase*>(second);
    in = dynamic_cast<InPortBase*>(first);
  }
  if (out == nullptr || in == nullptr || (this != out && this != in)) {
    RTC_ERROR(("connect: the profile must name this port and join an out-port to an in-port"));
    return BAD_PARAMETER;
  }
  if (out->m_dataType != in->m_dataType) {
    RTC_ERROR(("connect %s -> %s: the data types differ", out->getName(), in->getName()));
    return BAD_PARAMETER;
  }
  const std::string unsupported = unsupportedProperty(connector_profile.properties);
  if (!unsupported.empty()) {
    RTC_ERROR(("connect %s -> %s: unsupported %s", out->getName(), in->getName(),
               unsupported.c_str()));
    return BAD_PARAMETER;
  }
  const std::string lengthText = NVUtil::toString(connector_profile.properties, "dataport.buffer.length");
  const long length = lengthText.empty() ? 0 : std::strtol(lengthText.c_str(), nullptr, 10);

  if (std::string(connector_profile.connector_id).empty()) {
    connector_profile.connector_id = CORBA::string_dup(newConnectorId().c_str());
  }
  auto connection = std::make_shared<Connection>(Connection{connector_profile, out, in});
  std::lock_guard<std::mutex> lock(portConnectionMutex());
  // A connection without a length counts as the default one.
  const std::size_t wanted = length > 0 ? static_cast<std::size_t>(length) : kDefaultBufferLength;
  in->m_bufferLength = in->m_connections.empty() ? wanted : std::max(in->m_bufferLength, wanted);
  out->m_connections.push_back(connection);
  in->m_connections.push_back(connection);
  RTC_DEBUG(("connected %s -> %s as %s", out->getName(), in->getName(),
             static_cast<const char*>(connector_profile.connector_id)));
  return RTC_OK;
}

ReturnCode_t PortBase::disconnect(const char* connector_id) {
  std::lock_guard<std::mutex> lock(portConnectionMutex());
  const auto it = std::find_if(m_connections.begin(), m_connections.end(), [connector_id](const ConnectionPtr& c) {
    return connector_id != nullptr && std::string(c->profile.connector_id) == connector_id;
  });
  if (it == m_connections.end()) {
    return BAD_PARAMETER;
  }
  const ConnectionPtr connection = *it;
  for (PortBase* end : {static_cast<PortBase*>(connection->out), static_cast<PortBase*>(connection->in)}) {
    auto& list = end->m_connections;
    list.erase(std::remove(list.begin(), list.end(), connection), list.end());
  }
  return RTC_OK;
}

ReturnCode_t PortBase::disconnect_all() {
  std::vector<std::string> ids;
  {
    std::lock_guard<std::mutex> lock(portConnectionMutex());
    for (const ConnectionPtr& connection : m_connections) {
      ids.push_back(static_cast<const char*>(connection->profile.connector_id));
    }
  }
  for (const std::string& id : ids) {
    disconnect(id.c_str());
  }
  return RTC_OK;
}

std::mutex& portConnectionMutex() {
  static std::mutex* const mutex = new std::mutex;  // outlives static ports
  return *mutex;
}

OutPortBase::OutPortBase(const char* name, const char* data_type)
    : PortBase(name, data_type, "DataOutPort") {}

bool OutPortBase::deliver(const void* sample) {
  std::lock_guard<std::mutex> lock(portConnectionMutex());
  for (const ConnectionPtr& connection : m_connections) {
    connection->in->receive(sample);
  }
  return !m_connections.empty();
}

InPortBase::InPortBase(const char* name, const char* data_type)
    : PortBase(name, data_type, "DataInPort"), m_bufferLength(kDefaultBufferLength) {}

void InPortBase::reportDrop(unsigned long dropped) {
  // Every drop is counted, but a port that stays full logs at powers of two
  // rather than once a cycle.
  if ((dropped & (dropped - 1)) == 0 && rtclog.isEnabled(Logger::RTL_WARN)) {
    rtclog.write(Logger::RTL_WARN,
                coil::sprintf("buffer full: dropped the oldest sample (%lu dropped so far)", dropped));
  }
}

}  // namespace RTC
