// The manager's command line.
#ifndef MIDDLEWARE_SRC_MANAGEROPTIONS_H
#define MIDDLEWARE_SRC_MANAGEROPTIONS_H

#include <coil/Properties.h>

namespace RTC {

// Defaults, then the configuration file (-f FILE, else ./rtc.conf when
// present), then every -o KEY:VALUE, then the -l modules. Prints the usage
// and exits with 0 on -h; prints why and exits with 1 on a bad option or an
// unreadable file.
coil::Properties configurationFromArguments(int argc, char** argv);

}  // namespace RTC

#endif
