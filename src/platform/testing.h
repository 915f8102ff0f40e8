// Test hooks: replace the shell, the sound player, the message box and the end
// of the program with recorders. An empty function restores the real service.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform::testing {

using ShellOpen = std::function<int(std::uintptr_t, const std::string &, const std::string &)>;
using PlayWave = std::function<void(const std::string &)>;
using MessageBox = std::function<void(std::uintptr_t, const std::string &, const std::string &)>;
using EndProgram = std::function<void()>;

void setShellOpen(ShellOpen fn);
void setPlayWave(PlayWave fn);
void setMessageBox(MessageBox fn);
void setEndProgram(EndProgram fn);

} // namespace platform::testing
