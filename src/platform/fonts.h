// The system's font configuration, loaded ahead of the first window.
#pragma once

namespace platform {

// Loads the system's font configuration (Fontconfig on POSIX) if it is not
// loaded yet; safe from any thread. Where the system has nothing to load, it
// does nothing.
void loadFontConfiguration();

} // namespace platform
