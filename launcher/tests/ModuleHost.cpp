// A manager and nothing else, as a middleware's own daemon runs: what it
// hosts comes from its configuration (modules to load, components to
// create). The component library is not linked.
#include <rtm/Manager.h>

#include <pthread.h>
#include <signal.h>

#include "launcher/ManagerStop.h"

int main(int argc, char** argv) {
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  RTC::Manager* manager = RTC::Manager::init(argc, argv);
  manager->activateManager();
  manager->runManager(true);
  int number = 0;
  sigwait(&stop, &number);
  stopRunningManager(*manager);
  return 0;
}
