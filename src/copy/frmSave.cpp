#include "frmSave.h"

#include "catalogue/catalogue.h"
#include "dialogs/frmCD.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/foldercopy.h"
#include "startup/modMain.h"
#include "startup/trimmed.h"
#include "ui/layout.h"

#include <algorithm>
#include <cstddef>
#include <vector>

using modMain::playSound;

namespace {

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// True when the text begins with a drive root ("C:\") of a drive the table
// has.
bool beginsWithKnownDrive(const std::string &text)
{
    if (text.size() < 3 || text[1] != ':' || text[2] != '\\')
        return false;
    const char letter = upperAscii(text[0]);
    for (const platform::Drive &d : platform::drives())
        if (d.letter == letter)
            return true;
    return false;
}

} // namespace

frmSave::frmSave()
    : ui::Window({"frmSave", layout::save::width, layout::save::height, ui::Frame::Dialog, "Save"})
{
    namespace L = layout::save;

    txtFolderPath = addTextBox(L::txtFolderPath);
    txtFolderPath->setName("txtFolderPath");
    dirSave = addFolderList(L::dirSave);
    dirSave->setName("dirSave");
    drvSave = addDriveList(L::drvSave);
    drvSave->setName("drvSave");
    filGame = addFileList(L::filGame);
    filGame->setName("filGame");

    // Stacking, bottom to top: Light pictures, Indent pictures, hot areas.
    const auto &save = L::buttons[0];
    const auto &cancel = L::buttons[1];
    const auto picture = [this](const char *name, const layout::Rect &r) {
        ui::Picture *p = addPicture(r, name);
        p->setName(name);
        return p;
    };
    imgSaveLight = picture("imgSaveLight", save.light);
    imgCancelLight = picture("imgCancelLight", cancel.light);
    imgSaveIndent = picture("imgSaveIndent", save.indent);
    imgCancelIndent = picture("imgCancelIndent", cancel.indent);
    lblSave = addHotArea(save.label);
    lblSave->setName("lblSave");
    lblCancel = addHotArea(cancel.label);
    lblCancel->setName("lblCancel");

    lblSave->setAccessible(ui::spokenWord(save.word), "");
    lblCancel->setAccessible(ui::spokenWord(cancel.word), "");

    // The chooser opens with the focus in the path box; Tab goes on to Save
    // and Cancel, then to the folder and drive lists.
    setTabOrder({txtFolderPath, lblSave, lblCancel, dirSave, drvSave});
    txtFolderPath->setFocus();

    ui::connectHandlers(this, {
        {onMouseMove, &frmSave::Form_MouseMove},
        {txtFolderPath->onMouseMove, &frmSave::txtFolderPath_MouseMove},
        {txtFolderPath->onFocus, &frmSave::txtFolderPath_MouseMove},
        {dirSave->onFocus, &frmSave::dirSave_MouseMove},
        {lblSave->onFocus, &frmSave::lblSave_MouseMove},
        {lblCancel->onFocus, &frmSave::lblCancel_MouseMove},
        {onEscape, &frmSave::lblCancel_Click},
        {dirSave->onMouseMove, &frmSave::dirSave_MouseMove},
        {drvSave->onChange, &frmSave::drvSave_Change},
        {dirSave->onChange, &frmSave::dirSave_Change},
        {lblSave->onMouseMove, &frmSave::lblSave_MouseMove},
        {lblSave->onMouseDown, &frmSave::lblSave_MouseDown},
        {lblSave->onMouseUp, &frmSave::lblSave_MouseUp},
        {lblSave->onClick, &frmSave::lblSave_Click},
        {lblCancel->onMouseMove, &frmSave::lblCancel_MouseMove},
        {lblCancel->onMouseDown, &frmSave::lblCancel_MouseDown},
        {lblCancel->onMouseUp, &frmSave::lblCancel_MouseUp},
        {lblCancel->onClick, &frmSave::lblCancel_Click},
    });
}

// ---------------------------------------------------------------------------
// Highlights

void frmSave::Form_MouseMove()
{
    const ui::ImageButton save = saveButton(), cancel = cancelButton();
    ui::lightsOut({&save, &cancel});
}

void frmSave::txtFolderPath_MouseMove() { Form_MouseMove(); }
void frmSave::dirSave_MouseMove() { Form_MouseMove(); }

