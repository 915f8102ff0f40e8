// Fontconfig reads its configuration files and font caches on first use,
// which takes a good part of the start-up. FcInit loads them into the
// process-wide default configuration; it is safe from any thread, and a
// second caller that comes while it runs simply waits for or reuses it.
#include "fonts.h"

#include <fontconfig/fontconfig.h>

#include <thread>

namespace platform {

void prepareFonts()
{
    std::thread([] { FcInit(); }).detach();
}

} // namespace platform
