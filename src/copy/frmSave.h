// The copy destination chooser: a path box, a folder list and a drive list to
// pick where a game's folder goes, Save and Cancel; and copyFiles, which
// copies the game's files there.
#pragma once

#include "ui/controls.h"
#include "ui/imagebutton.h"
#include "ui/window.h"

#include <string>

class frmSave : public ui::Window {
public:
    frmSave();

    ui::TextBox *txtFolderPath;
    ui::FolderList *dirSave;
    ui::DriveList *drvSave;
    ui::FileList *filGame;  // hidden: the files of the game's folder
    ui::HotArea *lblSave, *lblCancel;
    ui::Picture *imgSaveLight, *imgSaveIndent, *imgCancelLight, *imgCancelIndent;

    // Copies the files listed in filGame from the source folder into the
    // destination folder, which must exist; a file that cannot be copied is
    // skipped. Ends the hourglass and shows how it went, without waiting.
    void copyFiles(std::string pmSourcePath, std::string pmDestinationPath);

    void Form_MouseMove();
    void txtFolderPath_MouseMove();
    void dirSave_MouseMove();
    void dirSave_Change();
    void drvSave_Change();
    void lblSave_MouseMove();
    void lblSave_MouseDown();
    void lblSave_MouseUp();
    void lblSave_Click();
    void lblCancel_MouseMove();
    void lblCancel_MouseDown();
    void lblCancel_MouseUp();
    void lblCancel_Click();

private:
    ui::ImageButton saveButton() const { return {lblSave, imgSaveLight, imgSaveIndent}; }
    ui::ImageButton cancelButton() const { return {lblCancel, imgCancelLight, imgCancelIndent}; }
};
