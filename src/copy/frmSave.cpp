#include "frmSave.h"

#include "assets/assets.h"
#include "catalogue/catalogue.h"
#include "dialogs/frmCD.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/foldercopy.h"
#include "startup/boundary.h"
#include "startup/modMain.h"
#include "ui/layout.h"
#include "ui/panes.h"

#include <QEvent>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>
#include <vector>

using modMain::playSound;

namespace {

const QString kRollover = QStringLiteral("ROLLOVER.WAV");
const QString kClick = QStringLiteral("BUTCLICK.WAV");

QPixmap art(const QString &name) { return assets::picture(QStringLiteral("frmSave"), name); }

// True when the text begins with a drive root ("C:\") of a drive the table
// has.
bool beginsWithKnownDrive(const QString &text)
{
    if (text.size() < 3 || text.at(1) != QLatin1Char(':') || text.at(2) != QLatin1Char('\\'))
        return false;
    const QChar letter = text.at(0).toUpper();
    for (const platform::Drive &d : platform::drives())
        if (QLatin1Char(d.letter) == letter)
            return true;
    return false;
}

} // namespace

frmSave::frmSave()
{
    namespace L = layout::save;
    ui::setupFixedWindow(this, L::width, L::height, true);
    setWindowTitle(QStringLiteral("Save"));
    // The picture is a little larger than the client area; the rest is cut
    // off.
    setBackground(art(QStringLiteral("background")));

    txtFolderPath = new QLineEdit(this);
    txtFolderPath->setObjectName(QStringLiteral("txtFolderPath"));
    txtFolderPath->setGeometry(ui::qrect(L::txtFolderPath));
    txtFolderPath->setFrame(false);
    ui::paintGreenOnBlack(txtFolderPath);

    dirSave = new ui::FolderList(this);
    dirSave->setObjectName(QStringLiteral("dirSave"));
    dirSave->setGeometry(ui::qrect(L::dirSave));
    dirSave->setFrameShape(QFrame::NoFrame);
    ui::paintGreenOnBlack(dirSave);
    ui::darkScrollBar(dirSave);

    drvSave = new ui::DriveList(this);
    drvSave->setObjectName(QStringLiteral("drvSave"));
    drvSave->setGeometry(ui::qrect(L::drvSave));
    ui::paintGreenOnBlack(drvSave);
    // The drive list has no pointer reactions: movement over it must not
    // reach the window's background either.
    drvSave->setAttribute(Qt::WA_NoMousePropagation);

    filGame = new ui::FileList(this);
    filGame->setObjectName(QStringLiteral("filGame"));
    filGame->setGeometry(ui::qrect(L::filGame));
    filGame->setEnabled(false);
    filGame->hide();

    // Stacking, bottom to top: Light pictures, Indent pictures, hot areas.
    const auto &save = L::buttons[0];
    const auto &cancel = L::buttons[1];
    auto picture = [this](const QString &name, const layout::Rect &r) {
        auto *p = new ui::Picture(this, ui::qrect(r), art(name));
        p->setObjectName(name);
        return p;
    };
    imgSaveLight = picture(QStringLiteral("imgSaveLight"), save.light);
    imgCancelLight = picture(QStringLiteral("imgCancelLight"), cancel.light);
    imgSaveIndent = picture(QStringLiteral("imgSaveIndent"), save.indent);
    imgCancelIndent = picture(QStringLiteral("imgCancelIndent"), cancel.indent);
    lblSave = new ui::HotArea(this, ui::qrect(save.label));
    lblSave->setObjectName(QStringLiteral("lblSave"));
    lblCancel = new ui::HotArea(this, ui::qrect(cancel.label));
    lblCancel->setObjectName(QStringLiteral("lblCancel"));

    setTabOrder(txtFolderPath, dirSave);
    setTabOrder(dirSave, drvSave);
    setTabOrder(drvSave, filGame);
    txtFolderPath->setFocus();

    for (QWidget *w : {static_cast<QWidget *>(txtFolderPath), static_cast<QWidget *>(dirSave), dirSave->viewport(),
                       static_cast<QWidget *>(dirSave->verticalScrollBar()),
                       static_cast<QWidget *>(dirSave->horizontalScrollBar())}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }

    connect(drvSave, &ui::DriveList::change, this, &frmSave::drvSave_Change);
    connect(dirSave, &ui::FolderList::change, this, &frmSave::dirSave_Change);
    connect(lblSave, &ui::HotArea::mouseMove, this, &frmSave::lblSave_MouseMove);
    connect(lblSave, &ui::HotArea::mouseDown, this, &frmSave::lblSave_MouseDown);
    connect(lblSave, &ui::HotArea::mouseUp, this, &frmSave::lblSave_MouseUp);
    connect(lblSave, &ui::HotArea::click, this, &frmSave::lblSave_Click);
    connect(lblCancel, &ui::HotArea::mouseMove, this, &frmSave::lblCancel_MouseMove);
    connect(lblCancel, &ui::HotArea::mouseDown, this, &frmSave::lblCancel_MouseDown);
    connect(lblCancel, &ui::HotArea::mouseUp, this, &frmSave::lblCancel_MouseUp);
    connect(lblCancel, &ui::HotArea::click, this, &frmSave::lblCancel_Click);
}

