// An in-port: a ring buffer shared by all its connections. When it is full
// the oldest sample makes room for the new one; reading an empty buffer
// reads the last sample back, so a reader asks isNew() first.
#ifndef RTM_INPORT_H
#define RTM_INPORT_H

#include <rtm/InPortBase.h>

#include <deque>
#include <mutex>
#include <typeinfo>

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
    return !m_buffer.empty();
  }

  bool isEmpty() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_buffer.empty();
  }

  // Moves the oldest unread sample into the bound variable; with nothing
  // unread, the last sample read is read again. False only before the
  // first sample.
  bool read() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_buffer.empty()) {
      if (!m_received) {
        return false;
      }
      m_value = m_last;
      return true;
    }
    m_last = m_buffer.front();
    m_buffer.pop_front();
    m_value = m_last;
    return true;
  }

 protected:
  void receive(const void* sample) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    while (!m_buffer.empty() && m_buffer.size() >= bufferLength()) {
      m_buffer.pop_front();
      reportDrop(++m_dropped);
    }
    m_buffer.push_back(*static_cast<const DataType*>(sample));
    m_received = true;
  }

 private:
  DataType& m_value;
  unsigned long m_dropped;
  bool m_received;
  DataType m_last;
  std::mutex m_mutex;
  std::deque<DataType> m_buffer;
};

}  // namespace RTC

#endif
