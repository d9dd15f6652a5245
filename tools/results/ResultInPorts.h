// The five in-ports a tool needs to receive Strolvex's outputs, named like
// the outputs they connect to.
#ifndef STROLVEX_TOOLS_RESULTS_RESULTINPORTS_H
#define STROLVEX_TOOLS_RESULTS_RESULTINPORTS_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/InPort.h>

#include <cstdint>
#include <string>

#include "tools/results/ResultLine.h"

class ResultInPorts {
 public:
  ResultInPorts()
      : m_human_dataXIn("human_dataX", m_human_dataX),
        m_human_dataYIn("human_dataY", m_human_dataY),
        m_human_dataVIn("human_dataV", m_human_dataV),
        m_human_dataTIn("human_dataT", m_human_dataT),
        m_count_dataIn("count_data", m_count_data) {}

  // Registers the ports with their owner, from its onInitialize.
  template <class Component>
  void registerWith(Component& owner) {
    owner.addInPort("human_dataX", m_human_dataXIn);
    owner.addInPort("human_dataY", m_human_dataYIn);
    owner.addInPort("human_dataV", m_human_dataVIn);
    owner.addInPort("human_dataT", m_human_dataTIn);
    owner.addInPort("count_data", m_count_dataIn);
  }

  // Strolvex writes its five ports one after the other: a cycle's results
  // are taken only once all five have arrived. False when they have not.
  bool takeNext() {
    if (!(m_human_dataXIn.isNew() && m_human_dataYIn.isNew() && m_human_dataVIn.isNew() &&
          m_human_dataTIn.isNew() && m_count_dataIn.isNew()))
      return false;
    m_human_dataXIn.read();
    m_human_dataYIn.read();
    m_human_dataVIn.read();
    m_human_dataTIn.read();
    m_count_dataIn.read();
    return true;
  }

  // The results last taken, port by port.
  const RTC::TimedLongSeq& lateral() const { return m_human_dataX; }
  const RTC::TimedLongSeq& forward() const { return m_human_dataY; }
  const RTC::TimedLongSeq& speeds() const { return m_human_dataV; }
  const RTC::TimedLongSeq& headings() const { return m_human_dataT; }
  const RTC::TimedLongSeq& counts() const { return m_count_data; }

  // The results last taken, in the replay's JSON form.
  std::string jsonLine(int64_t t_ms) const {
    return formatResultLine(t_ms, m_human_dataX.data, m_human_dataY.data, m_human_dataV.data,
                            m_human_dataT.data, m_count_data.data);
  }

 private:
  RTC::TimedLongSeq m_human_dataX;
  RTC::InPort<RTC::TimedLongSeq> m_human_dataXIn;
  RTC::TimedLongSeq m_human_dataY;
  RTC::InPort<RTC::TimedLongSeq> m_human_dataYIn;
  RTC::TimedLongSeq m_human_dataV;
  RTC::InPort<RTC::TimedLongSeq> m_human_dataVIn;
  RTC::TimedLongSeq m_human_dataT;
  RTC::InPort<RTC::TimedLongSeq> m_human_dataTIn;
  RTC::TimedLongSeq m_count_data;
  RTC::InPort<RTC::TimedLongSeq> m_count_dataIn;
};

#endif