bool frmSave::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == txtFolderPath)
            txtFolderPath_MouseMove();
        else
            dirSave_MouseMove();
    }
    return ui::Dialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Highlights

void frmSave::Form_MouseMove()
{
    imgSaveLight->hide();
    imgCancelLight->hide();
}

void frmSave::txtFolderPath_MouseMove() { Form_MouseMove(); }
void frmSave::dirSave_MouseMove() { Form_MouseMove(); }

void frmSave::lblSave_MouseMove()
{
    if (imgSaveLight->isVisible())
        return;
    playSound(kRollover);
    imgCancelLight->hide();
    imgSaveLight->show();
}

void frmSave::lblCancel_MouseMove()
{
    if (imgCancelLight->isVisible())
        return;
    playSound(kRollover);
    imgSaveLight->hide();
    imgCancelLight->show();
}

void frmSave::lblSave_MouseDown() { imgSaveIndent->show(); }
void frmSave::lblSave_MouseUp() { imgSaveIndent->hide(); }
void frmSave::lblCancel_MouseDown() { imgCancelIndent->show(); }
void frmSave::lblCancel_MouseUp() { imgCancelIndent->hide(); }

// ---------------------------------------------------------------------------
// Drive and folder

void frmSave::drvSave_Change()
{
    const QString chosen = drvSave->drive();
    if (dirSave->setPath(chosen.toUpper() + QLatin1Char('\\')))
        return;
    // While the copy command prepares the chooser, a failure here is left to
    // its own check. In front of the user, the list goes back to the drive
    // whose folders are still shown.
    if (!isVisible())
        return;
    drvSave->restoreDrive(dirSave->path());
    showInformationDialog(QStringLiteral("The drive '%1' cannot be read."), chosen, Placement::MainScreen,
                          Mode::Modal);
}

void frmSave::dirSave_Change()
{
    txtFolderPath->setText(dirSave->path());
}

// ---------------------------------------------------------------------------
// Cancel and Save

void frmSave::lblCancel_Click()
{
    if (imgCancelIndent->isVisible())
        return;
    playSound(kClick);
    done(QDialog::Rejected);
}

void frmSave::lblSave_Click()
{
    if (imgSaveIndent->isVisible())
        return;
    playSound(kClick);
    ui::setHourglass();

    const QString text = txtFolderPath->text();
    if (!beginsWithKnownDrive(text)) {
        ui::setDefaultPointer();
        showInformationDialog(QStringLiteral("Please enter a folder that begins with a drive, such as C:\\."),
                              Placement::MainScreen, Mode::Modal);
        return;
    }

    // The drive root, and the rest with one separator appended so that every
    // level ends with one.
    const QString drive = text.left(3);
    const QString rest = text.mid(3) + QLatin1Char('\\');
    hide();

    // Each level from the top down: an existing folder is left alone, a
    // missing one is created; anything else in the way stops the copy.
    QString level;
    for (qsizetype i = 1; i <= rest.size(); ++i) {
        if (rest.at(i - 1) != QLatin1Char('\\'))
            continue;
        level = rest.left(i - 1);
        const std::string path = toStd(drive + level);
        const bool present = platform::exists(path) ? platform::isFolder(path) : platform::createFolder(path);
        if (!present) {
            ui::setDefaultPointer();
            done(QDialog::Rejected);
            showInformationDialog(QStringLiteral("The folder '%1' could not be created."), text,
                                  Placement::MainScreen, Mode::Modeless);
            return;
        }
    }

    copyFiles(catalogue::gameFolder(), drive + level);
    done(QDialog::Accepted);
}

void frmSave::copyFiles(QString pmSourcePath, QString pmDestinationPath)
{
    // The names are those listed when the chooser was prepared.
    std::vector<std::string> names;
    names.reserve(filGame->count());
    for (int i = 0; i < filGame->count(); ++i)
        names.push_back(toStd(filGame->item(i)->text()));

    // The windows keep painting during the copy but take no input.
    std::vector<platform::CopyResult> results;
    {
        ui::BusyScope busy;
        results = platform::copyNamedFiles(toStd(pmSourcePath), toStd(pmDestinationPath), names,
                                           [&busy](int, int) { busy.keepPainting(); });
    }
    const auto notCopied = std::count_if(results.begin(), results.end(),
                                         [](platform::CopyResult r) { return r != platform::CopyResult::Copied; });

    ui::setDefaultPointer();
    // The counts go in here; the name's place stays "%1" for the dialog.
    const QString sentence = notCopied == 0
        ? QStringLiteral("Copying of game '%1' complete.")
        : QStringLiteral("Copying of game '%1' is incomplete: %2 of %3 files could not be copied.")
              .arg(QStringLiteral("%1"), QString::number(notCopied), QString::number(names.size()));
    showInformationDialog(sentence, modMain::gGameName.trimmed(), Placement::MainScreen, Mode::Modeless);
}
