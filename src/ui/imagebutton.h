// The reactions every image button shares: a hot area over the button drawn
// in the background, its Light picture (highlight) and, on most buttons, its
// Indent picture (pressed look). Written once for every window; the main
// screen adds its status line and its category marks.
#pragma once

#include "controls.h"

#include <initializer_list>
#include <string>

namespace ui {

struct ImageButton {
    HotArea *label;
    Picture *light;
    Picture *indent;  // null when the button has no pressed look
};

// Plays a sound file of the program's folder ("ROLLOVER.WAV").
using SoundPlayer = void (*)(const std::string &file);

// The window's sound names, defined once.
inline constexpr const char *kRolloverSound = "ROLLOVER.WAV";
inline constexpr const char *kClickSound = "BUTCLICK.WAV";

// Pointer movement over a dialog button: unless its highlight is shown
// already, the roll-over sound plays, the other buttons' highlights go out
// and its own comes on.
void rollOver(const ImageButton &button, std::initializer_list<const ImageButton *> others, SoundPlayer play);

// Pointer movement over the window's background or over a control that
// takes no part in the highlight: every highlight goes out.
void lightsOut(std::initializer_list<const ImageButton *> buttons);

// A mouse button goes down or up on the hot area: the pressed look shows
// until the release.
void pressDown(const ImageButton &button);
void release(const ImageButton &button);

// A click: false, without a sound, while the pressed look is still shown
// (a click that the release did not precede); else the click sound plays
// and the action may run.
bool clickPasses(const ImageButton &button, SoundPlayer play);

// Connects the hot area's press and release to pressDown and release.
void connectPressedLook(const ImageButton &button);

// Makes the arrow keys move the focus within a block of hot areas, given row
// by row (a null entry is a gap): Up and Down go to the row above or below,
// Left and Right along the row, and the focus stays put at the block's edge.
void arrowGrid(std::initializer_list<std::initializer_list<HotArea *>> rows);

// A button's drawn word as one line, for its accessible name: "Copy\nto
// Hard\nDrive" reads "Copy to Hard Drive".
std::string spokenWord(const char *word);

} // namespace ui
