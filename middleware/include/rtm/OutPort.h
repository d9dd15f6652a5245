// An out-port: write() hands a copy of the bound variable to every
// connected in-port.
#ifndef RTM_OUTPORT_H
#define RTM_OUTPORT_H

#include <rtm/OutPortBase.h>

#include <chrono>
#include <typeinfo>

namespace RTC {

template <class DataType>
class OutPort : public OutPortBase {
 public:
  OutPort(const char* name, DataType& value)
      : OutPortBase(name, typeid(DataType).name()), m_value(value) {}
  ~OutPort() override { disconnect_all(); }

  // Leaves tm as it is; false when no in-port is connected.
  bool write() { return deliver(&m_value); }

 private:
  DataType& m_value;
};

// Fills data.tm from the wall clock.
template <class DataType>
void setTimestamp(DataType& data) {
  const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
  const auto sec = std::chrono::duration_cast<std::chrono::seconds>(since_epoch);
  const auto nsec = std::chrono::duration_cast<std::chrono::nanoseconds>(since_epoch - sec);
  data.tm.sec = static_cast<CORBA::ULong>(sec.count());
  data.tm.nsec = static_cast<CORBA::ULong>(nsec.count());
}

}  // namespace RTC

using RTC::setTimestamp;

#endif
