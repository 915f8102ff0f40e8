// The start-up module: the program's entry into its own logic, the global
// state every window shares, and the sound and program-launching services.
#pragma once

#include <QString>

class QWidget;

namespace modMain {

// Root of the disc's drive ("E:\"), empty until the disc is found.
inline QString gCdRoot;
// The program's folder with one backslash appended ("C:\Menu\", or "E:\\" at
// a drive's root).
inline QString gAppPath;
// Key of the listed category, empty while none has been chosen.
inline QString gGameCategory;
// The selected game, from its catalogue record; an empty name means that no
// game is selected.
inline QString gGameName;
inline QString gGameFolder;
inline QString gGameProgram;
inline QString gGameParameters;
inline QString gGameHddFlag;

// Fills the global state, finds the disc and shows the main screen centred on
// the screen. Returns true when the main screen is shown; false when the disc
// was not found, after the request for it has been closed and the program
// ended (it returns at all only when a test replaced the ending).
bool Main();

// Plays a sound file of the program's folder without waiting.
void playSound(const QString &file);

// Has the shell open a file with parameters; a refusal is reported in a modal
// message box titled "Program Execution Failed".
void launchProgram(QWidget *owner, const QString &file, const QString &parameters);

// The message that launchProgram shows for a shell code of 32 or less.
QString shellFailureMessage(int code);

} // namespace modMain
