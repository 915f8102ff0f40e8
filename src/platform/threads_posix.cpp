#include "threads.h"

#include <sched.h>

namespace platform {

void runWhenIdle()
{
#ifdef SCHED_IDLE
    // On Linux this applies to the calling thread alone. Where the system
    // refuses, the thread simply keeps its priority.
    const sched_param none{};
    (void)::sched_setscheduler(0, SCHED_IDLE, &none);
#endif
}

} // namespace platform
