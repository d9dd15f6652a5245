// Ends a manager that runManager(true) left running and waits until it is
// down, whichever middleware series it is. 1.x: shutdown() is public and
// synchronous, while join() would wait for a second caller that never
// comes. 2.x: shutdown() is protected; terminate() and join() do it.
#ifndef STROLVEX_LAUNCHER_MANAGERSTOP_H
#define STROLVEX_LAUNCHER_MANAGERSTOP_H

#include <rtm/Manager.h>

namespace strolvex_detail {

template <class M>
auto stopRunningManager(M& manager, int) -> decltype(manager.shutdown()) {
  return manager.shutdown();
}

template <class M>
void stopRunningManager(M& manager, long) {
  manager.terminate();
  manager.join();
}

}  // namespace strolvex_detail

inline void stopRunningManager(RTC::Manager& manager) {
  strolvex_detail::stopRunningManager(manager, 0);
}

#endif
