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

// Deletes through the base, whose destructor is virtual.
template <class T>
void Delete(RTObject_impl* rtc) {
  delete rtc;
}

}  // namespace RTC

#endif
