#include "frmGames.h"

#include "assets/assets.h"
#include "catalogue/catalogue.h"
#include "copy/frmSave.h"
#include "dialogs/frmCD.h"
#include "dialogs/frmExit.h"
#include "dialogs/frmHDD.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "startup/boundary.h"
#include "startup/modMain.h"
#include "ui/layout.h"
#include "ui/panes.h"
#include "ui/window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringDecoder>
#include <QWindow>

#include <iterator>

using modMain::playSound;

namespace {
const QString kRollover = QStringLiteral("ROLLOVER.WAV");
const QString kClick = QStringLiteral("BUTCLICK.WAV");

} // namespace

frmGames::frmGames()
{

    setWindowTitle(QStringLiteral("Quorvia"));
    setWindowIcon(assets::windowIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(layout::games::width, layout::games::height);
    setMouseTracking(true);

    auto picture = [this](const char *stem, const char *kind, const layout::Rect &r) {
        const QString name = QStringLiteral("img%1%2").arg(QLatin1String(stem), QLatin1String(kind));
        auto *p = new ui::Picture(this, ui::qrect(r), assets::picture(QStringLiteral("frmGames"), name));
        p->setObjectName(name);
        return p;
    };
    auto hotArea = [this](const char *stem, const layout::Rect &r) {
        auto *l = new ui::HotArea(this, ui::qrect(r));
        l->setObjectName(QStringLiteral("lbl%1").arg(QLatin1String(stem)));
        return l;
    };

    // Stacking, bottom to top: each button's Light picture, its Indent picture
    // above it, and all hot areas above every picture.
    struct Slot {
        ui::HotArea **label;
        ui::Picture **light;
        ui::Picture **indent;
    };
    const Slot commandSlots[] = {
        {&lblHelp, &imgHelpLight, &imgHelpIndent},
        {&lblRun, &imgRunLight, &imgRunIndent},
        {&lblCopyHDD, &imgCopyHDDLight, &imgCopyHDDIndent},
        {&lblView, &imgViewLight, &imgViewIndent},
        {&lblExit, &imgExitLight, &imgExitIndent},
    };
    const Slot categorySlots[] = {
        {&lblArcade, &imgArcadeLight, &imgArcadeIndent},   {&lblBoard, &imgBoardLight, &imgBoardIndent},
        {&lblEducate, &imgEducateLight, &imgEducateIndent}, {&lblStrategy, &imgStrategyLight, &imgStrategyIndent},
        {&lblCards, &imgCardsLight, &imgCardsIndent},      {&lblAction, &imgActionLight, &imgActionIndent},
        {&lblAdv, &imgAdvLight, &imgAdvIndent},            {&lbl3D, &img3DLight, &img3DIndent},
    };
    static_assert(std::size(commandSlots) == std::size(layout::games::commands));
    static_assert(std::size(categorySlots) == std::size(layout::games::categories));
    for (std::size_t i = 0; i < std::size(commandSlots); ++i) {
        const auto &b = layout::games::commands[i];
        *commandSlots[i].light = picture(b.name, "Light", b.light);
        *commandSlots[i].indent = picture(b.name, "Indent", b.indent);
    }
    for (std::size_t i = 0; i < std::size(categorySlots); ++i) {
        const auto &b = layout::games::categories[i];
        *categorySlots[i].light = picture(b.name, "Light", b.light);
        *categorySlots[i].indent = picture(b.name, "Indent", b.indent);
    }
    for (std::size_t i = 0; i < std::size(commandSlots); ++i)
        *commandSlots[i].label = hotArea(layout::games::commands[i].name, layout::games::commands[i].label);
    for (std::size_t i = 0; i < std::size(categorySlots); ++i)
        *categorySlots[i].label = hotArea(layout::games::categories[i].name, layout::games::categories[i].label);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setGeometry(ui::qrect(layout::games::lblStatus));
    lblStatus->setTextFormat(Qt::PlainText);
    lblStatus->setAlignment(Qt::AlignCenter);
    lblStatus->setWordWrap(true);  // a long hint takes the strip's second line
    {
        lblStatus->setFont(ui::paneFont(true));
        QPalette palette = lblStatus->palette();
        palette.setColor(QPalette::WindowText, QColor(0xFF, 0xFF, 0x00));
        lblStatus->setPalette(palette);
    }
    lblStatus->hide();

    // The list and the description pane are ordinary child windows above
    // everything drawn on the window; the list takes the focus first.
    lstGameListing = new QListWidget(this);
    lstGameListing->setObjectName(QStringLiteral("lstGameListing"));
    lstGameListing->setGeometry(ui::qrect(layout::games::lstGameListing));
    lstGameListing->setFrameShape(QFrame::NoFrame);
    lstGameListing->setSelectionMode(QAbstractItemView::SingleSelection);
    lstGameListing->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstGameListing->setUniformItemSizes(true);
    ui::paintGreenOnBlack(lstGameListing);
    ui::darkScrollBar(lstGameListing);

    txtDesc = new QPlainTextEdit(this);
    txtDesc->setObjectName(QStringLiteral("txtDesc"));
    txtDesc->setGeometry(ui::qrect(layout::games::txtDesc));
    txtDesc->setFrameShape(QFrame::NoFrame);
    txtDesc->setReadOnly(true);
    txtDesc->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtDesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDesc->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtDesc->viewport()->setCursor(Qt::ArrowCursor);
    ui::paintGreenOnBlack(txtDesc);
    ui::darkScrollBar(txtDesc);

    setTabOrder(lstGameListing, txtDesc);

    // Pointer movement over the list and the pane, scroll bars included.
    for (QWidget *w : {static_cast<QWidget *>(lstGameListing), lstGameListing->viewport(),
                       static_cast<QWidget *>(lstGameListing->verticalScrollBar()), static_cast<QWidget *>(txtDesc),
                       txtDesc->viewport(), static_cast<QWidget *>(txtDesc->verticalScrollBar())}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }

    // A native window destroyed from outside is a close request.
    ui::closeOnExternalDestroy(this);

    connect(lstGameListing, &QListWidget::itemSelectionChanged, this, &frmGames::lstGameListing_Click);

    connect(lblHelp, &ui::HotArea::mouseMove, this, &frmGames::lblHelp_MouseMove);
    connect(lblHelp, &ui::HotArea::mouseDown, this, &frmGames::lblHelp_MouseDown);
    connect(lblHelp, &ui::HotArea::mouseUp, this, &frmGames::lblHelp_MouseUp);
    connect(lblHelp, &ui::HotArea::click, this, &frmGames::lblHelp_Click);
    connect(lblRun, &ui::HotArea::mouseMove, this, &frmGames::lblRun_MouseMove);
    connect(lblRun, &ui::HotArea::mouseDown, this, &frmGames::lblRun_MouseDown);
    connect(lblRun, &ui::HotArea::mouseUp, this, &frmGames::lblRun_MouseUp);
    connect(lblRun, &ui::HotArea::click, this, &frmGames::lblRun_Click);
    connect(lblCopyHDD, &ui::HotArea::mouseMove, this, &frmGames::lblCopyHDD_MouseMove);
    connect(lblCopyHDD, &ui::HotArea::mouseDown, this, &frmGames::lblCopyHDD_MouseDown);
    connect(lblCopyHDD, &ui::HotArea::mouseUp, this, &frmGames::lblCopyHDD_MouseUp);
    connect(lblCopyHDD, &ui::HotArea::click, this, &frmGames::lblCopyHDD_Click);
    connect(lblView, &ui::HotArea::mouseMove, this, &frmGames::lblView_MouseMove);
    connect(lblView, &ui::HotArea::mouseDown, this, &frmGames::lblView_MouseDown);
    connect(lblView, &ui::HotArea::mouseUp, this, &frmGames::lblView_MouseUp);
    connect(lblView, &ui::HotArea::click, this, &frmGames::lblView_Click);
    connect(lblExit, &ui::HotArea::mouseMove, this, &frmGames::lblExit_MouseMove);
    connect(lblExit, &ui::HotArea::mouseDown, this, &frmGames::lblExit_MouseDown);
    connect(lblExit, &ui::HotArea::mouseUp, this, &frmGames::lblExit_MouseUp);
    connect(lblExit, &ui::HotArea::click, this, &frmGames::lblExit_Click);

    connect(lblArcade, &ui::HotArea::mouseMove, this, &frmGames::lblArcade_MouseMove);
    connect(lblArcade, &ui::HotArea::click, this, &frmGames::lblArcade_Click);
    connect(lblBoard, &ui::HotArea::mouseMove, this, &frmGames::lblBoard_MouseMove);
    connect(lblBoard, &ui::HotArea::click, this, &frmGames::lblBoard_Click);
    connect(lblEducate, &ui::HotArea::mouseMove, this, &frmGames::lblEducate_MouseMove);
    connect(lblEducate, &ui::HotArea::click, this, &frmGames::lblEducate_Click);
    connect(lblStrategy, &ui::HotArea::mouseMove, this, &frmGames::lblStrategy_MouseMove);
    connect(lblStrategy, &ui::HotArea::click, this, &frmGames::lblStrategy_Click);
    connect(lblCards, &ui::HotArea::mouseMove, this, &frmGames::lblCards_MouseMove);
    connect(lblCards, &ui::HotArea::click, this, &frmGames::lblCards_Click);
    connect(lblAction, &ui::HotArea::mouseMove, this, &frmGames::lblAction_MouseMove);
    connect(lblAction, &ui::HotArea::click, this, &frmGames::lblAction_Click);
    connect(lblAdv, &ui::HotArea::mouseMove, this, &frmGames::lblAdv_MouseMove);
    connect(lblAdv, &ui::HotArea::click, this, &frmGames::lblAdv_Click);
    connect(lbl3D, &ui::HotArea::mouseMove, this, &frmGames::lbl3D_MouseMove);
    connect(lbl3D, &ui::HotArea::click, this, &frmGames::lbl3D_Click);

    mBackground = assets::picture(QStringLiteral("frmGames"), QStringLiteral("background"));
}

void frmGames::closeEvent(QCloseEvent *event)
{
    if (mClosing) {
        event->ignore();
        return;
    }
    mClosing = true;
    frmExit &exitDialog = ui::form<frmExit>();
    ui::centreOver(&exitDialog, this);
    exitDialog.exec();
    // The exit dialog closed without its buttons: the main screen goes.
    event->accept();
    ui::unload(this);
}

void frmGames::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, mBackground);
}

