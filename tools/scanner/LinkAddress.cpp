#include "tools/scanner/LinkAddress.h"

#include <cstdlib>

namespace {

const char kTcpPrefix[] = "tcp:";

}  // namespace

bool parseLinkAddress(const std::string& device, LinkAddress& address, std::string& error) {
  address = LinkAddress{LinkAddress::Kind::Serial, std::string(), std::string(), 0};
  if (device.empty()) {
    error = "no device given";
    return false;
  }
  if (device.compare(0, sizeof kTcpPrefix - 1, kTcpPrefix) != 0) {
    address.path = device;
    return true;
  }
  // The port follows the last colon, so a bracketed IPv6 host keeps its own.
  const std::string rest = device.substr(sizeof kTcpPrefix - 1);
  const std::string::size_type colon = rest.rfind(':');
  if (colon == std::string::npos || colon == 0) {
    error = "'" + device + "' is not tcp:HOST:PORT";
    return false;
  }
  std::string host = rest.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  const std::string port = rest.substr(colon + 1);
  char* end = nullptr;
  const long number = port.empty() ? 0 : std::strtol(port.c_str(), &end, 10);
  if (host.empty() || port.empty() || *end != '\0' || number < 1 || number > 65535) {
    error = "'" + device + "' is not tcp:HOST:PORT with a port in 1..65535";
    return false;
  }
  address.kind = LinkAddress::Kind::Tcp;
  address.host = host;
  address.port = static_cast<int>(number);
  return true;
}
