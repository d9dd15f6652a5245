#include <rtm/NVUtil.h>

namespace NVUtil {

SDOPackage::NameValue newNV(const char* name, const char* value) {
  SDOPackage::NameValue nv;
  nv.name = CORBA::string_dup(name);
  nv.value = CORBA::string_dup(value);
  return nv;
}

std::string toString(const SDOPackage::NVList& nv, const char* name) {
  for (CORBA::ULong i = 0; i < nv.length(); ++i) {
    if (std::string(nv[i].name) == name) return static_cast<const char*>(nv[i].value);
  }
  return std::string();
}

}  // namespace NVUtil
