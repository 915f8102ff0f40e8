// The exit dialog: tells how games copied to the hard drive are removed, and
// ends the program through Uninstall (which first opens the removal panel) or
// Exit.
#pragma once

#include "ui/controls.h"
#include "ui/imagebutton.h"
#include "ui/window.h"

class frmExit : public ui::Window {
public:
    frmExit();

    ui::Picture *imgUninstallLight;
    ui::Picture *imgExitLight;
    ui::HotArea *lblUninstall;
    ui::HotArea *lblExit;

    void Form_MouseMove();
    void lblUninstall_MouseMove();
    void lblExit_MouseMove();
    void lblUninstall_Click();
    void lblExit_Click();

private:
    ui::ImageButton uninstallButton() const { return {lblUninstall, imgUninstallLight, nullptr}; }
    ui::ImageButton exitButton() const { return {lblExit, imgExitLight, nullptr}; }
    void leaveProgram();
};
