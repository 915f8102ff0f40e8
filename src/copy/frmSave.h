// The copy destination chooser: a path box, a folder list and a drive list to
// pick where a game's folder goes, Save and Cancel; and copyFiles, which
// copies the game's files there.
#pragma once

#include "ui/classic.h"
#include "ui/imagebutton.h"
#include "ui/window.h"

class QLineEdit;

class frmSave : public ui::Dialog {
    Q_OBJECT
public:
    frmSave();

    QLineEdit *txtFolderPath;
    ui::FolderList *dirSave;
    ui::DriveList *drvSave;
    ui::FileList *filGame;  // hidden: the files of the game's folder
    ui::HotArea *lblSave, *lblCancel;
    ui::Picture *imgSaveLight, *imgSaveIndent, *imgCancelLight, *imgCancelIndent;

    // Copies the files listed in filGame from the source folder into the
    // destination folder, which must exist; a file that cannot be copied is
    // skipped. Ends the hourglass and shows how it went, without waiting.
    void copyFiles(QString pmSourcePath, QString pmDestinationPath);

    void Form_MouseMove() override;
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
