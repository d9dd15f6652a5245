// The configuration text form: one "key: value" per line, "#" starts a
// comment, blank lines are skipped.
#ifndef MIDDLEWARE_SRC_CONFIGFILE_H
#define MIDDLEWARE_SRC_CONFIGFILE_H

#include <coil/Properties.h>

#include <string>

namespace RTC {

// Splits "key: value" (or "key=value") at the first separator and trims
// both parts; false when there is no separator or the key is empty.
bool parseConfigEntry(const std::string& entry, std::string& key, std::string& value);

// Adds the file's entries to into; on failure error says why, naming the
// file and, for a malformed line, its number.
bool loadConfigFile(const std::string& path, coil::Properties& into, std::string& error);

}  // namespace RTC

#endif
