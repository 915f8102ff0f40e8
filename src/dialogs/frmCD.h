// The information dialog: one centred message and an OK image button.
#pragma once

#include "ui/controls.h"
#include "ui/imagebutton.h"
#include "ui/window.h"

#include <string>

enum class Placement { Screen, MainScreen };
enum class Mode { Modal, Modeless };

// Shows a message in the information dialog titled "Quorvia Information",
// centred on the screen or over the main screen; modal waits until it closes.
void showInformationDialog(const std::string &message, Placement placement, Mode mode);

// The same for a sentence that names a game or a path in the place of its
// "%1". The message wraps at its spaces, a path also after each "\"; only if
// it would still not fit the message label is the name shortened in its
// middle with "…", the rest of the sentence never.
void showInformationDialog(const std::string &sentence, const std::string &name, Placement placement, Mode mode);

class frmCD : public ui::Window {
public:
    frmCD();

    ui::Label *lblInstruction;
    ui::Picture *imgOk2;
    ui::Picture *imgOk2Light;
    ui::Picture *imgOk2Indent;
    ui::HotArea *lblOk2;

    void Form_MouseMove();
    void lblOk2_MouseMove();
    void lblOk2_MouseDown();
    void lblOk2_MouseUp();
    void lblOk2_Click();

private:
    ui::ImageButton ok2() const { return {lblOk2, imgOk2Light, imgOk2Indent}; }
};
