#include "frmHDD.h"

#include "catalogue/catalogue.h"
#include "dialogs/filesystem.h"
#include "platform/files.h"
#include "startup/modMain.h"
#include "ui/layout.h"

#include <string_view>

using modMain::playSound;

namespace {
const layout::Button &button(std::string_view stem)
{
    for (const auto &b : layout::hdd::buttons)
        if (b.name == stem)
            return b;
    return layout::hdd::buttons[0];  // not reached: both stems are in the table
}
} // namespace

frmHDD::frmHDD()
    : ui::Window({"frmHDD", layout::hdd::width, layout::hdd::height, ui::Frame::DialogNoTitle, ""})
{
    namespace L = layout::hdd;
    const auto &ok = button("Ok");
    const auto &cancel = button("Cancel");
    imgOkLight = addPicture(ok.light, "imgOkLight");
    imgOkLight->setName("imgOkLight");
    imgCancelLight = addPicture(cancel.light, "imgCancelLight");
    imgCancelLight->setName("imgCancelLight");
    lblOk = addHotArea(ok.label);
    lblOk->setName("lblOk");
    lblCancel = addHotArea(cancel.label);
    lblCancel->setName("lblCancel");
    lblOk->setAccessible(ui::spokenWord(ok.word), "");
    lblCancel->setAccessible(ui::spokenWord(cancel.word), "");
    setAccessibleDescription(layout::joinedParagraphs(L::paragraphs));
    setTabOrder({lblOk, lblCancel});

    // Covers the row of the two buttons, which take no input during the copy.
    prgCopy = addProgressBar(L::prgCopy, "imgCopyTrough", "imgCopyFill", L::prgCopyFill);
    prgCopy->setName("prgCopy");
    prgCopy->hide();

    ui::connectHandlers(this, {
        {onMouseMove, &frmHDD::Form_MouseMove},
        {lblOk->onClick, &frmHDD::lblOk_Click},
        {lblCancel->onClick, &frmHDD::lblCancel_Click},
        {lblOk->onMouseMove, &frmHDD::lblOk_MouseMove},
        {lblCancel->onMouseMove, &frmHDD::lblCancel_MouseMove},
        {lblOk->onFocus, &frmHDD::lblOk_MouseMove},
        {lblCancel->onFocus, &frmHDD::lblCancel_MouseMove},
        {onEscape, &frmHDD::lblCancel_Click},
    });
}

void frmHDD::Form_MouseMove()
{
    const ui::ImageButton ok = okButton(), cancel = cancelButton();
    ui::lightsOut({&ok, &cancel});
}

void frmHDD::lblOk_MouseMove()
{
    const ui::ImageButton cancel = cancelButton();
    ui::rollOver(okButton(), {&cancel}, playSound);
}

void frmHDD::lblCancel_MouseMove()
{
    const ui::ImageButton ok = okButton();
    ui::rollOver(cancelButton(), {&ok}, playSound);
}

void frmHDD::lblOk_Click()
{
    ui::clickPasses(okButton(), playSound);
    const FileSystem fileSystem;

    // Each step is tried on its own: one that fails is passed over silently,
    // and the game is still started (the shell reports what is missing).
    const std::string programFolder = modMain::gAppPath;
    const std::string categoryFolder = modMain::gAppPath + catalogue::categoryFolder(modMain::gGameCategory);
    const std::string copyFolder = catalogue::copyFolder();
    for (const std::string &folder : {programFolder, categoryFolder, copyFolder}) {
        if (!fileSystem.folderExists(folder))
            fileSystem.createFolder(folder);
    }

    // The copy runs inside the click. The bar advances after each file and
    // the windows repaint now and then; they take no input until it ends.
    {
        ui::BusyScope busy;
        const auto progress = [&](int done, int total) {
            prgCopy->setProgress(done, total);
            prgCopy->show();
            busy.keepPainting();
        };
        fileSystem.copyFolder(catalogue::gameFolder(), copyFolder, progress);
    }
    prgCopy->hide();

    toggleReadOnly(fileSystem, copyFolder);
    platform::changeDirectory(copyFolder);
    modMain::launchProgram(this, catalogue::copyProgram(), modMain::gGameParameters);
    unload();
}

void frmHDD::lblCancel_Click()
{
    ui::clickPasses(cancelButton(), playSound);
    unload();
}

// Makes the files directly inside the folder writable (files copied from a
// disc arrive read-only); files in its subfolders keep their attribute. The
// first failure ends it, leaving the remaining files as they are.
void frmHDD::toggleReadOnly(const FileSystem &pmFileSystem, const std::string &pmFolderPath)
{
    const auto files = pmFileSystem.files(pmFolderPath);
    if (!files)
        return;
    for (const FileSystem::File &file : *files) {
        if (file.readOnly && !pmFileSystem.clearReadOnly(pmFolderPath + '\\' + file.name))
            return;
    }
}
