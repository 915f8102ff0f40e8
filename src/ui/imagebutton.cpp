#include "imagebutton.h"

namespace ui {

void rollOver(const ImageButton &button, std::initializer_list<const ImageButton *> others, SoundPlayer play)
{
    // Once per entry of the pointer, not once per movement.
    if (button.light->visible())
        return;
    play(kRolloverSound);
    for (const ImageButton *other : others)
        other->light->hide();
    button.light->show();
}

void lightsOut(std::initializer_list<const ImageButton *> buttons)
{
    for (const ImageButton *button : buttons)
        button->light->hide();
}

void pressDown(const ImageButton &button)
{
    if (button.indent)
        button.indent->show();
}

void release(const ImageButton &button)
{
    if (button.indent)
        button.indent->hide();
}

bool clickPasses(const ImageButton &button, SoundPlayer play)
{
    // The release hides the pressed look before a completed click arrives;
    // a click while it is still shown did not follow a release here.
    if (button.indent && button.indent->visible())
        return false;
    play(kClickSound);
    return true;
}

void connectPressedLook(const ImageButton &button)
{
    button.label->onMouseDown = [button] { pressDown(button); };
    button.label->onMouseUp = [button] { release(button); };
}

} // namespace ui
