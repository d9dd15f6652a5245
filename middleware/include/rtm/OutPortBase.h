// The type-independent half of an out-port: hands each written sample to
// the in-ports it is connected to.
#ifndef RTM_OUTPORTBASE_H
#define RTM_OUTPORTBASE_H

#include <rtm/PortBase.h>

namespace RTC {

class OutPortBase : public PortBase {
 protected:
  OutPortBase(const char* name, const char* data_type);

  // Hands sample to every connected in-port; false when there is none.
  bool deliver(const void* sample);
};

}  // namespace RTC

#endif
