#include "tools/replay/ReplaySession.h"

#include "component/Strolvex.h"
#include "component/StrolvexInit.h"
#include "launcher/InstalledModules.h"
#include "launcher/ManagerArguments.h"
#include "launcher/ManagerStop.h"
#include "launcher/MiddlewareSeries.h"
#include "tools/replay/ScanReplayDriver.h"

namespace {

const char* const kDriverInstance = "ScanReplay0";
const char* const kStrolvexInstance = "Strolvex0";

// The module-init procedure has no context argument: it leaves the two
// components it creates here.
RTC::RTObject_impl* g_driver = nullptr;
RTC::RTObject_impl* g_strolvex = nullptr;

void createReplayComponents(RTC::Manager* manager) {
  StrolvexInit(manager);
  registerScanReplayDriver(manager);
  g_driver = manager->createComponent(ScanReplayDriver::kTypeName);
  g_strolvex = manager->createComponent("Strolvex");
}

// One entry per connection: a manager keeps only one port of an entry.
std::string preconnections() {
  const std::string driver = kDriverInstance;
  const std::string strolvex = kStrolvexInstance;
  std::string list = driver + ".range_data?port=" + strolvex + ".range_data";
  for (const char* port : {"human_dataX", "human_dataY", "human_dataV", "human_dataT",
                           "count_data"})
    list += "," + strolvex + "." + port + "?port=" + driver + "." + port;
  return list;
}

// The replay's own settings go over the user's. Each tick runs one cycle
// in this thread (SynchExtTriggerEC); the rate is high so that a tick does
// not sleep out a period after its cycle, and transitions do not wait for
// a cycle that only the next tick brings.
void configureReplay(ManagerArguments& arguments) {
  arguments.setDefault("logger.log_level", "WARN");
  arguments.set("exec_cxt.periodic.type", "SynchExtTriggerEC");
  arguments.set("exec_cxt.periodic.rate", "1000000000");
  arguments.set("exec_cxt.sync_transition", "NO");
  arguments.set("naming.enable", "NO");
  arguments.set("manager.components.preconnect", preconnections());
  arguments.set("manager.components.preactivation", kStrolvexInstance);
  fitToMiddleware(arguments);
  addInstalledModuleFolder(arguments);
}

void copySequence(const RTC::TimedLongSeq& from, std::vector<int32_t>& to) {
  to.resize(from.data.length());
  for (CORBA::ULong k = 0; k < from.data.length(); ++k) to[k] = from.data[k];
}

}  // namespace

bool ReplaySession::start(const std::string& program, ManagerArguments& arguments) {
  configureReplay(arguments);
  managerArgv_ = arguments.managerArgv(program);
  manager_ = RTC::Manager::init(static_cast<int>(managerArgv_.size() - 1), managerArgv_.data());
  if (manager_ == nullptr) return false;
  manager_->setModuleInitProc(createReplayComponents);
  manager_->activateManager();
  manager_->runManager(true);

  driver_ = dynamic_cast<ScanReplayDriver*>(g_driver);
  strolvex_ = dynamic_cast<Strolvex*>(g_strolvex);
  if (driver_ == nullptr || strolvex_ == nullptr) return false;
  strolvex_->setClock(&clock_);

  RTC::ExecutionContext_var context = g_strolvex->get_context(0);
  if (CORBA::is_nil(context)) return false;
  trigger_ = OpenRTM::ExtTrigExecutionContextService::_narrow(context);
  if (CORBA::is_nil(trigger_)) return false;
  // The preactivation takes effect at the first cycle; with no scan
  // waiting that cycle changes nothing else.
  trigger_->tick();
  return strolvexIsActive();
}

// Lets go of the context before the manager takes everything down.
void ReplaySession::stop() {
  if (strolvex_ != nullptr) {
    strolvex_->setClock(nullptr);
    strolvex_->setPassCountingObserver(nullptr);
  }
  strolvex_ = nullptr;
  driver_ = nullptr;
  trigger_ = OpenRTM::ExtTrigExecutionContextService::_nil();
  if (manager_ != nullptr) stopRunningManager(*manager_);
  manager_ = nullptr;
}

bool ReplaySession::strolvexIsActive() const {
  if (strolvex_ == nullptr) return false;
  RTC::ExecutionContext_var context = g_strolvex->get_context(0);
  return context->get_component_state(g_strolvex->getObjRef()) == RTC::ACTIVE_STATE;
}

void ReplaySession::setPassCountingObserver(PassCountingObserver* observer) {
  if (strolvex_ != nullptr) strolvex_->setPassCountingObserver(observer);
}

bool ReplaySession::replayScan(ScanRecord& scan, CycleResult& result) {
  clock_.set(wrapMilliseconds(static_cast<uint64_t>(scan.t_ms)));
  if (!driver_->sendScan(scan)) return false;
  trigger_->tick();
  ResultInPorts& results = driver_->results();
  result.published = results.takeNext();
  if (result.published) {
    copySequence(results.lateral(), result.x);
    copySequence(results.forward(), result.y);
    copySequence(results.speeds(), result.v);
    copySequence(results.headings(), result.h);
    copySequence(results.counts(), result.count);
  }
  return true;
}
