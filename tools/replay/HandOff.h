// Passes items from one thread to another in order. The number of items in
// circulation bounds it: a stage hands on what it took from the one before,
// so a push never has to wait.
#ifndef STROLVEX_TOOLS_REPLAY_HANDOFF_H
#define STROLVEX_TOOLS_REPLAY_HANDOFF_H

#include <condition_variable>
#include <deque>
#include <mutex>

template <class T>
class HandOff {
 public:
  void push(T item) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      items_.push_back(item);
    }
    ready_.notify_one();
  }

  // Waits for the next item; false once the hand-off is closed and empty.
  bool pop(T& item) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [this] { return !items_.empty() || closed_; });
    if (items_.empty()) return false;
    item = items_.front();
    items_.pop_front();
    return true;
  }

  // No more items will come: a waiting pop returns what is left, then false.
  void close() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closed_ = true;
    }
    ready_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<T> items_;
  bool closed_ = false;
};

#endif
