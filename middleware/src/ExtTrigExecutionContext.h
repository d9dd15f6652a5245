// Runs one cycle per tick(), in the thread that calls it.
#ifndef MIDDLEWARE_SRC_EXTTRIGEXECUTIONCONTEXT_H
#define MIDDLEWARE_SRC_EXTTRIGEXECUTIONCONTEXT_H

#include <rtm/ExtTrigExecutionContext.h>

#include <mutex>

namespace RTC {

class ExtTrigExecutionContext : public ExecutionContext, public OpenRTM::ExtTrigExecutionContextService {
 public:
  explicit ExtTrigExecutionContext(RTObject_impl& owner);

  void tick() override;
  OpenRTM::ExtTrigExecutionContextService* extTrigService() override;

 protected:
  void runOnContextThread(const std::function<void()>& task) override;
  void startWorker() override {}
  void stopWorker() override {}

 private:
  // Serialises ticks and transitions requested from several threads; a
  // callback may request a transition of its own component.
  std::recursive_mutex m_mutex;
};

}  // namespace RTC

#endif
