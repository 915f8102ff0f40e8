// Test hooks: replace the shell, the sound player (or only the sound device
// under it), the message box and the end of the program with recorders, and
// the reads of a file copy with stand-ins. An empty function restores the real
// service.
#pragma once

#include <cstddef>
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

// Observers of the folder copies: every folder listing the layer makes (with
// the host folder), and every file a folder copy wrote (with its host path),
// called once the file is complete. A test can count the listings, or slow
// the copy down by waiting in the second.
using ListingHook = std::function<void(const std::string &)>;
using FileCopiedHook = std::function<void(const std::string &)>;
void setListingObserver(ListingHook fn);
void setFileCopiedObserver(FileCopiedHook fn);

// Stands in for each read of a file copy's source: gets the open source (a
// file descriptor on POSIX, a HANDLE on Windows), a buffer and its size, and
// returns the number of bytes put in the buffer, 0 at the end of the file or
// -1 for a read error. While one is set, the copy reads and writes itself
// (no copy inside the kernel), so that a stand-in can break it part-way.
using CopyReadHook = std::function<long long(std::intptr_t source, char *buffer, std::size_t size)>;
void setCopyRead(CopyReadHook fn);

// POSIX: stands in for the kernel's copy between two open files
// (copy_file_range): copies at most `size` bytes from the current offset of
// `in` to that of `out` and returns how many, 0 when it copied nothing, or -1
// with errno set. Windows copies by reads and writes alone and ignores it.
using KernelCopyHook = std::function<long long(int in, int out, std::size_t size)>;
void setKernelCopy(KernelCopyHook fn);

} // namespace platform::testing
