// Externally triggered execution contexts, reached through the service
// their references narrow to:
//
//   OpenRTM::ExtTrigExecutionContextService_var trigger =
//       OpenRTM::ExtTrigExecutionContextService::_narrow(context);
//   trigger->tick();
//
// "ExtTrigExecutionContext" runs its cycles on a thread of its own: tick()
// only wakes it, and ticks that arrive while a cycle runs are lost.
// "SynchExtTriggerEC" runs the cycle in the thread that calls tick(), which
// returns once the cycle is over.
#ifndef RTM_EXTTRIGEXECUTIONCONTEXT_H
#define RTM_EXTTRIGEXECUTIONCONTEXT_H

#include <rtm/idl/OpenRTMSkel.h>

#endif
