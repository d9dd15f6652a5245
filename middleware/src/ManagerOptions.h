// The manager's command line, read as the real middleware (1.2) reads it.
#ifndef MIDDLEWARE_SRC_MANAGEROPTIONS_H
#define MIDDLEWARE_SRC_MANAGEROPTIONS_H

#include <coil/Properties.h>

namespace RTC {

// Defaults, then the configuration file, then every -o KEY:VALUE.
//
// Options: -a (no CORBA servant), -f FILE, -i (go on without the -f file),
// -o KEY:VALUE, -p PORT, -d (master manager). Any other option is reported
// as invalid and ignored. Without -f the file is the first found of
// $RTC_MANAGER_CONFIG, ./rtc.conf, /etc/rtc.conf, /etc/rtc/rtc.conf,
// /usr/local/etc/rtc.conf and /usr/local/etc/rtc/rtc.conf.
//
// Exits with 255 when the -f file does not exist (unless -i), and, stricter
// than the real middleware, with 1 when the file has a malformed line.
coil::Properties configurationFromArguments(int argc, char** argv);

}  // namespace RTC

#endif