void frmSave::lblSave_MouseMove()
{
    const ui::ImageButton cancel = cancelButton();
    ui::rollOver(saveButton(), {&cancel}, playSound);
}

void frmSave::lblCancel_MouseMove()
{
    const ui::ImageButton save = saveButton();
    ui::rollOver(cancelButton(), {&save}, playSound);
}

void frmSave::lblSave_MouseDown() { ui::pressDown(saveButton()); }
void frmSave::lblSave_MouseUp() { ui::release(saveButton()); }
void frmSave::lblCancel_MouseDown() { ui::pressDown(cancelButton()); }
void frmSave::lblCancel_MouseUp() { ui::release(cancelButton()); }

// ---------------------------------------------------------------------------
// Drive and folder

void frmSave::drvSave_Change()
{
    const std::string chosen = drvSave->drive();
    std::string root;
    for (char c : chosen)
        root += upperAscii(c);
    if (dirSave->setPath(root + '\\'))
        return;
    // While the copy command prepares the chooser, a failure here is left to
    // its own check. In front of the user, the list goes back to the drive
    // whose folders are still shown.
    if (!visible())
        return;
    drvSave->restoreDrive(dirSave->path());
    showInformationDialog("The drive '%1' cannot be read.", chosen, Placement::MainScreen, Mode::Modal);
}

void frmSave::dirSave_Change()
{
    txtFolderPath->setText(dirSave->path());
}

// ---------------------------------------------------------------------------
// Cancel and Save

void frmSave::lblCancel_Click()
{
    if (!ui::clickPasses(cancelButton(), playSound))
        return;
    unload();
}

void frmSave::lblSave_Click()
{
    if (!ui::clickPasses(saveButton(), playSound))
        return;
    ui::setHourglass();

    const std::string text = txtFolderPath->text();
    if (!beginsWithKnownDrive(text)) {
        ui::setDefaultPointer();
        showInformationDialog("Please enter a folder that begins with a drive, such as C:\\.", Placement::MainScreen,
                              Mode::Modal);
        return;
    }

    // The drive root, and the rest with one separator appended so that every
    // level ends with one.
    const std::string drive = text.substr(0, 3);
    const std::string rest = text.substr(3) + '\\';
    hide();

    // Each level from the top down: an existing folder is left alone, a
    // missing one is created; anything else in the way stops the copy.
    std::string level;
    for (std::size_t i = 1; i <= rest.size(); ++i) {
        if (rest[i - 1] != '\\')
            continue;
        level = rest.substr(0, i - 1);
        const std::string path = drive + level;
        const bool present = platform::exists(path) ? platform::isFolder(path) : platform::createFolder(path);
        if (!present) {
            ui::setDefaultPointer();
            unload();
            showInformationDialog("The folder '%1' could not be created.", text, Placement::MainScreen,
                                  Mode::Modeless);
            return;
        }
    }

    copyFiles(catalogue::gameFolder(), drive + level);
    unload();
}

void frmSave::copyFiles(std::string pmSourcePath, std::string pmDestinationPath)
{
    // The names are those listed when the chooser was prepared.
    std::vector<std::string> names;
    names.reserve(filGame->count());
    for (int i = 0; i < filGame->count(); ++i)
        names.push_back(filGame->item(i));

    // The windows keep painting during the copy but take no input.
    std::vector<platform::CopyResult> results;
    {
        ui::BusyScope busy;
        results = platform::copyNamedFiles(pmSourcePath, pmDestinationPath, names,
                                           [&busy](int, int) { busy.keepPainting(); });
    }
    const auto notCopied = std::count_if(results.begin(), results.end(),
                                         [](platform::CopyResult r) { return r != platform::CopyResult::Copied; });

    ui::setDefaultPointer();
    // The counts go in here; the name's place stays "%1" for the dialog.
    const std::string sentence = notCopied == 0
        ? std::string("Copying of game '%1' complete.")
        : "Copying of game '%1' is incomplete: " + std::to_string(notCopied) + " of " + std::to_string(names.size())
            + " files could not be copied.";
    showInformationDialog(sentence, modMain::trimmed(modMain::gGameName), Placement::MainScreen, Mode::Modeless);
}
