// Windows has its fonts ready: nothing to prepare.
#include "fonts.h"

namespace platform {

void prepareFonts() {}

} // namespace platform
