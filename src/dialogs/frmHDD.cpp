#include "frmHDD.h"

#include "assets/assets.h"
#include "catalogue/catalogue.h"
#include "dialogs/filesystem.h"
#include "platform/files.h"
#include "startup/boundary.h"
#include "startup/modMain.h"
#include "ui/layout.h"


using modMain::playSound;

namespace {
QPixmap art(const char *name) { return assets::picture(QStringLiteral("frmHDD"), QLatin1String(name)); }

const layout::Button &button(const char *stem)
{
    for (const auto &b : layout::hdd::buttons)
        if (qstrcmp(b.name, stem) == 0)
            return b;
    Q_UNREACHABLE();
}
} // namespace

frmHDD::frmHDD()
{
    namespace L = layout::hdd;
    ui::setupFixedWindow(this, L::width, L::height, false);
    setBackground(art("background"));

    const auto &ok = button("Ok");
    const auto &cancel = button("Cancel");
    imgOkLight = new ui::Picture(this, ui::qrect(ok.light), art("imgOkLight"));
    imgCancelLight = new ui::Picture(this, ui::qrect(cancel.light), art("imgCancelLight"));
    lblOk = new ui::HotArea(this, ui::qrect(ok.label));
    lblCancel = new ui::HotArea(this, ui::qrect(cancel.label));

    // Covers the row of the two buttons, which take no input during the copy.
    const QRect bar = ui::qrect(L::prgCopy);
    prgCopy = new ui::ProgressBar(this, bar, art("imgCopyTrough"), art("imgCopyFill"),
                                  ui::qrect(L::prgCopyFill).topLeft() - bar.topLeft());
    prgCopy->hide();

    connect(lblOk, &ui::HotArea::click, this, &frmHDD::lblOk_Click);
    connect(lblCancel, &ui::HotArea::click, this, &frmHDD::lblCancel_Click);
    connect(lblOk, &ui::HotArea::mouseMove, this, &frmHDD::lblOk_MouseMove);
    connect(lblCancel, &ui::HotArea::mouseMove, this, &frmHDD::lblCancel_MouseMove);
}

void frmHDD::Form_MouseMove()
{
    imgOkLight->hide();
    imgCancelLight->hide();
}

void frmHDD::lblOk_MouseMove()
{
    if (imgOkLight->isVisible())
        return;
    playSound(QStringLiteral("ROLLOVER.WAV"));
    imgOkLight->show();
    imgCancelLight->hide();
}

void frmHDD::lblCancel_MouseMove()
{
    if (imgCancelLight->isVisible())
        return;
    playSound(QStringLiteral("ROLLOVER.WAV"));
    imgCancelLight->show();
    imgOkLight->hide();
}

void frmHDD::lblOk_Click()
{
    playSound(QStringLiteral("BUTCLICK.WAV"));
    const FileSystem fileSystem;

    // Each step is tried on its own: one that fails is passed over silently,
    // and the game is still started (the shell reports what is missing).
    const QString programFolder = modMain::gAppPath;
    const QString categoryFolder = modMain::gAppPath + catalogue::categoryFolder(modMain::gGameCategory);
    const QString copyFolder = catalogue::copyFolder();
    for (const QString &folder : {programFolder, categoryFolder, copyFolder}) {
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
    platform::changeDirectory(toStd(copyFolder));
    modMain::launchProgram(this, catalogue::copyProgram(), modMain::gGameParameters);
    done(QDialog::Accepted);
}

void frmHDD::lblCancel_Click()
{
    playSound(QStringLiteral("BUTCLICK.WAV"));
    done(QDialog::Rejected);
}

// Makes the files directly inside the folder writable (files copied from a
// disc arrive read-only); files in its subfolders keep their attribute. The
// first failure ends it, leaving the remaining files as they are.
void frmHDD::toggleReadOnly(const FileSystem &pmFileSystem, const QString &pmFolderPath)
{
    const auto files = pmFileSystem.files(pmFolderPath);
    if (!files)
        return;
    for (const FileSystem::File &file : *files) {
        if (file.readOnly && !pmFileSystem.clearReadOnly(pmFolderPath + QLatin1Char('\\') + file.name))
            return;
    }
}
