#include "frmExit.h"

#include "platform/shell.h"
#include "startup/modMain.h"
#include "ui/layout.h"

frmExit::frmExit()
    : ui::Window({"frmExit", layout::exitdlg::width, layout::exitdlg::height, ui::Frame::DialogNoTitle, ""})
{
    namespace L = layout::exitdlg;
    const auto &uninstall = L::buttons[0];
    const auto &exit = L::buttons[1];
    imgUninstallLight = addPicture(uninstall.light, "imgUninstallLight");
    imgUninstallLight->setName("imgUninstallLight");
    imgExitLight = addPicture(exit.light, "imgExitLight");
    imgExitLight->setName("imgExitLight");
    lblUninstall = addHotArea(uninstall.label);
    lblUninstall->setName("lblUninstall");
    lblExit = addHotArea(exit.label);
    lblExit->setName("lblExit");
    lblUninstall->setAccessible(ui::spokenWord(uninstall.word), "");
    lblExit->setAccessible(ui::spokenWord(exit.word), "");
    setAccessibleDescription(layout::joinedParagraphs(L::paragraphs));
    // Escape is left unset: the dialog has no way back, and a stray key must
    // not end the program.
    setTabOrder({lblUninstall, lblExit});

    ui::connectHandlers(this, {
        {onMouseMove, &frmExit::Form_MouseMove},
        {lblUninstall->onMouseMove, &frmExit::lblUninstall_MouseMove},
        {lblExit->onMouseMove, &frmExit::lblExit_MouseMove},
        {lblUninstall->onFocus, &frmExit::lblUninstall_MouseMove},
        {lblExit->onFocus, &frmExit::lblExit_MouseMove},
        {lblUninstall->onClick, &frmExit::lblUninstall_Click},
        {lblExit->onClick, &frmExit::lblExit_Click},
    });
}

void frmExit::Form_MouseMove()
{
    const ui::ImageButton uninstall = uninstallButton(), exit = exitButton();
    ui::lightsOut({&uninstall, &exit});
}

void frmExit::lblExit_MouseMove()
{
    const ui::ImageButton uninstall = uninstallButton();
    ui::rollOver(exitButton(), {&uninstall}, modMain::playSound);
}

void frmExit::lblUninstall_MouseMove()
{
    const ui::ImageButton exit = exitButton();
    ui::rollOver(uninstallButton(), {&exit}, modMain::playSound);
}

void frmExit::lblExit_Click()
{
    ui::clickPasses(exitButton(), modMain::playSound);
    leaveProgram();
}

void frmExit::lblUninstall_Click()
{
    ui::clickPasses(uninstallButton(), modMain::playSound);
    // The removal panel is the system's; a refusal is reported by the shell
    // box and the program ends all the same.
    modMain::launchProgram(this, "CONTROL.EXE", "APPWIZ.CPL");
    leaveProgram();
}

void frmExit::leaveProgram()
{
    unload();
    // The main screen is already closing (that is what showed this dialog),
    // so it takes this request as a repeat and ignores it.
    if (ui::Window *games = ui::mainScreen())
        games->close();
    platform::endProgram();
}
