// The type-independent half of an in-port: the buffer's size and what it
// does when full.
#ifndef RTM_INPORTBASE_H
#define RTM_INPORTBASE_H

#include <rtm/PortBase.h>

#include <cstddef>

namespace RTC {

class InPortBase : public PortBase {
 protected:
  InPortBase(const char* name, const char* data_type);

  // Stores a copy of one sample written by a connected out-port.
  virtual void receive(const void* sample) = 0;
  // Logs that a full buffer dropped its oldest sample.
  void reportDrop(unsigned long dropped);
  // The buffer holds this many samples: the connectors' buffer.length
  // (the largest of them), 8 by default.
  std::size_t bufferLength() const { return m_bufferLength; }

 private:
  friend class PortBase;
  friend class OutPortBase;

  std::size_t m_bufferLength;
};

}  // namespace RTC

#endif
