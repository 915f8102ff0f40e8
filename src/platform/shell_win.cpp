// The shell, sounds, message boxes and the end of the program on Windows.
#include "system.h"
#include "drives.h"
#include "shell.h"
#include "win_load.h"
#include "win_text.h"

#include <mmsystem.h>
#include <shellapi.h>

namespace platform::system {
namespace {

HWND windowOf(std::uintptr_t handle)
{
    return reinterpret_cast<HWND>(handle);
}

// A path for an A function: a DOS path as the system takes it, or a bare name
// (a program on the search path) as it is.
std::optional<std::string> pathArgument(const std::string &path)
{
    const auto host = toHostPath(path);
    return win::ansiPath(host ? *host : path);
}

// Whether the path names a file inside a folder that does not exist.
bool folderMissing(const std::string &ansiPath)
{
    const size_t separator = ansiPath.find_last_of("\\/");
    if (separator == std::string::npos || separator == 0)
        return false;
    std::string folder = ansiPath.substr(0, separator);
    if (folder.size() == 2 && folder[1] == ':')
        folder += '\\';
    win::QuietDriveErrors quiet;
    return GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

// The sound player's one function, from winmm.dll on first use.
BOOL playSound(const char *file, UINT flags)
{
    static const auto play = win::systemFunction<decltype(sndPlaySoundA)>("winmm.dll", "sndPlaySoundA");
    return play ? play(file, flags) : FALSE;
}

// The system's sound device, or a test's recorder in its place.
void devicePlay(const std::string &ansiPath)
{
    // Asynchronous (1) alone: the next sound cuts this one off, and a file
    // that cannot be played gives the system's default sound.
    if (!soundDeviceHooked(testing::SoundCall::Play, ansiPath))
        playSound(ansiPath.c_str(), 1);
}

void deviceStop()
{
    if (!soundDeviceHooked(testing::SoundCall::Stop))
        playSound(nullptr, 0);
}

void deviceBeep()
{
    if (!soundDeviceHooked(testing::SoundCall::Beep))
        MessageBeep(MB_OK);
}

} // namespace

int shellOpen(std::uintptr_t ownerWindow, const std::string &file, const std::string &parameters)
{
    const auto target = pathArgument(file);
    if (!target)
        return int(ShellCode::FileNotFound);  // no file of the system can have that name
    const std::string arguments = win::ansiText(parameters);
    // An empty working folder, not a missing one: the started program
    // inherits the current folder of this one.
    static const auto shellExecute = win::systemFunction<decltype(ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    if (!shellExecute)
        return int(ShellCode::OutOfMemory);  // the system's own answer when it cannot start the shell
    HINSTANCE result = shellExecute(windowOf(ownerWindow), "OPEN", target->c_str(), arguments.c_str(), "", 1);
    const int code = static_cast<int>(reinterpret_cast<INT_PTR>(result));
    // Windows tells a missing folder (path not found) from a missing file in
    // an existing folder; some shells (Wine's) report both as a missing file.
    if (code == int(ShellCode::FileNotFound) && folderMissing(*target))
        return int(ShellCode::PathNotFound);
    return code;
}

void playWave(const std::string &path)
{
    const auto file = pathArgument(path);
    if (file) {
        devicePlay(*file);
        return;
    }
    // No file can have that name: the default sound, which like any sound
    // cuts off the one that is playing.
    deviceStop();
    deviceBeep();
}

// The system's own player is part of the system: nothing to load.
// Loads the sound player while the user looks at the main screen, so that
// the first sound does not wait for it.
void prepareSound()
{
    LoadLibraryA("winmm.dll");
}

void messageBox(std::uintptr_t ownerWindow, const std::string &text, const std::string &title)
{
    // Exclamation icon and one OK button (48).
    MessageBoxA(windowOf(ownerWindow), win::ansiText(text).c_str(), win::ansiText(title).c_str(), 48);
}

void endProgram()
{
    ExitProcess(0);
}

} // namespace platform::system
