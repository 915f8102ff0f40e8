#include "frmExit.h"

#include "assets/assets.h"
#include "mainscreen/frmGames.h"
#include "platform/shell.h"
#include "startup/modMain.h"
#include "ui/layout.h"


namespace {
QPixmap art(const QString &name) { return assets::picture(QStringLiteral("frmExit"), name); }
} // namespace

frmExit::frmExit()
{
    namespace L = layout::exitdlg;
    ui::setupFixedWindow(this, L::width, L::height, false);
    setBackground(art(QStringLiteral("background")));

    const auto &uninstall = L::buttons[0];
    const auto &exit = L::buttons[1];
    imgUninstallLight = new ui::Picture(this, ui::qrect(uninstall.light), art(QStringLiteral("imgUninstallLight")));
    imgExitLight = new ui::Picture(this, ui::qrect(exit.light), art(QStringLiteral("imgExitLight")));
    lblUninstall = new ui::HotArea(this, ui::qrect(uninstall.label));
    lblExit = new ui::HotArea(this, ui::qrect(exit.label));

    connect(lblUninstall, &ui::HotArea::mouseMove, this, &frmExit::lblUninstall_MouseMove);
    connect(lblExit, &ui::HotArea::mouseMove, this, &frmExit::lblExit_MouseMove);
    connect(lblUninstall, &ui::HotArea::click, this, &frmExit::lblUninstall_Click);
    connect(lblExit, &ui::HotArea::click, this, &frmExit::lblExit_Click);
}

void frmExit::Form_MouseMove()
{
    imgUninstallLight->hide();
    imgExitLight->hide();
}

void frmExit::lblExit_MouseMove()
{
    if (imgExitLight->isVisible())
        return;
    modMain::playSound(QStringLiteral("ROLLOVER.WAV"));
    imgExitLight->show();
    imgUninstallLight->hide();
}

void frmExit::lblUninstall_MouseMove()
{
    if (imgUninstallLight->isVisible())
        return;
    modMain::playSound(QStringLiteral("ROLLOVER.WAV"));
    imgUninstallLight->show();
    imgExitLight->hide();
}

void frmExit::lblExit_Click()
{
    modMain::playSound(QStringLiteral("BUTCLICK.WAV"));
    leaveProgram();
}

void frmExit::lblUninstall_Click()
{
    modMain::playSound(QStringLiteral("BUTCLICK.WAV"));
    // The removal panel is the system's; a refusal is reported by the shell
    // box and the program ends all the same.
    modMain::launchProgram(this, QStringLiteral("CONTROL.EXE"), QStringLiteral("APPWIZ.CPL"));
    leaveProgram();
}

void frmExit::leaveProgram()
{
    ui::unload(this);
    // The main screen is already closing (that is what showed this dialog),
    // so it takes this request as a repeat and ignores it.
    if (frmGames *games = ui::loadedForm<frmGames>())
        games->close();
    platform::endProgram();
}
