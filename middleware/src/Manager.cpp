#include <rtm/Manager.h>

#include "ConfigFile.h"
#include "ManagerOptions.h"
#include "ManagerState.h"

#include <coil/stringutil.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace RTC {

namespace {

std::mutex g_instanceMutex;
Manager* g_instance = nullptr;

// Read by the signal handler, so of the one type it may safely read.
volatile std::sig_atomic_t g_signalFd = -1;

extern "C" void onTerminationSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  if (write(g_signalFd, &byte, 1) < 0) {
    // Nothing can be done inside a signal handler. The write end does not
    // block, and a full pipe already holds a pending wake-up.
  }
  errno = savedErrno;
}

}  // namespace

Manager* Manager::init(int argc, char** argv) {
  std::lock_guard<std::mutex> lock(g_instanceMutex);
  if (g_instance != nullptr && !g_instance->m_state->finished) {
    return g_instance;
  }
  const coil::Properties config = configurationFromArguments(argc, argv);
  delete g_instance;
  g_instance = new Manager(config);
  return g_instance;
}

Manager& Manager::instance() {
  {
    std::lock_guard<std::mutex> lock(g_instanceMutex);
    if (g_instance != nullptr && !g_instance->m_state->finished) {
      return *g_instance;
    }
  }
  return *init(0, nullptr);
}

Manager::Manager(const coil::Properties& config) : m_state(new State), rtclog("manager") {
  m_state->config = config;
  Logger::configure(config);
  if (pipe2(m_state->wakePipe, O_CLOEXEC) != 0) {
    RTC_FATAL(("cannot create the shutdown pipe: %s", std::strerror(errno)));
    m_state->wakePipe[0] = m_state->wakePipe[1] = -1;
  } else if (fcntl(m_state->wakePipe[1], F_SETFL, O_NONBLOCK) != 0) {
    RTC_ERROR(("cannot make the shutdown pipe non-blocking: %s", std::strerror(errno)));
  }
}

Manager::~Manager() {
  shutdown();
  if (m_state->everRun) join();
  close(m_state->wakePipe[0]);
  close(m_state->wakePipe[1]);
}

void Manager::setModuleInitProc(ModuleInitProc proc) { m_state->initProc = proc; }

coil::Properties& Manager::getConfig() { return m_state->config; }

// A failed step is logged and the later ones still run, so one missing
// module or component does not take the rest of the system down with it.
bool Manager::activateManager() {
  m_state->activated = true;
  bool ok = preloadModules();
  if (m_state->initProc != nullptr) {
    m_state->initProc(this);
  }
  ok = precreateComponents() && ok;
  ok = preconnectComponents() && ok;
  ok = preactivateComponents() && ok;
  return ok;
}

bool Manager::preloadModules() {
  bool ok = true;
  for (const std::string& entry :
       coil::split(m_state->config.getProperty("manager.modules.preload"), ",", true)) {
    // "file" or "file(InitFunc)"
    std::string file = entry;
    std::string initFunc;
    const std::string::size_type open = entry.find('(');
    if (open != std::string::npos) {
      const std::string::size_type close = entry.find(')', open);
      if (close == std::string::npos) {
        RTC_ERROR(("manager.modules.preload: malformed entry '%s'", entry.c_str()));
        ok = false;
        continue;
      }
      file = entry.substr(0, open);
      initFunc = entry.substr(open + 1, close - open - 1);
      coil::eraseBothEndsBlank(file);
      coil::eraseBothEndsBlank(initFunc);
    }
    if (load(file, initFunc) != RTC_OK) {
      RTC_ERROR(("manager.modules.preload: cannot load '%s'", entry.c_str()));
      ok = false;
    }
  }
  return ok;
}

bool Manager::precreateComponents() {
  bool ok = true;
  for (const std::string& args :
       coil::split(m_state->config.getProperty("manager.components.precreate"), ",", true)) {
    if (createComponent(args.c_str()) == nullptr) {
      RTC_ERROR(("manager.components.precreate: cannot create '%s'", args.c_str()));
      ok = false;
    }
  }
  return ok;
}

// "Comp0.port?port=Comp1.port&dataflow_type=push": one connection per
// entry. The real manager keeps only one port= of an entry and cannot read
// the 1.1 form "Comp0.port:Comp1.port(...)": both are refused here with a
// message, rather than connecting something else than the entry says.
bool Manager::preconnectComponents() {
  bool ok = true;
  for (const std::string& entry :
       coil::split(m_state->config.getProperty("manager.components.preconnect"), ",", true)) {
    const std::string::size_type query = entry.find('?');
    const std::string first = entry.substr(0, query);
    if (query == std::string::npos) {
      RTC_ERROR(("manager.components.preconnect: '%s' is not 'Comp0.port?port=Comp1.port'%s",
                 entry.c_str(),
                 first.find(':') != std::string::npos ? " (the form 'A:B(...)' is OpenRTM-aist 1.1's)" : ""));
      ok = false;
      continue;
    }
    std::vector<std::string> ports;
    for (const std::string& param : coil::split(entry.substr(query + 1), "&", true)) {
      const std::string::size_type equals = param.find('=');
      std::string key = param.substr(0, equals);
      coil::eraseBothEndsBlank(key);
      if (key.compare(0, 4, "port") == 0 && equals != std::string::npos) {
        std::string port = param.substr(equals + 1);
        coil::eraseBothEndsBlank(port);
        ports.push_back(port);
      }
    }
    if (ports.size() != 1) {
      RTC_ERROR(("manager.components.preconnect: '%s' names %s; give one entry per connection",
                 entry.c_str(), ports.empty() ? "no port to connect to" : "several ports"));
      ok = false;
      continue;
    }
    if (!connectPorts(first, ports[0], entry)) {
      RTC_ERROR(("manager.components.preconnect: cannot connect %s and %s", first.c_str(),
                 ports[0].c_str()));
      ok = false;
    }
  }
  return ok;
}

