// The start-up module: the program's entry into its own logic, the global
// state every window shares, and the sound and program-launching services.
// Texts are UTF-8.
#pragma once

#include <string>

namespace ui {
class Window;
}

namespace modMain {

// Root of the disc's drive ("E:\"), empty until the disc is found.
inline std::string gCdRoot;
// The program's folder with one backslash appended ("C:\Menu\", or "E:\\" at
// a drive's root).
inline std::string gAppPath;
// Key of the listed category, empty while none has been chosen.
inline std::string gGameCategory;
// The selected game, from its catalogue record; an empty name means that no
// game is selected.
inline std::string gGameName;
inline std::string gGameFolder;
inline std::string gGameProgram;
inline std::string gGameParameters;
inline std::string gGameHddFlag;

// The disc request, shown when the disc cannot be found or read.
inline constexpr const char *kDiscRequest = "Please ensure that the 'Quorvia' CD is inside the CD-ROM drive.";

// Fills the global state, finds the disc and shows the main screen centred on
// the screen. Returns true when the main screen is shown; false when the disc
// was not found, after the request for it has been closed and the program
// ended (it returns at all only when a test replaced the ending).
bool Main();

// Plays a sound file of the program's folder without waiting.
void playSound(const std::string &file);

// Has the shell open a file with parameters; a refusal is reported in a modal
// message box titled "Program Execution Failed", owned by `owner` (may be null).
void launchProgram(ui::Window *owner, const std::string &file, const std::string &parameters);

// The message that launchProgram shows for a shell code of 32 or less.
std::string shellFailureMessage(int code);

} // namespace modMain
