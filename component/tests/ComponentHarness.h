// Drives Strolvex components through the built-in runtime: one manager per
// test process with externally triggered execution contexts, a port probe
// wired to the component's six ports, and tick() for one cycle.
#ifndef STROLVEX_COMPONENT_TESTS_COMPONENTHARNESS_H
#define STROLVEX_COMPONENT_TESTS_COMPONENTHARNESS_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "component/tests/StrolvexProbe.h"

// The other end of every Strolvex port.
class PortProbe : public RTC::DataFlowComponentBase {
 public:
  explicit PortProbe(RTC::Manager* manager);
  RTC::ReturnCode_t onInitialize() override;

  void sendScan(const std::vector<double>& ranges, uint32_t sec = 0, uint32_t nsec = 0);

  // One published sample of an output port; empty() when none arrived.
  struct Sample {
    bool arrived = false;
    RTC::Time tm{0, 0};
    std::vector<int32_t> data;
  };
  Sample takeX() { return take(m_xIn, m_x); }
  Sample takeY() { return take(m_yIn, m_y); }
  Sample takeV() { return take(m_vIn, m_v); }
  Sample takeT() { return take(m_tIn, m_t); }
  Sample takeCount() { return take(m_countIn, m_count); }
  // True when any output port holds an unread sample.
  bool anyOutput();
  // Forgets every unread output sample.
  void drain();

 private:
  static Sample take(RTC::InPort<RTC::TimedLongSeq>& port, RTC::TimedLongSeq& value);

  RTC::RangeData m_scan;
  RTC::OutPort<RTC::RangeData> m_scanOut;
  RTC::TimedLongSeq m_x, m_y, m_v, m_t, m_count;
  RTC::InPort<RTC::TimedLongSeq> m_xIn, m_yIn, m_vIn, m_tIn, m_countIn;
};

// Registers Strolvex through StrolvexInit, and "PortProbe" and
// "StrolvexProbe" (Strolvex with white-box access).
void registerTestTypes(RTC::Manager& manager);
// The process's manager, initialised on first use with externally
// triggered contexts and the test types registered.
RTC::Manager& testManager();
// Connects the six ports of component to those of ports.
void wirePorts(RTC::Manager& manager, RTC::RTObject_impl& component, PortProbe& ports);
// Runs one cycle of the component's externally triggered context.
void tickOnce(RTC::RTObject_impl& component);

// A scan of the default step range (726 readings), all the same.
std::vector<double> uniformScan(double range, std::size_t length = 726);

// One component of type componentType wired to a fresh port probe and
// activated.
class ComponentFixture : public ::testing::Test {
 protected:
  explicit ComponentFixture(const char* componentType = "Strolvex");
  ~ComponentFixture() override;

  void tick();
  RTC::ReturnCode_t activate();
  RTC::ReturnCode_t deactivate();
  RTC::LifeCycleState state();
  // Changes a parameter of the "default" set and runs the idle cycle after
  // which the component sees the new value.
  void setParameter(const char* name, const std::string& value);

  RTC::RTObject_impl* component;
  PortProbe* ports;
};

// The same with white-box access to the component.
class ProbeFixture : public ComponentFixture {
 protected:
  ProbeFixture() : ComponentFixture("StrolvexProbe") {}
  StrolvexProbe& probe() { return *static_cast<StrolvexProbe*>(component); }
};

#endif
