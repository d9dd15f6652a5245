#include <coil/Properties.h>

#include <coil/stringutil.h>

namespace coil {

namespace {

const std::string& emptyString() {
  static const std::string empty;
  return empty;
}

// Splits "a.b.c" into its parts; empty parts are kept so that a malformed
// key cannot alias a well-formed one.
vstring keyParts(const std::string& key) {
  vstring parts;
  std::string::size_type begin = 0;
  for (;;) {
    const std::string::size_type dot = key.find('.', begin);
    parts.push_back(key.substr(begin, dot == std::string::npos ? std::string::npos : dot - begin));
    if (dot == std::string::npos) {
      return parts;
    }
    begin = dot + 1;
  }
}

}  // namespace

Properties::Properties() = default;

Properties::Properties(const std::string& key, const std::string& value) : m_name(key), m_value(value) {}

Properties::Properties(const char* defaults[], long num) {
  for (long i = 0; i + 1 < num && defaults[i] != nullptr && defaults[i][0] != '\0'; i += 2) {
    std::string key(defaults[i]);
    std::string value(defaults[i + 1] != nullptr ? defaults[i + 1] : "");
    eraseBothEndsBlank(key);
    eraseBothEndsBlank(value);
    setDefault(key, value);
  }
}

Properties::Properties(const Properties& other)
    : m_name(other.m_name), m_value(other.m_value), m_default(other.m_default) {
  for (const auto& child : other.m_leaf) {
    m_leaf.emplace_back(new Properties(*child));
  }
}

Properties& Properties::operator=(const Properties& other) {
  if (this != &other) {
    Properties copy(other);
    m_name.swap(copy.m_name);
    m_value.swap(copy.m_value);
    m_default.swap(copy.m_default);
    m_leaf.swap(copy.m_leaf);
  }
  return *this;
}

Properties::~Properties() = default;

const std::string& Properties::getProperty(const std::string& key) const {
  const Properties* node = findNode(key);
  if (node == nullptr) {
    return emptyString();
  }
  return node->m_value.empty() ? node->m_default : node->m_value;
}

const std::string& Properties::getProperty(const std::string& key, const std::string& def) const {
  const std::string& value = getProperty(key);
  return value.empty() ? def : value;
}

std::string Properties::setProperty(const std::string& key, const std::string& value) {
  std::string& slot = getNode(key).m_value;
  std::string previous = slot;
  slot = value;
  return previous;
}

std::string Properties::setDefault(const std::string& key, const std::string& value) {
  std::string& slot = getNode(key).m_default;
  std::string previous = slot;
  slot = value;
  return previous;
}

std::string& Properties::operator[](const std::string& key) { return getNode(key).m_value; }

Properties* Properties::findNode(const std::string& key) const {
  const Properties* node = this;
  for (const std::string& part : keyParts(key)) {
    node = node->hasKey(part.c_str());
    if (node == nullptr) {
      return nullptr;
    }
  }
  return const_cast<Properties*>(node);
}

Properties& Properties::getNode(const std::string& key) {
  Properties* node = this;
  for (const std::string& part : keyParts(key)) {
    Properties* child = node->hasKey(part.c_str());
    if (child == nullptr) {
      node->m_leaf.emplace_back(new Properties(part));
      child = node->m_leaf.back().get();
    }
    node = child;
  }
  return *node;
}

Properties* Properties::hasKey(const char* key) const {
  for (const auto& child : m_leaf) {
    if (child->m_name == key) {
      return child.get();
    }
  }
  return nullptr;
}

void Properties::collectNames(const std::string& prefix, std::vector<std::string>& names) const {
  for (const auto& child : m_leaf) {
    const std::string name = prefix.empty() ? child->m_name : prefix + "." + child->m_name;
    if (!child->m_value.empty() || !child->m_default.empty() || child->m_leaf.empty()) {
      names.push_back(name);
    }
    child->collectNames(name, names);
  }
}

std::vector<std::string> Properties::propertyNames() const {
  std::vector<std::string> names;
  collectNames(std::string(), names);
  return names;
}

Properties& Properties::operator<<(const Properties& other) {
  for (const std::string& name : other.propertyNames()) {
    (*this)[name] = other.getProperty(name);
  }
  return *this;
}

}  // namespace coil
