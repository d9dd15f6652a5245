// Reference counting for the runtime's local objects, which CORBA leaves
// to them: a reference a caller still holds (a _var) keeps the object
// alive after its owner has let go of it, as a remote reference would.
#ifndef MIDDLEWARE_SRC_REFCOUNTED_H
#define MIDDLEWARE_SRC_REFCOUNTED_H

#include <omniORB4/CORBA.h>

#include <atomic>

namespace RTC {

class RefCounted : public virtual CORBA::LocalObject {
 public:
  void _add_ref() override { m_count.fetch_add(1); }
  void _remove_ref() override {
    if (m_count.fetch_sub(1) == 1) delete this;
  }

 protected:
  RefCounted() : m_count(1) {}  // the owner's reference

 private:
  std::atomic<long> m_count;
};

// Lets go of the owner's reference.
struct ReleaseReference {
  void operator()(CORBA::LocalObject* object) const { object->_remove_ref(); }
};

}  // namespace RTC

#endif
