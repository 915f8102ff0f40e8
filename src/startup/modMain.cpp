#include "modMain.h"

#include "boundary.h"
#include "dialogs/frmCD.h"
#include "mainscreen/frmGames.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "ui/window.h"

#include <QWidget>

namespace modMain {

namespace {
const QString kDiscRequest = QStringLiteral("Please ensure that the 'Quorvia' CD is inside the CD-ROM drive.");
}

bool Main()
{
    gGameCategory.clear();
    gGameName.clear();
    gGameFolder.clear();
    gGameProgram.clear();
    gGameParameters.clear();

    gAppPath = fromStd(platform::programFolder()) + QLatin1Char('\\');

    gCdRoot.clear();
    QString found;
    int letter = 'C';

    // Every drive from D to Z is probed; a drive that is missing, empty or
    // not ready is a drive without the marker.
    do {
        ++letter;
        const QString marker = QString(QChar(letter)) + QStringLiteral(":\\PLAXOID.QAR");
        found = platform::isOrdinaryFile(toStd(marker)) ? QStringLiteral("PLAXOID.QAR") : QString();
    } while (found.isEmpty() && letter < 'Z');

    if (!found.isEmpty()) {
        gCdRoot = QString(QChar(letter)) + QStringLiteral(":\\");
        frmGames &games = ui::form<frmGames>();
        ui::centreOnScreen(&games);
        games.show();
        return true;
    }

    ui::setDefaultPointer();
    showInformationDialog(kDiscRequest, Placement::Screen, Mode::Modal);
    platform::endProgram();
    return false;
}

void playSound(const QString &file)
{
    platform::playWave(toStd(gAppPath + file));
}

QString shellFailureMessage(int code)
{
    switch (code) {
    case 2: return QStringLiteral("File not found");
    case 3: return QStringLiteral("Path not found");
    case 5: return QStringLiteral("Access denied");
    case 8: return QStringLiteral("Out of memory");
    case 11: return QStringLiteral("Invalid EXE file or error in EXE image");
    case 26: return QStringLiteral("A sharing violation occurred");
    case 27: return QStringLiteral("Incomplete or invalid file association");
    case 28: return QStringLiteral("DDE Time out");
    case 29: return QStringLiteral("DDE transaction failed");
    case 30: return QStringLiteral("DDE busy");
    case 31: return QStringLiteral("No association for file extension");
    case 32: return QStringLiteral("DLL not found");
    default: return QStringLiteral("Unknown error");
    }
}

void launchProgram(QWidget *owner, const QString &file, const QString &parameters)
{
    const std::uintptr_t window = owner ? std::uintptr_t(owner->winId()) : 0;
    const int code = platform::shellOpen(window, toStd(file), toStd(parameters));
    if (code > 32)
        return;
    platform::messageBox(window, toStd(shellFailureMessage(code)), "Program Execution Failed");
}

} // namespace modMain
