#include "component/tests/ComponentHarness.h"

#include <rtm/ExtTrigExecutionContext.h>
#include <rtm/Factory.h>

#include "component/StrolvexInit.h"
#include "component/StrolvexProfile.h"

PortProbe::PortProbe(RTC::Manager* manager)
    : RTC::DataFlowComponentBase(manager),
      m_scanOut("scan", m_scan),
      m_xIn("x", m_x),
      m_yIn("y", m_y),
      m_vIn("v", m_v),
      m_tIn("t", m_t),
      m_countIn("count", m_count) {}

RTC::ReturnCode_t PortProbe::onInitialize() {
  addOutPort("scan", m_scanOut);
  addInPort("x", m_xIn);
  addInPort("y", m_yIn);
  addInPort("v", m_vIn);
  addInPort("t", m_tIn);
  addInPort("count", m_countIn);
  return RTC::RTC_OK;
}

void PortProbe::sendScan(const std::vector<double>& ranges, uint32_t sec, uint32_t nsec) {
  m_scan.tm.sec = sec;
  m_scan.tm.nsec = nsec;
  m_scan.ranges.length(static_cast<CORBA::ULong>(ranges.size()));
  for (std::size_t s = 0; s < ranges.size(); ++s) {
    m_scan.ranges[static_cast<CORBA::ULong>(s)] = ranges[s];
  }
  m_scanOut.write();
}

bool PortProbe::anyOutput() {
  return m_xIn.isNew() || m_yIn.isNew() || m_vIn.isNew() || m_tIn.isNew() || m_countIn.isNew();
}

void PortProbe::drain() {
  while (takeX().arrived || takeY().arrived || takeV().arrived || takeT().arrived ||
         takeCount().arrived) {
  }
}

PortProbe::Sample PortProbe::take(RTC::InPort<RTC::TimedLongSeq>& port,
                                  RTC::TimedLongSeq& value) {
  Sample sample;
  if (!port.read()) return sample;
  sample.arrived = true;
  sample.tm = value.tm;
  for (CORBA::ULong k = 0; k < value.data.length(); ++k) sample.data.push_back(value.data[k]);
  return sample;
}

namespace {

const char* kPortProbeProfile[] = {
    "implementation_id", "PortProbe", "type_name", "PortProbe", "category", "Test",
    "max_instance", "100", ""};

}  // namespace

void registerTestTypes(RTC::Manager& manager) {
  StrolvexInit(&manager);
  coil::Properties portProbe(kPortProbeProfile);
  manager.registerFactory(portProbe, RTC::Create<PortProbe>, RTC::Delete<PortProbe>);
  coil::Properties strolvexProbe(kStrolvexProfile);
  strolvexProbe["implementation_id"] = "StrolvexProbe";
  strolvexProbe["type_name"] = "StrolvexProbe";
  manager.registerFactory(strolvexProbe, RTC::Create<StrolvexProbe>, RTC::Delete<StrolvexProbe>);
}

RTC::Manager& testManager() {
  static RTC::Manager* manager = [] {
    static char program[] = "component_tests";
    static char option[] = "-o";
    static char extTrig[] = "exec_cxt.periodic.type:ExtTrigExecutionContext";
    static char* argv[] = {program, option, extTrig, nullptr};
    RTC::Manager* m = RTC::Manager::init(3, argv);
    m->activateManager();
    registerTestTypes(*m);
    return m;
  }();
  return *manager;
}

void wirePorts(RTC::Manager& manager, RTC::RTObject_impl& component, PortProbe& ports) {
  const std::string self = component.getInstanceName();
  const std::string probe = ports.getInstanceName();
  EXPECT_TRUE(manager.connectPorts(probe + ".scan", self + ".range_data"));
  EXPECT_TRUE(manager.connectPorts(self + ".human_dataX", probe + ".x"));
  EXPECT_TRUE(manager.connectPorts(self + ".human_dataY", probe + ".y"));
  EXPECT_TRUE(manager.connectPorts(self + ".human_dataV", probe + ".v"));
  EXPECT_TRUE(manager.connectPorts(self + ".human_dataT", probe + ".t"));
  EXPECT_TRUE(manager.connectPorts(self + ".count_data", probe + ".count"));
}

void tickOnce(RTC::RTObject_impl& component) {
  OpenRTM::ExtTrigExecutionContextService_var trigger =
      OpenRTM::ExtTrigExecutionContextService::_narrow(component.get_context(0));
  ASSERT_FALSE(CORBA::is_nil(trigger));
  trigger->tick();
}

std::vector<double> uniformScan(double range, std::size_t length) {
  return std::vector<double>(length, range);
}

ComponentFixture::ComponentFixture(const char* componentType) {
  RTC::Manager& manager = testManager();
  component = manager.createComponent(componentType);
  ports = static_cast<PortProbe*>(manager.createComponent("PortProbe"));
  if (component == nullptr || ports == nullptr) {
    ADD_FAILURE() << "cannot create " << componentType << " and its port probe";
    return;
  }
  wirePorts(manager, *component, *ports);
  EXPECT_EQ(activate(), RTC::RTC_OK);
}

ComponentFixture::~ComponentFixture() {
  RTC::Manager& manager = testManager();
  if (ports != nullptr) manager.deleteComponent(ports->getInstanceName());
  if (component != nullptr) manager.deleteComponent(component->getInstanceName());
}

void ComponentFixture::tick() { tickOnce(*component); }

RTC::ReturnCode_t ComponentFixture::activate() {
  return component->get_context(0)->activate_component(component);
}

RTC::ReturnCode_t ComponentFixture::deactivate() {
  return component->get_context(0)->deactivate_component(component);
}

RTC::LifeCycleState ComponentFixture::state() {
  return component->get_context(0)->get_component_state(component);
}

void ComponentFixture::setParameter(const char* name, const std::string& value) {
  component->getConfigService().setParameter("default", name, value);
  // Bound variables follow the set after a cycle: an idle one will do.
  tick();
}
