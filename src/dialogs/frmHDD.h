// The hard-disk notice: a game that runs only from the hard disk is copied
// below the program's folder and started from there, or the user leaves.
#pragma once

#include "ui/imagebutton.h"
#include "ui/progressbar.h"
#include "ui/window.h"

class FileSystem;

class frmHDD : public ui::Dialog {
    Q_OBJECT
public:
    frmHDD();

    // Pictures first, hot areas above them.
    ui::Picture *imgOkLight;
    ui::Picture *imgCancelLight;
    ui::HotArea *lblOk;
    ui::HotArea *lblCancel;
    // Shown over the row of the buttons only while OK copies.
    ui::ProgressBar *prgCopy;

    void lblOk_Click();
    void lblCancel_Click();
    void lblOk_MouseMove();
    void lblCancel_MouseMove();
    void Form_MouseMove() override;

private:
    void toggleReadOnly(const FileSystem &pmFileSystem, const QString &pmFolderPath);
};