void frmGames::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    Form_MouseMove();
}

bool frmGames::eventFilter(QObject *watched, QEvent *event)
{
    // With no entry selected, the first arrow key selects the first entry
    // (the list's own focus handling would otherwise skip it).
    if (watched == lstGameListing && event->type() == QEvent::KeyPress && lstGameListing->count() > 0
        && lstGameListing->selectedItems().isEmpty()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up) {
            lstGameListing->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
            return true;
        }
    }
    if (event->type() == QEvent::MouseMove) {
        if (watched == txtDesc || watched == txtDesc->viewport() || watched == txtDesc->verticalScrollBar())
            txtDesc_MouseMove();
        else
            lstGameListing_MouseMove();
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Highlights and marks

void frmGames::initialiseLightButts()
{
    for (ui::Picture *p : {imgArcadeLight, imgCardsLight, imgBoardLight, imgActionLight, imgEducateLight, imgAdvLight,
                           imgStrategyLight, img3DLight, imgHelpLight, imgRunLight, imgCopyHDDLight, imgViewLight,
                           imgExitLight})
        p->hide();
    lblStatus->hide();
}

void frmGames::initialiseIndentButts()
{
    for (ui::Picture *p : {imgArcadeIndent, imgCardsIndent, imgBoardIndent, imgActionIndent, imgEducateIndent,
                           imgAdvIndent, imgStrategyIndent, img3DIndent})
        p->hide();
    const QCursor hand = assets::handCursor();
    for (ui::HotArea *l : {lblArcade, lblCards, lblBoard, lblAction, lblEducate, lblAdv, lblStrategy, lbl3D})
        l->setCursor(hand);
}

void frmGames::highlightCommand(ui::Picture *light, const QString &hint)
{
    if (light->isVisible())
        return;
    playSound(kRollover);
    initialiseLightButts();
    light->show();
    lblStatus->setText(hint);
    lblStatus->show();
}

void frmGames::highlightCategory(ui::Picture *light, ui::Picture *indent, const QString &hint)
{
    if (light->isVisible())
        return;
    initialiseLightButts();
    // The current category gets no highlight, no sound and no hint.
    if (indent->isVisible())
        return;
    playSound(kRollover);
    light->show();
    lblStatus->setText(hint);
    lblStatus->show();
}

bool frmGames::commandClickPasses(ui::Picture *indent)
{
    // A click while the pressed look is still shown does nothing; the release
    // hides it before a completed click arrives.
    if (indent->isVisible())
        return false;
    playSound(kClick);
    return true;
}

void frmGames::Form_MouseMove() { initialiseLightButts(); }
void frmGames::lstGameListing_MouseMove() { initialiseLightButts(); }
void frmGames::txtDesc_MouseMove() { initialiseLightButts(); }

// ---------------------------------------------------------------------------
// Command buttons

void frmGames::lblHelp_MouseMove() { highlightCommand(imgHelpLight, QStringLiteral("Click here for help on using this screen.")); }
void frmGames::lblHelp_MouseDown() { imgHelpIndent->show(); }
void frmGames::lblHelp_MouseUp() { imgHelpIndent->hide(); }
void frmGames::lblHelp_Click()
{
    if (!commandClickPasses(imgHelpIndent))
        return;
    ui::setHourglass();
    // The help viewer inherits the program's folder as its current folder;
    // when that folder cannot be entered, the help is opened all the same.
    platform::changeDirectory(toStd(modMain::gAppPath));
    modMain::launchProgram(this, modMain::gAppPath + QStringLiteral("GLIMMERA.HLP"), QString());
    ui::setDefaultPointer();
}

void frmGames::lblRun_MouseMove() { highlightCommand(imgRunLight, QStringLiteral("Click here to run the selected game from the CD.")); }
void frmGames::lblRun_MouseDown() { imgRunIndent->show(); }
void frmGames::lblRun_MouseUp() { imgRunIndent->hide(); }
void frmGames::lblRun_Click()
{
    if (!commandClickPasses(imgRunIndent))
        return;
    using namespace modMain;

    if (gGameHddFlag == QLatin1String("1")) {
        // A copy counts as present when its description file is there. A
        // copy that is missing, or that cannot be made the current folder,
        // brings up the notice that makes it.
        if (platform::isOrdinaryFile(toStd(catalogue::copyMarker()))
            && platform::changeDirectory(toStd(catalogue::copyFolder()))) {
            launchProgram(this, catalogue::copyProgram(), gGameParameters);
            return;
        }
        frmHDD &hdd = ui::form<frmHDD>();
        ui::centreOver(&hdd, this);
        hdd.exec();
        return;
    }

    if (gGameName.isEmpty() || gGameCategory.isEmpty()) {
        showInformationDialog(QStringLiteral("Please select a game category and then a game to run."),
                              Placement::MainScreen, Mode::Modal);
        return;
    }
    // The game inherits the current folder: it must be the game's own.
    ui::setHourglass();
    if (!platform::changeDirectory(toStd(catalogue::gameFolder()))) {
        ui::setDefaultPointer();
        showInformationDialog(QStringLiteral("Please ensure that the 'Quorvia' CD is inside the CD-ROM drive."),
                              Placement::Screen, Mode::Modal);
        return;
    }
    launchProgram(this, catalogue::gameProgram(), gGameParameters);
    ui::setDefaultPointer();
}

void frmGames::lblCopyHDD_MouseMove()
{
    highlightCommand(imgCopyHDDLight, QStringLiteral("Click here to copy the selected game to your hard drive."));
}
void frmGames::lblCopyHDD_MouseDown() { imgCopyHDDIndent->show(); }
void frmGames::lblCopyHDD_MouseUp() { imgCopyHDDIndent->hide(); }
void frmGames::lblCopyHDD_Click()
{
    if (!commandClickPasses(imgCopyHDDIndent))
        return;
    if (modMain::gGameName.isEmpty()) {
        showInformationDialog(QStringLiteral("Please select a game category and then a game to copy."),
                              Placement::MainScreen, Mode::Modal);
        return;
    }

    // Prepare the chooser: drive C:, its root, the proposed folder, and the
    // list of the game's files, which needs the disc.
    ui::setHourglass();
    frmSave &save = ui::form<frmSave>();
    ui::setTitleText(&save, QStringLiteral("Save '%1' Game To Where ?").arg(modMain::gGameName.trimmed()));
    bool prepared = save.drvSave->setDrive(QStringLiteral("C:\\")) && save.dirSave->setPath(QStringLiteral("C:\\"));
    if (prepared) {
        save.txtFolderPath->setText(QStringLiteral("C:\\") + catalogue::categoryFolder(modMain::gGameCategory)
                                    + QLatin1Char('\\') + modMain::gGameFolder);
        prepared = save.filGame->setFolder(catalogue::gameFolder());
    }
    if (!prepared) {
        ui::unload(&save);
        ui::setDefaultPointer();
        showInformationDialog(QStringLiteral("Please ensure that the 'Quorvia' CD is inside the CD-ROM drive."),
                              Placement::Screen, Mode::Modal);
        return;
    }
    ui::centreOver(&save, this);
    ui::setDefaultPointer();
    save.setWindowModality(Qt::ApplicationModal);
    save.exec();
}

void frmGames::lblView_MouseMove() { highlightCommand(imgViewLight, QStringLiteral("Click here to view the selected game files.")); }
void frmGames::lblView_MouseDown() { imgViewIndent->show(); }
void frmGames::lblView_MouseUp() { imgViewIndent->hide(); }
void frmGames::lblView_Click()
{
    if (!commandClickPasses(imgViewIndent))
        return;
    if (modMain::gGameName.isEmpty()) {
        showInformationDialog(QStringLiteral("Please select a game category and then a game to view."),
                              Placement::MainScreen, Mode::Modal);
        return;
    }

    // A missing disc or game folder ends the command quietly.
    const QString folder = catalogue::gameFolder();
    if (!platform::changeDirectory(toStd(folder)))
        return;
    comdlgGame.DialogTitle = QStringLiteral("'%1' folder contents").arg(modMain::gGameName.trimmed());
    comdlgGame.Filter = QStringLiteral("All Files (*.*)|*.*");
    comdlgGame.FilterIndex = 1;
    comdlgGame.InitDir = folder;
    if (!comdlgGame.ShowOpen(this))
        return;
    modMain::launchProgram(this, comdlgGame.FileName, QString());
}

void frmGames::lblExit_MouseMove() { highlightCommand(imgExitLight, QStringLiteral("Click here to quit this application.")); }
void frmGames::lblExit_MouseDown() { imgExitIndent->show(); }
void frmGames::lblExit_MouseUp() { imgExitIndent->hide(); }
void frmGames::lblExit_Click()
{
    // Exit has no guard on its pressed look.
    playSound(kClick);
    close();
}

// ---------------------------------------------------------------------------
// Category buttons

void frmGames::lblArcade_MouseMove() { highlightCategory(imgArcadeLight, imgArcadeIndent, QStringLiteral("Click here for a listing of Arcade games.")); }
void frmGames::lblBoard_MouseMove() { highlightCategory(imgBoardLight, imgBoardIndent, QStringLiteral("Click here for a listing of Board games.")); }
void frmGames::lblEducate_MouseMove() { highlightCategory(imgEducateLight, imgEducateIndent, QStringLiteral("Click here for a listing of Educational games.")); }
void frmGames::lblStrategy_MouseMove() { highlightCategory(imgStrategyLight, imgStrategyIndent, QStringLiteral("Click here for a listing of Strategy games.")); }
void frmGames::lblCards_MouseMove() { highlightCategory(imgCardsLight, imgCardsIndent, QStringLiteral("Click here for a listing of Cards games.")); }
void frmGames::lblAction_MouseMove() { highlightCategory(imgActionLight, imgActionIndent, QStringLiteral("Click here for a listing of Action games.")); }
void frmGames::lblAdv_MouseMove() { highlightCategory(imgAdvLight, imgAdvIndent, QStringLiteral("Click here for a listing of Adventure games.")); }
void frmGames::lbl3D_MouseMove() { highlightCategory(img3DLight, img3DIndent, QStringLiteral("Click here for a listing of 3D games.")); }

void frmGames::lblArcade_Click() { selectCategory(lblArcade, imgArcadeIndent, QStringLiteral("Arcade")); }
void frmGames::lblBoard_Click() { selectCategory(lblBoard, imgBoardIndent, QStringLiteral("Board")); }
void frmGames::lblEducate_Click() { selectCategory(lblEducate, imgEducateIndent, QStringLiteral("Educate")); }
void frmGames::lblStrategy_Click() { selectCategory(lblStrategy, imgStrategyIndent, QStringLiteral("Strategy")); }
void frmGames::lblCards_Click() { selectCategory(lblCards, imgCardsIndent, QStringLiteral("Cards")); }
void frmGames::lblAction_Click() { selectCategory(lblAction, imgActionIndent, QStringLiteral("Action")); }
void frmGames::lblAdv_Click() { selectCategory(lblAdv, imgAdvIndent, QStringLiteral("Adv")); }
void frmGames::lbl3D_Click() { selectCategory(lbl3D, img3DIndent, QStringLiteral("3D")); }

// ---------------------------------------------------------------------------
// Category browsing and game details

void frmGames::selectCategory(ui::HotArea *label, ui::Picture *indent, const QString &key)
{
    // Clicking the current category changes nothing and plays nothing.
    if (indent->isVisible())
        return;
    playSound(kClick);
    initialiseLightButts();
    initialiseIndentButts();
    indent->show();
    label->setCursor(Qt::ArrowCursor);
    if (!showGameListing(key)) {
        indent->hide();
        label->setCursor(assets::handCursor());
    }
}

bool frmGames::showGameListing(QString pmGameCategory)
{
    ui::setHourglass();
    lstGameListing->clear();
    txtDesc->setPlainText(QString());

    // The names come in one read of the catalogue; a file that cannot be read
    // to its end leaves the list empty and the selection as it was.
    const std::optional<QStringList> names = catalogue::readNames(catalogue::cataloguePath(pmGameCategory));
    if (!names) {
        ui::setDefaultPointer();
        return false;
    }
    lstGameListing->addItems(*names);
    lstGameListing->setCurrentRow(-1, QItemSelectionModel::Clear);

    modMain::gGameCategory = pmGameCategory;
    modMain::gGameName.clear();
    modMain::gGameFolder.clear();
    modMain::gGameProgram.clear();
    modMain::gGameParameters.clear();
    modMain::gGameHddFlag.clear();

    ui::setDefaultPointer();
    return true;
}

void frmGames::lstGameListing_Click()
{
    const QList<QListWidgetItem *> selected = lstGameListing->selectedItems();
    if (selected.isEmpty() || selected.first()->text().isEmpty())
        return;
    // Record numbers are 16-bit; a catalogue never holds more than 32,767.
    displayGameText(qint16(lstGameListing->row(selected.first()) + 1));
}

void frmGames::displayGameText(qint16 pmGameIndex)
{
    ui::setHourglass();
    const auto fail = [this] {
        txtDesc->setPlainText(QStringLiteral("No description file for the selected game."));
        ui::setDefaultPointer();
    };

    const std::optional<catalogue::GameRecord> record =
        catalogue::readRecord(catalogue::cataloguePath(modMain::gGameCategory), pmGameIndex);
    if (!record)
        return fail();
    modMain::gGameName = record->name;
    modMain::gGameFolder = record->folder;
    modMain::gGameProgram = record->program;
    modMain::gGameParameters = record->parameters;
    modMain::gGameHddFlag = record->hddFlag;

    const std::optional<std::string> text = platform::readFile(toStd(catalogue::descriptionFile()));
    if (!text)
        return fail();
    QStringDecoder decode(platform::ansiCodePage().c_str());
    txtDesc->setPlainText(decode(QByteArrayView(text->data(), qsizetype(text->size()))));
    txtDesc->moveCursor(QTextCursor::Start);
    ui::setDefaultPointer();
}
