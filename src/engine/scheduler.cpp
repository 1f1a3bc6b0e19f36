// Skeleton: replaced by the real implementation.
#include "engine/scheduler.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
void Scheduler::Timer_startloop_Timer() {  }  // TODO
void Scheduler::Timer_start_Timer() {  }  // TODO
void Scheduler::zufall_wartezeit() {  }  // TODO
void Scheduler::ausfuehren() {  }  // TODO

}  // namespace mavorin
