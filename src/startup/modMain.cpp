#include "modMain.h"

#include "dialogs/frmCD.h"
#include "mainscreen/frmGames.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "ui/window.h"

namespace modMain {

bool Main()
{
    gGameCategory.clear();
    gGameName.clear();
    gGameFolder.clear();
    gGameProgram.clear();
    gGameParameters.clear();

    gAppPath = platform::programFolder() + '\\';

    gCdRoot.clear();
    std::string found;
    int letter = 'C';

    // Every drive from D to Z is probed; a drive that is missing, empty or
    // not ready is a drive without the marker.
    do {
        ++letter;
        const std::string marker = std::string(1, char(letter)) + ":\\PLAXOID.QAR";
        found = platform::isOrdinaryFile(marker) ? "PLAXOID.QAR" : "";
    } while (found.empty() && letter < 'Z');

    if (!found.empty()) {
        gCdRoot = std::string(1, char(letter)) + ":\\";
        frmGames &games = ui::form<frmGames>();
        ui::centreOnScreen(games);
        games.showModeless();
        return true;
    }

    ui::setDefaultPointer();
    showInformationDialog(kDiscRequest, Placement::Screen, Mode::Modal);
    platform::endProgram();
    return false;
}

void playSound(const std::string &file)
{
    platform::playWave(gAppPath + file);
}

std::string shellFailureMessage(int code)
{
    using platform::ShellCode;
    switch (ShellCode(code)) {
    case ShellCode::FileNotFound: return "File not found";
    case ShellCode::PathNotFound: return "Path not found";
    case ShellCode::AccessDenied: return "Access denied";
    case ShellCode::OutOfMemory: return "Out of memory";
    case ShellCode::BadFormat: return "Invalid EXE file or error in EXE image";
    case ShellCode::SharingViolation: return "A sharing violation occurred";
    case ShellCode::AssociationIncomplete: return "Incomplete or invalid file association";
    case ShellCode::DdeTimeout: return "DDE Time out";
    case ShellCode::DdeFailed: return "DDE transaction failed";
    case ShellCode::DdeBusy: return "DDE busy";
    case ShellCode::NoAssociation: return "No association for file extension";
    case ShellCode::DllNotFound: return "DLL not found";
    }
    return "Unknown error";
}

void launchProgram(ui::Window *owner, const std::string &file, const std::string &parameters)
{
    const std::uintptr_t window = owner ? owner->nativeHandle() : 0;
    const int code = platform::shellOpen(window, file, parameters);
    if (code > platform::kShellSuccessAbove)
        return;
    platform::messageBox(window, shellFailureMessage(code), "Program Execution Failed");
}

} // namespace modMain
