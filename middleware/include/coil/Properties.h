// Hierarchical string properties addressed by dotted keys ("a.b.c"), as the
// configuration of the manager and of every component is kept.
#ifndef COIL_PROPERTIES_H
#define COIL_PROPERTIES_H

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace coil {

class Properties {
 public:
  Properties();
  // A root node named key (a configuration set is named so), with value.
  explicit Properties(const std::string& key, const std::string& value = std::string());
  // Reads key, value pairs as defaults until an empty key or num entries.
  explicit Properties(const char* defaults[], long num = LONG_MAX);
  Properties(const Properties& other);
  Properties& operator=(const Properties& other);
  ~Properties();

  const std::string& getName() const { return m_name; }

  // The value, or the default when no value is set; empty when absent. The
  // two-argument form returns def itself when absent: copy the result when
  // def is a temporary.
  const std::string& getProperty(const std::string& key) const;
  const std::string& getProperty(const std::string& key, const std::string& def) const;
  // Returns the previous value.
  std::string setProperty(const std::string& key, const std::string& value);
  std::string setDefault(const std::string& key, const std::string& value);
  std::string& operator[](const std::string& key);

  Properties* findNode(const std::string& key) const;
  // Creates the node and its parents when absent.
  Properties& getNode(const std::string& key);
  // The direct child named key, or null.
  Properties* hasKey(const char* key) const;
  // Full dotted keys of every node holding a value or a default.
  std::vector<std::string> propertyNames() const;

  // Copies every key of other into this, overwriting.
  Properties& operator<<(const Properties& other);

 private:
  void collectNames(const std::string& prefix, std::vector<std::string>& names) const;

  std::string m_name;
  std::string m_value;
  std::string m_default;
  std::vector<std::unique_ptr<Properties>> m_leaf;
};

}  // namespace coil

#endif
