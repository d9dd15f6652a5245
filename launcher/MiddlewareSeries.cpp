#include "launcher/MiddlewareSeries.h"

#include <sstream>

namespace {

#ifdef STROLVEX_OPENRTM_1_1
// 1.1 knows no "stderr" and would write a file of that name.
const char* const kStandardError = "/dev/stderr";
#else
const char* const kStandardError = "stderr";
#endif

std::string convertedEntry(const std::string& entry) {
  const std::string::size_type query = entry.find('?');
  if (query == std::string::npos) return entry;
  std::string target;
  std::string properties;
  std::istringstream params(entry.substr(query + 1));
  for (std::string param; std::getline(params, param, '&');) {
    if (param.compare(0, 5, "port=") == 0) {
      target = param.substr(5);
    } else if (!param.empty()) {
      properties += (properties.empty() ? "" : "&") + param;
    }
  }
  if (target.empty()) return entry;
  if (properties.empty()) properties = "dataflow_type=push";
  return entry.substr(0, query) + ":" + target + "(" + properties + ")";
}

}  // namespace

std::string preconnectInOneOneForm(const std::string& entries) {
  std::string converted;
  std::istringstream list(entries);
  for (std::string entry; std::getline(list, entry, ',');) {
    const std::string::size_type first = entry.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    entry = entry.substr(first, entry.find_last_not_of(" \t") - first + 1);
    converted += (converted.empty() ? "" : ", ") + convertedEntry(entry);
  }
  return converted;
}

void fitToMiddleware(ManagerArguments& arguments) {
  arguments.setDefault("logger.file_name", kStandardError);
#ifdef STROLVEX_OPENRTM_1_1
  const std::string preconnect = arguments.configured("manager.components.preconnect");
  if (!preconnect.empty()) {
    arguments.set("manager.components.preconnect", preconnectInOneOneForm(preconnect));
  }
#endif
}
