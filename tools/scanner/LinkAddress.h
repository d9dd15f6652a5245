// Where a scanner is reached: a serial device path, or "tcp:HOST:PORT" for
// the Ethernet models.
#ifndef STROLVEX_TOOLS_SCANNER_LINKADDRESS_H
#define STROLVEX_TOOLS_SCANNER_LINKADDRESS_H

#include <string>

struct LinkAddress {
  enum class Kind { Serial, Tcp };
  Kind kind;
  std::string path;  // Serial
  std::string host;  // Tcp
  int port;          // Tcp, 1..65535
};

// False, with the reason in error, when a "tcp:" address has no host or no
// valid port, or the device is empty.
bool parseLinkAddress(const std::string& device, LinkAddress& address, std::string& error);

#endif
