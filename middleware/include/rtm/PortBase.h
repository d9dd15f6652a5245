// What every data port is to the rest of the system: a port service that
// connects to other ports through connector profiles.
#ifndef RTM_PORTBASE_H
#define RTM_PORTBASE_H

#include <rtm/idl/RTCSkel.h>
#include <rtm/SystemLogger.h>

#include <memory>
#include <string>
#include <vector>

namespace RTC {

class InPortBase;
class OutPortBase;

class PortBase : public virtual PortService {
 public:
  PortBase(const PortBase&) = delete;
  PortBase& operator=(const PortBase&) = delete;
  ~PortBase() override;

  // The port's name; "<instance name>.<port name>" once its component has
  // added it.
  const char* getName() const { return m_name.c_str(); }
  PortService_ptr getPortRef() { return this; }

  PortProfile* get_port_profile() override;
  // Connects the two data ports of the profile, one out-port and one
  // in-port of the same data type, with push data flow; fills in the
  // connector_id.
  ReturnCode_t connect(ConnectorProfile& connector_profile) override;
  ReturnCode_t disconnect(const char* connector_id) override;
  ReturnCode_t disconnect_all() override;

  // Compared by name: type identity does not survive a module boundary.
  const char* dataTypeName() const { return m_dataType.c_str(); }

 protected:
  struct Connection {
    ConnectorProfile profile;
    OutPortBase* out;
    InPortBase* in;
  };
  typedef std::shared_ptr<Connection> ConnectionPtr;

  PortBase(const char* name, const char* data_type, const char* port_type);

  // The connections this port takes part in; guarded by the process-wide
  // connection lock.
  std::vector<ConnectionPtr> m_connections;
  Logger rtclog;

 private:
  friend class RTObject_impl;

  void setOwnerName(const std::string& instance_name);

  std::string m_name;
  std::string m_dataType;
  const char* m_portType;
};

}  // namespace RTC

#endif
