// What a Manager keeps, shared by the files that implement it.
#ifndef MIDDLEWARE_SRC_MANAGERSTATE_H
#define MIDDLEWARE_SRC_MANAGERSTATE_H

#include <rtm/Manager.h>

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
  std::unique_ptr<ExecutionContext> context;
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

  // Guards factories and components. Never held while a component callback
  // runs: callbacks may call back into the manager.
  std::mutex mutex;
  std::map<std::string, Factory> factories;
  std::vector<Component> components;  // in creation order
  bool closed = false;                // set once shutdown has taken the components

  // Shutdown: SIGINT, SIGTERM and terminate() write to wakePipe; the
  // watcher thread reads it and shuts the manager down.
  int wakePipe[2] = {-1, -1};
  std::thread watcher;
  bool signalsInstalled = false;
  struct sigaction previousInt;
  struct sigaction previousTerm;
  std::mutex shutdownMutex;
  std::condition_variable shutdownDone;
  bool shutdownStarted = false;
  std::thread::id shutdownThread;
  std::atomic<bool> finished{false};
};

}  // namespace RTC

#endif
