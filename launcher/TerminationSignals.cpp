#include "launcher/TerminationSignals.h"

#include <pthread.h>

#include <thread>

TerminationSignals::TerminationSignals() : m_received(0) {
  sigemptyset(&m_signals);
  sigaddset(&m_signals, SIGINT);
  sigaddset(&m_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &m_signals, nullptr);
}

void TerminationSignals::answer(std::function<void(int)> onSignal) {
  std::thread([this, onSignal] {
    int number = 0;
    while (sigwait(&m_signals, &number) != 0 || (number != SIGINT && number != SIGTERM)) {
    }
    m_received = number;
    onSignal(number);
  }).detach();
}
