// The base of a data-flow component.
#ifndef RTM_DATAFLOWCOMPONENTBASE_H
#define RTM_DATAFLOWCOMPONENTBASE_H

#include <rtm/RTObject.h>

namespace RTC {

class DataFlowComponentBase : public RTObject_impl {
 public:
  explicit DataFlowComponentBase(Manager* manager) : RTObject_impl(manager) {}
};

}  // namespace RTC

#endif
