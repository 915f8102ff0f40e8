// Test hooks: replace the shell, the sound player (or only the sound device
// under it), the message box and the end of the program with recorders. An
// empty function restores the real service.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform::testing {

using ShellOpenHook = std::function<int(std::uintptr_t, const std::string &, const std::string &)>;
using PlayWaveHook = std::function<void(const std::string &)>;
using MessageBoxHook = std::function<void(std::uintptr_t, const std::string &, const std::string &)>;
using EndProgramHook = std::function<void()>;

// The sound device below playWave's own checks of the file: told to play a
// file (its host path), to stop the sound that is playing, or to give the
// system's default sound. A recorder sees what the device would be told.
enum class SoundCall { Play, Stop, Beep };
using SoundDeviceHook = std::function<void(SoundCall, const std::string &hostPath)>;

void setShellOpen(ShellOpenHook fn);
void setPlayWave(PlayWaveHook fn);
void setMessageBox(MessageBoxHook fn);
void setEndProgram(EndProgramHook fn);
void setSoundDevice(SoundDeviceHook fn);

} // namespace platform::testing
