// Windows has its fonts ready: nothing to load.
#include "fonts.h"

namespace platform {

void loadFontConfiguration() {}

} // namespace platform
