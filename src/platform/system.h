// The system's own services behind shell.h; one implementation per system
// (shell_posix.cpp, shell_win.cpp). Only services.cpp calls these.
#pragma once

#include "testing.h"

#include <cstdint>
#include <string>

namespace platform::system {

int shellOpen(std::uintptr_t ownerWindow, const std::string &file, const std::string &parameters);
void playWave(const std::string &path);
void prepareSound();
void messageBox(std::uintptr_t ownerWindow, const std::string &text, const std::string &title);
void endProgram();

// The other way round, for the implementations' sound devices: hands a call
// to a test's recorder; true when one took it, and the system's device is
// then left alone.
bool soundDeviceHooked(testing::SoundCall call, const std::string &hostPath = {});

} // namespace platform::system
