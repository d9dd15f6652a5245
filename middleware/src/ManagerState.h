// What a Manager keeps, shared by the files that implement it.
#ifndef MIDDLEWARE_SRC_MANAGERSTATE_H
#define MIDDLEWARE_SRC_MANAGERSTATE_H

#include <rtm/Manager.h>

#include "ExecutionContextBase.h"
#include "ModuleLoader.h"

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace RTC {

struct Manager::ComponentEntry {
  RTObject_impl* object;
  std::unique_ptr<ExecutionContextBase, ReleaseReference> context;
  RtcDeleteFunc destroy;
};

struct Manager::State {
  struct Factory {
    coil::Properties profile;
    RtcNewFunc create;
    RtcDeleteFunc destroy;
  };
  typedef ComponentEntry Component;

  coil::Properties config;
  ModuleInitProc initProc = nullptr;
  ModuleLoader modules;
  // Set once activateManager has begun: components are made from then on.
  std::atomic<bool> activated{false};

  // Guards factories and both component lists. Never held while a
  // component callback runs: callbacks may call back into the manager.
  std::mutex mutex;
  std::map<std::string, Factory> factories;
  std::vector<Component> components;  // in creation order
  std::vector<Component> exited;      // finalized, awaiting clean-up
  bool closed = false;                // set once shutdown has taken the components

  // Shutdown: SIGINT and terminate() write to wakePipe; the watcher thread
  // reads it and shuts the manager down.
  int wakePipe[2] = {-1, -1};
  std::thread watcher;
  bool everRun = false;
  bool signalsInstalled = false;
  struct sigaction previousInt;
  std::mutex shutdownMutex;
  std::condition_variable shutdownDone;
  bool shutdownStarted = false;
  std::thread::id shutdownThread;
  std::atomic<bool> finished{false};
};

}  // namespace RTC

#endif