bool Manager::preactivateComponents() {
  bool ok = true;
  for (const std::string& name :
       coil::split(m_state->config.getProperty("manager.components.preactivation"), ",", true)) {
    RTObject_impl* comp = getComponent(name.c_str());
    if (comp == nullptr) {
      RTC_ERROR(("manager.components.preactivation: no component '%s'", name.c_str()));
      ok = false;
    } else {
      ExecutionContext_var context = comp->get_context(0);
      if (context->activate_component(comp->getObjRef()) != RTC_OK) {
        RTC_ERROR(("manager.components.preactivation: '%s' did not activate", name.c_str()));
        ok = false;
      }
    }
  }
  return ok;
}

ReturnCode_t Manager::load(const std::string& file_name, const std::string& init_func) {
  return m_state->modules.load(file_name, init_func,
                               m_state->config.getProperty("manager.modules.load_path"), this, rtclog);
}

void Manager::runManager(bool no_block) {
  if (m_state->wakePipe[0] < 0) {
    // Without the pipe neither signals nor terminate() can reach a watcher;
    // signals keep their default action and only shutdown() ends the wait.
    RTC_ERROR(("runManager: no shutdown pipe; SIGINT ends the process without finalizing"));
    if (!no_block) {
      std::unique_lock<std::mutex> lock(m_state->shutdownMutex);
      m_state->shutdownDone.wait(lock, [this] { return m_state->finished.load(); });
    }
    return;
  }
  {
    std::lock_guard<std::mutex> lock(m_state->shutdownMutex);
    if (!m_state->signalsInstalled && !m_state->shutdownStarted) {
      g_signalFd = m_state->wakePipe[1];
      struct sigaction action {};
      action.sa_handler = onTerminationSignal;
      sigemptyset(&action.sa_mask);
      // SIGINT only, as the real middleware: a program that wants SIGTERM
      // handled installs its own handler.
      sigaction(SIGINT, &action, &m_state->previousInt);
      m_state->signalsInstalled = true;
    }
  }
  {
    std::lock_guard<std::mutex> lock(m_state->shutdownMutex);
    m_state->everRun = true;
  }
  startWatcher();
  if (!no_block) {
    join();
  }
}

void Manager::startWatcher() {
  std::lock_guard<std::mutex> lock(m_state->shutdownMutex);
  if (m_state->watcher.joinable()) {
    return;
  }
  m_state->watcher = std::thread([this] {
    char byte;
    while (read(m_state->wakePipe[0], &byte, 1) < 0 && errno == EINTR) {
    }
    shutdown();
  });
}

void Manager::terminate() {
  const char byte = 1;
  if (write(m_state->wakePipe[1], &byte, 1) < 0 && errno != EAGAIN) {
    RTC_ERROR(("terminate: cannot wake the manager: %s", std::strerror(errno)));
  }
}

void Manager::shutdown() {
  {
    std::unique_lock<std::mutex> lock(m_state->shutdownMutex);
    if (m_state->shutdownStarted) {
      // A second caller waits for the first, unless it is the first.
      if (m_state->shutdownThread != std::this_thread::get_id()) {
        m_state->shutdownDone.wait(lock, [this] { return m_state->finished.load(); });
      }
      return;
    }
    m_state->shutdownStarted = true;
    m_state->shutdownThread = std::this_thread::get_id();
  }
  std::vector<State::Component> components;
  std::vector<State::Component> exited;
  {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    components.swap(m_state->components);
    exited.swap(m_state->exited);
    m_state->closed = true;
  }
  for (auto it = components.rbegin(); it != components.rend(); ++it) {
    finalizeEntry(*it);
    destroyEntry(*it);
  }
  for (State::Component& entry : exited) {
    destroyEntry(entry);
  }
  std::lock_guard<std::mutex> lock(m_state->shutdownMutex);
  if (m_state->signalsInstalled) {
    sigaction(SIGINT, &m_state->previousInt, nullptr);
    g_signalFd = -1;
    m_state->signalsInstalled = false;
  }
  m_state->finished = true;
  m_state->shutdownDone.notify_all();
  RTC_INFO(("manager shut down"));
  // Release a watcher still waiting for a signal.
  terminate();
}

void Manager::join() {
  std::thread watcher;
  {
    std::lock_guard<std::mutex> lock(m_state->shutdownMutex);
    if (!m_state->everRun) {
      RTC_ERROR(("join: the manager was never run (runManager); there is no end to wait for"));
      return;
    }
    if (!m_state->watcher.joinable() || m_state->watcher.get_id() == std::this_thread::get_id()) {
      return;
    }
    watcher.swap(m_state->watcher);
  }
  watcher.join();
}

}  // namespace RTC
