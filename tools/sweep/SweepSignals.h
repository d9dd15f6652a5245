// SIGINT and SIGTERM for the sweep, read from a descriptor the sweep polls
// with its replays' pipes. No thread waits for them: the sweep forks a
// process per configuration, and a process forked from one with several
// threads may not safely start threads of its own, as a manager does.
#ifndef STROLVEX_TOOLS_SWEEP_SWEEPSIGNALS_H
#define STROLVEX_TOOLS_SWEEP_SWEEPSIGNALS_H

class SweepSignals {
 public:
  // Blocks both signals in the calling thread (and so in the processes it
  // forks, which the sweep ends itself): construct it first thing in main.
  SweepSignals();
  ~SweepSignals();
  SweepSignals(const SweepSignals&) = delete;
  SweepSignals& operator=(const SweepSignals&) = delete;

  // Readable once a signal is pending; -1 when none could be made.
  int descriptor() const { return descriptor_; }
  // The first signal received so far, 0 if none.
  int received();

 private:
  int descriptor_;
  int received_ = 0;
};

#endif
