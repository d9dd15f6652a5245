// An in-port: a ring buffer of bufsize samples. When it is full the oldest
// sample makes room for the new one.
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
  InPort(const char* name, DataType& value, int bufsize = 64, bool /*read_block*/ = false,
         bool /*write_block*/ = false, int /*read_timeout*/ = 0, int /*write_timeout*/ = 0)
      : InPortBase(name, typeid(DataType).name()),
        m_value(value),
        m_capacity(bufsize > 0 ? static_cast<std::size_t>(bufsize) : 1),
        m_dropped(0) {}

  ~InPort() override { disconnectAll(); }

  bool isNew() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_buffer.empty();
  }

  bool isEmpty() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_buffer.empty();
  }

  // Moves the oldest unread sample into the bound variable.
  bool read() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_buffer.empty()) {
      return false;
    }
    m_value = m_buffer.front();
    m_buffer.pop_front();
    return true;
  }

 protected:
  void receive(const void* sample) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_buffer.size() == m_capacity) {
      m_buffer.pop_front();
      reportDrop(++m_dropped);
    }
    m_buffer.push_back(*static_cast<const DataType*>(sample));
  }

 private:
  DataType& m_value;
  const std::size_t m_capacity;
  unsigned long m_dropped;
  std::mutex m_mutex;
  std::deque<DataType> m_buffer;
};

}  // namespace RTC

#endif
