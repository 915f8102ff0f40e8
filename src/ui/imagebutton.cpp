#include "imagebutton.h"

#include <cstddef>
#include <vector>

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

void arrowGrid(std::initializer_list<std::initializer_list<HotArea *>> rows)
{
    std::vector<std::vector<HotArea *>> grid;
    for (const auto &row : rows)
        grid.emplace_back(row);
    for (std::size_t r = 0; r < grid.size(); ++r) {
        for (std::size_t c = 0; c < grid[r].size(); ++c) {
            HotArea *area = grid[r][c];
            if (!area)
                continue;
            const auto at = [grid](std::size_t row, std::size_t column) -> HotArea * {
                return row < grid.size() && column < grid[row].size() ? grid[row][column] : nullptr;
            };
            // Unsigned wrap-around past the first row or column gives null too.
            area->onArrow = [at, r, c](Arrow arrow) {
                HotArea *next = nullptr;
                switch (arrow) {
                case Arrow::Up: next = at(r - 1, c); break;
                case Arrow::Down: next = at(r + 1, c); break;
                case Arrow::Left: next = at(r, c - 1); break;
                case Arrow::Right: next = at(r, c + 1); break;
                }
                if (next)
                    next->setFocus();
            };
        }
    }
}

std::string spokenWord(const char *word)
{
    std::string spoken = word;
    for (char &c : spoken)
        if (c == '\n')
            c = ' ';
    return spoken;
}

} // namespace ui
