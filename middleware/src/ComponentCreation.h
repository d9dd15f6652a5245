// Whether the calling thread is inside Manager::createComponent, where
// alone a component may be constructed.
#ifndef MIDDLEWARE_SRC_COMPONENTCREATION_H
#define MIDDLEWARE_SRC_COMPONENTCREATION_H

namespace RTC {

bool isCreatingComponent();

// Marks the calling thread as creating a component for its lifetime.
class ComponentCreation {
 public:
  ComponentCreation();
  ~ComponentCreation();
  ComponentCreation(const ComponentCreation&) = delete;
  ComponentCreation& operator=(const ComponentCreation&) = delete;

 private:
  bool m_outer;
};

}  // namespace RTC

#endif
