// Guards the connection lists of every port in the process, so that a write
// never reaches a port that is being destroyed.
#ifndef MIDDLEWARE_SRC_PORTCONNECTIONS_H
#define MIDDLEWARE_SRC_PORTCONNECTIONS_H

#include <mutex>

namespace RTC {

std::mutex& portConnectionMutex();

}  // namespace RTC

#endif
