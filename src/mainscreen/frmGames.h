// The main screen: the command and category image buttons, the game list, the
// description pane and the status line.
#pragma once

#include "ui/controls.h"
#include "ui/window.h"

#include <cstdint>
#include <string>

class frmGames : public ui::Window {
public:
    frmGames();

    // Content controls.
    ui::ListBox *lstGameListing;
    ui::TextPane *txtDesc;
    ui::Label *lblStatus;
    // The open-file dialog of the View command.
    ui::CommonDialog comdlgGame;

    // Command buttons: hot area, highlight, pressed look.
    ui::HotArea *lblHelp, *lblRun, *lblCopyHDD, *lblView, *lblExit;
    ui::Picture *imgHelpLight, *imgRunLight, *imgCopyHDDLight, *imgViewLight, *imgExitLight;
    ui::Picture *imgHelpIndent, *imgRunIndent, *imgCopyHDDIndent, *imgViewIndent, *imgExitIndent;

    // Category buttons: hot area, highlight, mark of the current category.
    ui::HotArea *lblArcade, *lblBoard, *lblEducate, *lblStrategy, *lblCards, *lblAction, *lblAdv, *lbl3D;
    ui::Picture *imgArcadeLight, *imgBoardLight, *imgEducateLight, *imgStrategyLight, *imgCardsLight,
        *imgActionLight, *imgAdvLight, *img3DLight;
    ui::Picture *imgArcadeIndent, *imgBoardIndent, *imgEducateIndent, *imgStrategyIndent, *imgCardsIndent,
        *imgActionIndent, *imgAdvIndent, *img3DIndent;

    void initialiseLightButts();
    void initialiseIndentButts();
    bool showGameListing(std::string pmGameCategory);
    void displayGameText(std::int16_t pmGameIndex);

    // The window's close command, a close request, or the Exit button.
    void Form_Unload();

    // Pointer movement over the window's background, the list and the pane.
    void Form_MouseMove();
    void lstGameListing_MouseMove();
    void txtDesc_MouseMove();
    void lstGameListing_Click();

    void lblHelp_MouseMove();
    void lblHelp_MouseDown();
    void lblHelp_MouseUp();
    void lblHelp_Click();
    void lblRun_MouseMove();
    void lblRun_MouseDown();
    void lblRun_MouseUp();
    void lblRun_Click();
    void lblCopyHDD_MouseMove();
    void lblCopyHDD_MouseDown();
    void lblCopyHDD_MouseUp();
    void lblCopyHDD_Click();
    void lblView_MouseMove();
    void lblView_MouseDown();
    void lblView_MouseUp();
    void lblView_Click();
    void lblExit_MouseMove();
    void lblExit_MouseDown();
    void lblExit_MouseUp();
    void lblExit_Click();

    void lblArcade_MouseMove();
    void lblArcade_Click();
    void lblBoard_MouseMove();
    void lblBoard_Click();
    void lblEducate_MouseMove();
    void lblEducate_Click();
    void lblStrategy_MouseMove();
    void lblStrategy_Click();
    void lblCards_MouseMove();
    void lblCards_Click();
    void lblAction_MouseMove();
    void lblAction_Click();
    void lblAdv_MouseMove();
    void lblAdv_Click();
    void lbl3D_MouseMove();
    void lbl3D_Click();

private:
    // The shared steps of the buttons' reactions.
    void highlightCommand(ui::Picture *light, const std::string &hint);
    void highlightCategory(ui::Picture *light, ui::Picture *indent, const std::string &hint);
    bool commandClickPasses(ui::Picture *indent);
    void selectCategory(ui::HotArea *label, ui::Picture *indent, const std::string &key);

    bool mClosing = false;  // the exit dialog is up: further close requests are repeats
};
