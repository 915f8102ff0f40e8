// Getting the system's font configuration ready before the first window needs it.
#pragma once

namespace platform {

// Starts loading the system's font configuration on a thread of its own, so
// that it runs while the program connects to the display; the first text
// laid out then finds it ready. Call once, first thing in main(). Where the
// system has nothing to prepare, it does nothing.
void prepareFonts();

} // namespace platform
