// Name/value lists, as connector and port profiles carry their properties.
#ifndef RTM_NVUTIL_H
#define RTM_NVUTIL_H

#include <rtm/idl/RTCSkel.h>

#include <string>

namespace NVUtil {

SDOPackage::NameValue newNV(const char* name, const char* value);

// The value under name, or empty when there is none.
std::string toString(const SDOPackage::NVList& nv, const char* name);

}  // namespace NVUtil

#endif
