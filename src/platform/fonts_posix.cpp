// Fontconfig reads its configuration files and font caches on first use,
// which takes a good part of the start-up. FcInit loads them into the
// process-wide default configuration. It is safe from any thread; a caller
// that comes while another is still loading loads a copy of its own and
// keeps whichever was installed first, so it pays to call it early, on one
// thread.
#include "fonts.h"

#include <fontconfig/fontconfig.h>

namespace platform {

void loadFontConfiguration()
{
    FcInit();
}

} // namespace platform
