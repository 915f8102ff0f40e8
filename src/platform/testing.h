// Test hooks: replace the shell, the sound player, the message box and the end
// of the program with recorders. An empty function restores the real service.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform::testing {

using ShellOpenHook = std::function<int(std::uintptr_t, const std::string &, const std::string &)>;
using PlayWaveHook = std::function<void(const std::string &)>;
using MessageBoxHook = std::function<void(std::uintptr_t, const std::string &, const std::string &)>;
using EndProgramHook = std::function<void()>;

void setShellOpen(ShellOpenHook fn);
void setPlayWave(PlayWaveHook fn);
void setMessageBox(MessageBoxHook fn);
void setEndProgram(EndProgramHook fn);

// Observers of the folder copies: every folder listing the layer makes (with
// the host folder), and every file a folder copy wrote (with its host path),
// called once the file is complete. A test can count the listings, or slow
// the copy down by waiting in the second.
using ListingHook = std::function<void(const std::string &)>;
using FileCopiedHook = std::function<void(const std::string &)>;
void setListingObserver(ListingHook fn);
void setFileCopiedObserver(FileCopiedHook fn);

} // namespace platform::testing
