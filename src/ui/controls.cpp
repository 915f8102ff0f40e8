// The toolkit-free side of the controls: the open-file dialog's call into the
// implementation.
#include "controls.h"

#include "backend.h"

namespace ui {

bool CommonDialog::ShowOpen(Window &owner)
{
    return backend::showOpen(*this, owner);
}

} // namespace ui
