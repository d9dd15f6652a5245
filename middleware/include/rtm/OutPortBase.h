// The type-independent half of an out-port: its connections to in-ports.
#ifndef RTM_OUTPORTBASE_H
#define RTM_OUTPORTBASE_H

#include <string>
#include <vector>

namespace RTC {

class InPortBase;

class OutPortBase {
 public:
  OutPortBase(const OutPortBase&) = delete;
  OutPortBase& operator=(const OutPortBase&) = delete;
  virtual ~OutPortBase();

  const char* getName() const { return m_name.c_str(); }
  const char* dataTypeName() const { return m_dataType.c_str(); }

  // Built-in runtime only: false when the data types differ or the ports
  // are connected already. Connections end when either port is destroyed.
  bool connect(InPortBase& in);

 protected:
  OutPortBase(const char* name, const char* data_type);

  // Hands sample to every connected in-port; false when there is none.
  bool deliver(const void* sample);

 private:
  friend class InPortBase;

  std::string m_name;
  std::string m_dataType;
  std::vector<InPortBase*> m_targets;
};

}  // namespace RTC

#endif
