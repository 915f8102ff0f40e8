#include "access.h"

#include "window.h"

namespace ui::qt {

QWidget *widget(const Window &form)
{
    return widgetOf(form);
}

QWidget *widget(const Control *control)
{
    return dynamic_cast<QWidget *>(const_cast<Control *>(control));
}

Window *formOf(const QWidget *w)
{
    const auto *top = dynamic_cast<const FormWidget *>(w);
    return top && !top->form().unloaded() ? &top->form() : nullptr;
}

} // namespace ui::qt
