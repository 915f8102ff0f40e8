// Opening files through the system shell, sounds, message boxes and the end
// of the program. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The shell's result codes for a file it could not open; any code over 32
// is success.
enum class ShellCode : int {
    FileNotFound = 2,
    PathNotFound = 3,
    AccessDenied = 5,
    OutOfMemory = 8,
    BadFormat = 11,
    SharingViolation = 26,
    AssociationIncomplete = 27,
    DdeTimeout = 28,
    DdeFailed = 29,
    DdeBusy = 30,
    NoAssociation = 31,
    DllNotFound = 32,
};
inline constexpr int kShellSuccessAbove = 32;

// Opens a file the way the shell does ("OPEN" verb, empty working folder, so
// the started program inherits the current folder; normal window). Returns the
// shell's code: over 32 is success; 2 file not found, 3 path not found,
// 31 no association, ... `file` is a DOS path, or a bare program name that is
// searched on the system's search path.
int shellOpen(std::uintptr_t ownerWindow, const std::string &file, const std::string &parameters);

// Plays a wave file without waiting, cutting off the sound that is playing.
// A missing or unplayable file gives the system's default beep.
void playWave(const std::string &path);

// Gets the sound player ready on a thread of its own, so that the first sound
// does not wait for it. Where the player needs no loading, it does nothing.
void prepareSound();

// A modal message box with an exclamation icon and one OK button.
void messageBox(std::uintptr_t ownerWindow, const std::string &text, const std::string &title);

// Ends the program at once: every event loop, nested modal ones included, is
// left and no further handler runs. Returns only when a test replaced it.
void endProgram();

} // namespace platform
