// The type-independent half of an in-port: its name, its data type and the
// out-ports that feed it.
#ifndef RTM_INPORTBASE_H
#define RTM_INPORTBASE_H

#include <rtm/SystemLogger.h>

#include <string>
#include <vector>

namespace RTC {

class OutPortBase;
class RTObject_impl;

class InPortBase {
 public:
  InPortBase(const InPortBase&) = delete;
  InPortBase& operator=(const InPortBase&) = delete;
  virtual ~InPortBase();

  const char* getName() const { return m_name.c_str(); }
  // Compared by name: type identity does not survive a module boundary.
  const char* dataTypeName() const { return m_dataType.c_str(); }

 protected:
  InPortBase(const char* name, const char* data_type);

  // Stores a copy of one sample written by a connected out-port.
  virtual void receive(const void* sample) = 0;
  // Logs that a full buffer dropped its oldest sample.
  void reportDrop(unsigned long dropped);
  // Called by the derived port's destructor too, so that no write reaches
  // a half-destroyed port.
  void disconnectAll();

 private:
  friend class OutPortBase;
  friend class RTObject_impl;

  std::string m_name;
  std::string m_dataType;
  Logger m_log;
  std::vector<OutPortBase*> m_sources;
};

}  // namespace RTC

#endif
