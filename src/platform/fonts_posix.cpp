// Fontconfig reads its configuration files and font caches on first use,
// which takes a good part of the start-up. FcInit loads them into the
// process-wide default configuration. It is safe from any thread; a caller
// that comes while another is still loading loads a copy of its own and
// keeps whichever was installed first, so the time saved depends on the
// thread finishing first: it has the whole connection to the display for
// that, long before the first text is laid out.
#include "fonts.h"

#include <fontconfig/fontconfig.h>

#include <thread>

namespace platform {

void prepareFonts()
{
    std::thread([] { FcInit(); }).detach();
}

} // namespace platform
