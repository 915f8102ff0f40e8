// Threads that prepare things in the background.
#pragma once

namespace platform {

// Makes the calling thread run only when the processors have nothing else to
// do, so that work prepared ahead never slows the thread the user waits for.
void runWhenIdle();

} // namespace platform
