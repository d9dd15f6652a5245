#include "tools/sweep/SweepSignals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t terminationSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

}  // namespace

SweepSignals::SweepSignals() {
  const sigset_t signals = terminationSignals();
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  descriptor_ = signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC);
}

SweepSignals::~SweepSignals() {
  if (descriptor_ >= 0) close(descriptor_);
}

int SweepSignals::received() {
  signalfd_siginfo info;
  while (received_ == 0 && descriptor_ >= 0 &&
         read(descriptor_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
    received_ = static_cast<int>(info.ssi_signo);
  return received_;
}
