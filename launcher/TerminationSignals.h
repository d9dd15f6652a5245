// SIGINT and SIGTERM for a program that runs a middleware manager.
//
// Every middleware series handles SIGINT alone (SIGTERM kills the process
// and leaves its name bound in the name server), and 2.x only once
// runManager runs. So both signals are taken from the process before the
// manager starts any thread, and one thread of ours waits for them.
#ifndef STROLVEX_LAUNCHER_TERMINATIONSIGNALS_H
#define STROLVEX_LAUNCHER_TERMINATIONSIGNALS_H

#include <atomic>
#include <functional>
#include <signal.h>

class TerminationSignals {
 public:
  // Blocks both signals in the calling thread, and so in every thread it
  // starts later: construct it first thing in main.
  TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // Starts the thread that waits for the first of the two signals and
  // calls onSignal with its number, once. A signal that came earlier is
  // answered now. The thread lives as long as the process.
  void answer(std::function<void(int)> onSignal);

  // The signal received so far, 0 if none; for a program that polls
  // instead of answering.
  int received() const { return m_received; }

 private:
  sigset_t m_signals;
  std::atomic<int> m_received;
};

#endif
