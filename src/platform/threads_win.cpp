#include "threads.h"

#include <windows.h>

namespace platform {

void runWhenIdle()
{
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_IDLE);
}

} // namespace platform
