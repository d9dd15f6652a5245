// Runs one Strolvex component in a manager of its own process.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <rtm/Manager.h>

#include "component/StrolvexInit.h"
#include "launcher/InstalledModules.h"
#include "launcher/ManagerArguments.h"
#include "launcher/MiddlewareSeries.h"
#include "launcher/TerminationSignals.h"

namespace {

void printUsage(std::FILE* stream) {
  std::fputs(
      "usage: strolvexcomp [-f FILE] [-o KEY:VALUE]... [-a] [-d] [-p PORT]\n"
      "Runs one Strolvex component (Strolvex0) in a middleware manager of its own.\n"
      "  -f FILE        the manager's configuration (otherwise ./rtc.conf, if any)\n"
      "  -o KEY:VALUE   one configuration key, over the file; repeatable\n"
      "  -a             no CORBA servant for the manager (real middleware only)\n"
      "  -d             run as the master manager (real middleware only)\n"
      "  -p PORT        the manager's CORBA port (real middleware only)\n"
      "  -h, --help     this text\n"
      "Log lines go to standard error unless logger.file_name says otherwise.\n"
      "SIGINT or SIGTERM shuts the manager down in order; the exit status is 0.\n"
      "A wrong option or an unreadable -f file ends it with status 1.\n",
      stream);
}

void moduleInit(RTC::Manager* manager) {
  StrolvexInit(manager);
  RTC::RTObject_impl* component = manager->createComponent("Strolvex");
  if (component == nullptr) {
    std::cerr << "Component create failed." << std::endl;
    abort();
  }
}

std::atomic<bool> g_running{false};

}  // namespace

int main(int argc, char** argv) {
  TerminationSignals signals;
  ManagerArguments arguments;
  std::string error;
  if (!arguments.parse(std::vector<std::string>(argv + 1, argv + argc),
                       ManagerArguments::kServantOptions, error)) {
    std::fprintf(stderr, "strolvexcomp: %s (see -h)\n", error.c_str());
    return 1;
  }
  if (arguments.helpWanted()) {
    printUsage(stdout);
    return 0;
  }
  if (!arguments.operands().empty()) {
    std::fprintf(stderr, "strolvexcomp: unexpected argument '%s' (see -h)\n",
                 arguments.operands().front().c_str());
    return 1;
  }
  fitToMiddleware(arguments);
  addInstalledModuleFolder(arguments);
  std::vector<char*> managerArgv = arguments.managerArgv(argv[0]);

  RTC::Manager* manager = RTC::Manager::init(static_cast<int>(managerArgv.size() - 1), managerArgv.data());
  manager->setModuleInitProc(moduleInit);
  manager->activateManager();
  // A manager asked to end before it runs would run on regardless (2.x)
  // or meet its own shut-down ORB (1.x): a signal that comes early is
  // answered once runManager has begun.
  signals.answer([manager](int) {
    while (!g_running) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    manager->terminate();
  });
  g_running = true;
  manager->runManager(false);
  return 0;
}
