// The hard-disk notice: a game that runs only from the hard disk is copied
// below the program's folder and started from there, or the user leaves.
#pragma once

#include "ui/controls.h"
#include "ui/imagebutton.h"
#include "ui/window.h"

#include <string>

class FileSystem;

class frmHDD : public ui::Window {
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
    void Form_MouseMove();

private:
    ui::ImageButton okButton() const { return {lblOk, imgOkLight, nullptr}; }
    ui::ImageButton cancelButton() const { return {lblCancel, imgCancelLight, nullptr}; }
    void toggleReadOnly(const FileSystem &pmFileSystem, const std::string &pmFolderPath);
};
