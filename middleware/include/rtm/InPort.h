// An in-port: a ring buffer shared by all its connections. When it is full
// the oldest sample makes room for the new one; reading an empty buffer
// reads the last sample back, so a reader asks isNew() first.
#ifndef RTM_INPORT_H
#define RTM_INPORT_H

#include <omniORB4/CORBA.h>
#include <rtm/InPortBase.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <mutex>
#include <typeinfo>
#include <vector>

namespace RTC {

template <class DataType>
class InPort : public InPortBase {
 public:
  // The buffer settings come from the connections, as with the real
  // middleware; the arguments after value are accepted and ignored.
  InPort(const char* name, DataType& value, int /*bufsize*/ = 64, bool /*read_block*/ = false,
         bool /*write_block*/ = false, int /*read_timeout*/ = 0, int /*write_timeout*/ = 0)
      : InPortBase(name, typeid(DataType).name()), m_value(value), m_dropped(0), m_received(false) {}

  ~InPort() override { disconnect_all(); }

  bool isNew() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_unread != 0;
  }

  bool isEmpty() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_unread == 0;
  }

  // Moves the oldest unread sample into the bound variable; with nothing
  // unread, the last sample read is read again. False only before the
  // first sample.
  bool read() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_unread == 0) {
      if (!m_received) {
        return false;
      }
      unmarshal(*m_slots[m_lastRead]);
      return true;
    }
    unmarshal(*m_slots[m_oldest]);
    takeOldest();
    return true;
  }

 protected:
  void receive(const void* sample) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    while (m_unread != 0 && m_unread >= bufferLength()) {
      takeOldest();
      reportDrop(++m_dropped);
    }
    makeRoom();
    cdrMemoryStream& slot = *m_slots[(m_oldest + m_unread) % m_slots.size()];
    slot.rewindPtrs();
    *static_cast<const DataType*>(sample) >>= slot;
    ++m_unread;
    m_received = true;
  }

 private:
  // The slots form a ring: m_unread samples from m_oldest on, and just
  // before them the last sample taken, which is the last one read whenever
  // none is unread. A slot holds its sample marshalled, as a connection of
  // the CORBA middleware carries it: sequences of numbers go in and out as
  // blocks, and a slot's storage is reused rather than allocated per sample.
  void unmarshal(cdrMemoryStream& slot) {
    slot.rewindInputPtr();
    m_value <<= slot;
  }

  void takeOldest() {
    m_lastRead = m_oldest;
    m_oldest = (m_oldest + 1) % m_slots.size();
    --m_unread;
  }

  // Grows the ring when the connections ask for a longer buffer, so that a
  // new sample never overwrites an unread one or the last one read.
  void makeRoom() {
    const std::size_t wanted = std::max(bufferLength(), m_unread) + 1;
    if (m_slots.size() >= wanted) return;
    std::vector<std::unique_ptr<cdrMemoryStream>> slots(wanted);
    if (!m_slots.empty()) {
      slots[0] = std::move(m_slots[m_lastRead]);
      for (std::size_t k = 0; k < m_unread; ++k)
        slots[1 + k] = std::move(m_slots[(m_oldest + k) % m_slots.size()]);
    }
    for (std::unique_ptr<cdrMemoryStream>& slot : slots)
      if (!slot) slot.reset(new cdrMemoryStream);
    m_slots.swap(slots);
    m_lastRead = 0;
    m_oldest = 1;
  }

  DataType& m_value;
  unsigned long m_dropped;
  bool m_received;
  std::mutex m_mutex;
  std::vector<std::unique_ptr<cdrMemoryStream>> m_slots;
  std::size_t m_oldest = 0;
  std::size_t m_unread = 0;
  std::size_t m_lastRead = 0;
};

}  // namespace RTC

#endif
