// The manager's component side: factories, creation with the merged
// configuration, connection and orderly deletion.
#include <rtm/Manager.h>

#include "ComponentCreation.h"
#include "ConfigFile.h"
#include "ExtTrigExecutionContext.h"
#include "ManagerState.h"
#include "PeriodicExecutionContext.h"

#include <coil/stringutil.h>
#include <rtm/CORBA_SeqUtil.h>
#include <rtm/NVUtil.h>

#include <algorithm>
#include <cmath>
#include <exception>

namespace RTC {

namespace {

// Slower rates overflow the context's period in nanoseconds.
const double kMinimumRateHz = 0.001;

thread_local bool t_creating = false;

// Copies every key of source found under prefix into props, without the
// prefix.
void mergeSubtree(coil::Properties& props, const coil::Properties& source, const std::string& prefix) {
  const coil::Properties* node = source.findNode(prefix);
  if (node != nullptr) {
    props << *node;
  }
}

bool parseComponentArgs(const std::string& args, std::string& type, coil::Properties& params) {
  const std::string::size_type query = args.find('?');
  type = args.substr(0, query);
  coil::eraseBothEndsBlank(type);
  if (query == std::string::npos) {
    return !type.empty();
  }
  for (const std::string& param : coil::split(args.substr(query + 1), "&", true)) {
    const std::string::size_type equals = param.find('=');
    if (equals == std::string::npos || equals == 0) {
      return false;
    }
    std::string key = param.substr(0, equals);
    std::string value = param.substr(equals + 1);
    coil::eraseBothEndsBlank(key);
    coil::eraseBothEndsBlank(value);
    params[key] = value;
  }
  return !type.empty();
}

}  // namespace

bool isCreatingComponent() { return t_creating; }

ComponentCreation::ComponentCreation() : m_outer(t_creating) { t_creating = true; }
ComponentCreation::~ComponentCreation() { t_creating = m_outer; }

bool Manager::registerFactory(coil::Properties& profile, RtcNewFunc new_func, RtcDeleteFunc delete_func) {
  const std::string type = profile.getProperty("type_name");
  if (type.empty() || new_func == nullptr || delete_func == nullptr) {
    RTC_ERROR(("registerFactory: the profile needs a type_name and both functions"));
    return false;
  }
  // OpenRTM-aist 2.1 recurses without end creating a component whose
  // category is empty; a profile that would work here only is refused.
  if (profile.getProperty("category").empty()) {
    RTC_ERROR(("registerFactory: the profile of %s has no category", type.c_str()));
    return false;
  }
  std::lock_guard<std::mutex> lock(m_state->mutex);
  if (!m_state->factories.emplace(type, State::Factory{profile, new_func, delete_func}).second) {
    RTC_WARN(("registerFactory: %s is already registered", type.c_str()));
    return false;
  }
  RTC_DEBUG(("registered the factory of %s", type.c_str()));
  return true;
}

bool Manager::mergeConfigFile(coil::Properties& props, const std::string& key) {
  const std::string& path = m_state->config.getProperty(key);
  if (path.empty()) {
    return true;
  }
  std::string error;
  if (!loadConfigFile(path, props, error)) {
    RTC_ERROR(("%s (%s)", error.c_str(), key.c_str()));
    return false;
  }
  return true;
}

// Later wins: profile, global execution-context keys, the creation
// arguments, the type's file and keys, the instance's file and keys.
bool Manager::configureComponent(coil::Properties& props, const std::string& args) {
  std::string type;
  coil::Properties params;
  if (!parseComponentArgs(args, type, params)) {
    RTC_ERROR(("createComponent: malformed arguments '%s'", args.c_str()));
    return false;
  }
  std::lock_guard<std::mutex> lock(m_state->mutex);
  if (m_state->closed) {
    RTC_ERROR(("createComponent: the manager is shutting down; '%s' is not created", args.c_str()));
    return false;
  }
  if (!m_state->activated) {
    RTC_ERROR(("createComponent: '%s' is not created before activateManager", args.c_str()));
    return false;
  }
  const auto factory = m_state->factories.find(type);
  if (factory == m_state->factories.end()) {
    RTC_ERROR(("createComponent: no factory for the type '%s'", type.c_str()));
    return false;
  }
  props << factory->second.profile;
  props["type_name"] = type;
  mergeSubtree(props.getNode("exec_cxt"), m_state->config, "exec_cxt");
  props << params;

  const auto nameTaken = [this](const std::string& name) {
    return std::any_of(m_state->components.begin(), m_state->components.end(),
                       [&name](const State::Component& c) { return name == c.object->getInstanceName(); });
  };
  std::string instanceName = params.getProperty("instance_name");
  if (instanceName.empty()) {
    for (int n = 0; instanceName.empty() || nameTaken(instanceName); ++n) {
      instanceName = type + std::to_string(n);
    }
  } else if (nameTaken(instanceName)) {
    RTC_ERROR(("createComponent: an instance named %s exists already", instanceName.c_str()));
    return false;
  }

  const std::string category = props.getProperty("category");
  const std::string typeKey = category + "." + type;
  const std::string instanceKey = category + "." + instanceName;
  if (!mergeConfigFile(props, typeKey + ".config_file")) {
    return false;
  }
  mergeSubtree(props, m_state->config, typeKey);
  if (!mergeConfigFile(props, instanceKey + ".config_file")) {
    return false;
  }
  mergeSubtree(props, m_state->config, instanceKey);
  props["instance_name"] = instanceName;
  return true;
}

RTObject_impl* Manager::createComponent(const char* comp_args) {
  coil::Properties props;
  if (comp_args == nullptr || !configureComponent(props, comp_args)) {
    return nullptr;
  }
  const std::string instanceName = props.getProperty("instance_name");
  std::string contextType = props.getProperty("exec_cxt.periodic.type", "PeriodicExecutionContext");
  if (contextType != "PeriodicExecutionContext" && contextType != "ExtTrigExecutionContext" &&
      contextType != "SynchExtTriggerEC") {
    // As the real manager does: the default context instead.
    RTC_WARN(("%s: EC %s is not available; a PeriodicExecutionContext runs it", instanceName.c_str(),
              contextType.c_str()));
    contextType = "PeriodicExecutionContext";
  }
  const std::string& rateText = props.getProperty("exec_cxt.periodic.rate");
  double rate = 0.0;
  if (!rateText.empty() &&
      (!coil::stringTo(rate, rateText.c_str()) || !std::isfinite(rate) || !(rate >= kMinimumRateHz))) {
    RTC_ERROR(("%s: exec_cxt.periodic.rate '%s' is not a rate of at least %g Hz", instanceName.c_str(),
               rateText.c_str(), kMinimumRateHz));
    return nullptr;
  }

  State::Factory factory;
  {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    factory = m_state->factories.at(props.getProperty("type_name"));
  }
  RTObject_impl* comp = nullptr;
  try {
    const ComponentCreation creating;
    comp = factory.create(this);
  } catch (const std::exception& e) {
    RTC_ERROR(("%s: the constructor threw: %s", instanceName.c_str(), e.what()));
  } catch (...) {
    RTC_ERROR(("%s: the constructor threw an exception", instanceName.c_str()));
  }
  if (comp == nullptr) {
    return nullptr;
  }
  comp->m_properties << props;
  comp->rtclog.setName(instanceName);
  std::unique_ptr<ExecutionContextBase, ReleaseReference> context;
  if (contextType == "ExtTrigExecutionContext") {
    context.reset(new ExtTrigExecutionContext(*comp, props));
  } else if (contextType == "SynchExtTriggerEC") {
    context.reset(new SynchExtTriggerEC(*comp, props));
  } else {
    context.reset(new PeriodicExecutionContext(*comp, props));
  }
  comp->m_ownedContext = context.get();

  ReturnCode_t result = RTC_ERROR;
  try {
    result = comp->onInitialize();
  } catch (const std::exception& e) {
    RTC_ERROR(("%s: onInitialize threw: %s", instanceName.c_str(), e.what()));
  } catch (...) {
    RTC_ERROR(("%s: onInitialize threw an exception", instanceName.c_str()));
  }
  if (result != RTC_OK) {
    RTC_ERROR(("%s: onInitialize failed; the component is not created", instanceName.c_str()));
    factory.destroy(comp);
    return nullptr;
  }
  comp->getConfigService().update();
  // Started before it is published, so shutdown never finalizes a component
  // whose context is still starting.
  State::Component entry{comp, std::move(context), factory.destroy};
  entry.context->start();
  bool published = false;
  {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    if (!m_state->closed) {
      m_state->components.push_back(std::move(entry));
      published = true;
    }
  }
  if (!published) {
    RTC_ERROR(("%s: the manager began shutting down during its creation", instanceName.c_str()));
    finalizeEntry(entry);
    destroyEntry(entry);
    return nullptr;
  }
  RTC_INFO(("%s created", instanceName.c_str()));
  return comp;
}

RTObject_impl* Manager::getComponent(const char* instance_name) {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  for (const State::Component& c : m_state->components) {
    if (instance_name != nullptr && std::string(instance_name) == c.object->getInstanceName()) {
      return c.object;
    }
  }
  return nullptr;
}

std::vector<RTObject_impl*> Manager::getComponents() {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  std::vector<RTObject_impl*> result;
  for (const State::Component& c : m_state->components) {
    result.push_back(c.object);
  }
  return result;
}

void Manager::deleteComponent(const char* instance_name) {
  State::Component removed{nullptr, nullptr, nullptr};
  {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    auto& list = m_state->components;
    const auto it = std::find_if(list.begin(), list.end(), [instance_name](const State::Component& c) {
      return instance_name != nullptr && std::string(instance_name) == c.object->getInstanceName();
    });
    if (it == list.end()) {
      RTC_WARN(("deleteComponent: no component '%s'", instance_name != nullptr ? instance_name : ""));
      return;
    }
    removed = std::move(*it);
    list.erase(it);
  }
  finalizeEntry(removed);
  destroyEntry(removed);
}

void Manager::finalizeComponent(RTObject_impl* comp) {
  State::Component exiting{nullptr, nullptr, nullptr};
  {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    auto& list = m_state->components;
    const auto it = std::find_if(list.begin(), list.end(),
                                 [comp](const State::Component& c) { return c.object == comp; });
    if (it == list.end()) return;
    exiting = std::move(*it);
    list.erase(it);
  }
  finalizeEntry(exiting);
  std::lock_guard<std::mutex> lock(m_state->mutex);
  m_state->exited.push_back(std::move(exiting));
}

void Manager::cleanupComponents() {
  std::vector<State::Component> exited;
  {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    exited.swap(m_state->exited);
  }
  for (State::Component& entry : exited) {
    destroyEntry(entry);
  }
}

// Deactivation and onShutdown (by stopping the context), then onFinalize.
void Manager::finalizeEntry(ComponentEntry& entry) {
  const std::string name = entry.object->getInstanceName();
  entry.context->stop();
  try {
    if (entry.object->onFinalize() != RTC_OK) {
      RTC_ERROR(("%s: onFinalize failed", name.c_str()));
    }
  } catch (const std::exception& e) {
    RTC_ERROR(("%s: onFinalize threw: %s", name.c_str(), e.what()));
  } catch (...) {
    RTC_ERROR(("%s: onFinalize threw an exception", name.c_str()));
  }
}

void Manager::destroyEntry(ComponentEntry& entry) {
  const std::string name = entry.object->getInstanceName();
  entry.context->detach();
  entry.destroy(entry.object);
  entry.context.reset();
  RTC_INFO(("%s deleted", name.c_str()));
}

// first and second are "Instance.port", in either direction; the entry's
// other parameters become the connector's "dataport." properties.
bool Manager::connectPorts(const std::string& first, const std::string& second, const std::string& entry) {
  const auto portNamed = [this](const std::string& full) -> PortService_ptr {
    const std::string::size_type dot = full.rfind('.');
    RTObject_impl* comp = dot == std::string::npos ? nullptr : getComponent(full.substr(0, dot).c_str());
    PortBase* port = comp != nullptr ? comp->findPort(full) : nullptr;
    return port != nullptr ? port->getPortRef() : PortService::_nil();
  };
  PortService_ptr one = portNamed(first);
  PortService_ptr other = portNamed(second);
  if (CORBA::is_nil(one) || CORBA::is_nil(other)) {
    RTC_ERROR(("connect %s and %s: no port %s", first.c_str(), second.c_str(),
               CORBA::is_nil(one) ? first.c_str() : second.c_str()));
    return false;
  }
  ConnectorProfile profile;
  profile.name = CORBA::string_dup(entry.c_str());
  profile.connector_id = CORBA::string_dup("");
  profile.ports.length(2);
  profile.ports[0] = PortService::_duplicate(one);
  profile.ports[1] = PortService::_duplicate(other);
  bool flowGiven = false;
  const std::string::size_type query = entry.find('?');
  for (const std::string& param : coil::split(entry.substr(query + 1), "&", true)) {
    std::string key;
    std::string value;
    if (!parseConfigEntry(param, key, value) || key.compare(0, 4, "port") == 0) continue;
    flowGiven = flowGiven || key == "dataflow_type";
    CORBA_SeqUtil::push_back(profile.properties, NVUtil::newNV(("dataport." + key).c_str(), value.c_str()));
  }
  if (!flowGiven) CORBA_SeqUtil::push_back(profile.properties, NVUtil::newNV("dataport.dataflow_type", "push"));
  return one->connect(profile) == RTC_OK;
}

}  // namespace RTC
