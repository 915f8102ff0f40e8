// Dispatch of the replaceable services to a test's recorder or to the system.
#include "hostfiles.h"
#include "shell.h"
#include "system.h"
#include "testing.h"

#include <cstdlib>
#include <utility>

namespace platform {
namespace {
testing::ShellOpenHook gShellOpen;
testing::PlayWaveHook gPlayWave;
testing::MessageBoxHook gMessageBox;
testing::EndProgramHook gEndProgram;
testing::ListingHook gListing;
testing::FileCopiedHook gFileCopied;

// QUORVIA_TEST_SLOW_COPY=MS makes every file of a folder copy take at least
// MS milliseconds, so that an end-to-end test can act while a copy runs.
long slowCopy()
{
    static const long ms = [] {
        const char *value = std::getenv("QUORVIA_TEST_SLOW_COPY");
        return value ? std::strtol(value, nullptr, 10) : 0L;
    }();
    return ms;
}
testing::SoundDeviceHook gSoundDevice;
} // namespace

namespace host {
void noteListing(const std::string &folder)
{
    if (gListing)
        gListing(folder);
}

void noteFileCopied(const std::string &path)
{
    if (gFileCopied)
        gFileCopied(path);
    if (const long ms = slowCopy(); ms > 0)
        pauseFor(ms);
}
} // namespace host

int shellOpen(std::uintptr_t owner, const std::string &file, const std::string &parameters)
{
    return gShellOpen ? gShellOpen(owner, file, parameters) : system::shellOpen(owner, file, parameters);
}

void playWave(const std::string &path)
{
    if (gPlayWave)
        gPlayWave(path);
    else
        system::playWave(path);
}

void prepareSound()
{
    system::prepareSound();
}

void messageBox(std::uintptr_t owner, const std::string &text, const std::string &title)
{
    if (gMessageBox)
        gMessageBox(owner, text, title);
    else
        system::messageBox(owner, text, title);
}

void endProgram()
{
    if (gEndProgram)
        gEndProgram();
    else
        system::endProgram();
}

bool system::soundDeviceHooked(testing::SoundCall call, const std::string &hostPath)
{
    if (!gSoundDevice)
        return false;
    gSoundDevice(call, hostPath);
    return true;
}

namespace testing {
void setShellOpen(ShellOpenHook fn) { gShellOpen = std::move(fn); }
void setPlayWave(PlayWaveHook fn) { gPlayWave = std::move(fn); }
void setMessageBox(MessageBoxHook fn) { gMessageBox = std::move(fn); }
void setEndProgram(EndProgramHook fn) { gEndProgram = std::move(fn); }
void setListingObserver(ListingHook fn) { gListing = std::move(fn); }
void setFileCopiedObserver(FileCopiedHook fn) { gFileCopied = std::move(fn); }
void setSoundDevice(SoundDeviceHook fn) { gSoundDevice = std::move(fn); }
} // namespace testing

} // namespace platform
