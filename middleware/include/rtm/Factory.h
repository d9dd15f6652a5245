// Component factories as a module registers them with the manager.
#ifndef RTM_FACTORY_H
#define RTM_FACTORY_H

namespace RTC {

class Manager;
class RTObject_impl;

typedef RTObject_impl* (*RtcNewFunc)(Manager* manager);
typedef void (*RtcDeleteFunc)(RTObject_impl* rtc);

template <class T>
RTObject_impl* Create(Manager* manager) {
  return new T(manager);
}

// Deleted as the type Create made: RTObject_impl is incomplete here, and a
// delete through a pointer to an incomplete class would skip the destructor.
template <class T>
void Delete(RTObject_impl* rtc) {
  delete static_cast<T*>(rtc);
}

}  // namespace RTC

#endif
