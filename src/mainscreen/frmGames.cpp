#include "frmGames.h"

#include "catalogue/catalogue.h"
#include "copy/frmSave.h"
#include "dialogs/frmCD.h"
#include "dialogs/frmExit.h"
#include "dialogs/frmHDD.h"
#include "platform/files.h"
#include "platform/text.h"
#include "startup/modMain.h"
#include "startup/trimmed.h"
#include "ui/imagebutton.h"
#include "ui/layout.h"

#include <iterator>
#include <optional>
#include <vector>

namespace {
// The status line's hint of each button, also its description for screen readers.
constexpr const char *kHelpHint = "Click here for help on using this screen.";
constexpr const char *kRunHint = "Click here to run the selected game from the CD.";
constexpr const char *kCopyHDDHint = "Click here to copy the selected game to your hard drive.";
constexpr const char *kViewHint = "Click here to view the selected game files.";
constexpr const char *kExitHint = "Click here to quit this application.";
constexpr const char *kArcadeHint = "Click here for a listing of Arcade games.";
constexpr const char *kBoardHint = "Click here for a listing of Board games.";
constexpr const char *kEducateHint = "Click here for a listing of Educational games.";
constexpr const char *kStrategyHint = "Click here for a listing of Strategy games.";
constexpr const char *kCardsHint = "Click here for a listing of Cards games.";
constexpr const char *kActionHint = "Click here for a listing of Action games.";
constexpr const char *kAdvHint = "Click here for a listing of Adventure games.";
constexpr const char *k3DHint = "Click here for a listing of 3D games.";
} // namespace

using modMain::playSound;
using ui::kClickSound;
using ui::kRolloverSound;

frmGames::frmGames()
    : ui::Window({"frmGames", layout::games::width, layout::games::height, ui::Frame::MainScreen, "Quorvia"})
{
    setMainScreen();

    const auto picture = [this](const char *stem, const char *kind, const layout::Rect &r) {
        const std::string name = std::string("img") + stem + kind;
        ui::Picture *p = addPicture(r, name);
        p->setName(name);
        return p;
    };
    const auto hotArea = [this](const char *stem, const layout::Rect &r) {
        ui::HotArea *l = addHotArea(r);
        l->setName(std::string("lbl") + stem);
        return l;
    };

    // Stacking, bottom to top: each button's Light picture, its Indent picture
    // above it, and all hot areas above every picture.
    struct Slot {
        ui::HotArea **label;
        ui::Picture **light;
        ui::Picture **indent;
        const char *hint;
    };
    const Slot commandSlots[] = {
        {&lblHelp, &imgHelpLight, &imgHelpIndent, kHelpHint},
        {&lblRun, &imgRunLight, &imgRunIndent, kRunHint},
        {&lblCopyHDD, &imgCopyHDDLight, &imgCopyHDDIndent, kCopyHDDHint},
        {&lblView, &imgViewLight, &imgViewIndent, kViewHint},
        {&lblExit, &imgExitLight, &imgExitIndent, kExitHint},
    };
    const Slot categorySlots[] = {
        {&lblArcade, &imgArcadeLight, &imgArcadeIndent, kArcadeHint},   {&lblBoard, &imgBoardLight, &imgBoardIndent, kBoardHint},
        {&lblEducate, &imgEducateLight, &imgEducateIndent, kEducateHint}, {&lblStrategy, &imgStrategyLight, &imgStrategyIndent, kStrategyHint},
        {&lblCards, &imgCardsLight, &imgCardsIndent, kCardsHint},      {&lblAction, &imgActionLight, &imgActionIndent, kActionHint},
        {&lblAdv, &imgAdvLight, &imgAdvIndent, kAdvHint},            {&lbl3D, &img3DLight, &img3DIndent, k3DHint},
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
    const auto button = [&](const Slot &slot, const layout::Button &b) {
        *slot.label = hotArea(b.name, b.label);
        (*slot.label)->setAccessible(ui::spokenWord(b.word), slot.hint);
    };
    for (std::size_t i = 0; i < std::size(commandSlots); ++i)
        button(commandSlots[i], layout::games::commands[i]);
    for (std::size_t i = 0; i < std::size(categorySlots); ++i)
        button(categorySlots[i], layout::games::categories[i]);

    // A long hint takes the strip's second line.
    lblStatus = addLabel(layout::games::lblStatus, ui::LabelStyle::Status);
    lblStatus->setName("lblStatus");

    // The list and the description pane lie above everything drawn on the
    // window; the list takes the focus first.
    lstGameListing = addListBox(layout::games::lstGameListing);
    lstGameListing->setName("lstGameListing");
    txtDesc = addTextPane(layout::games::txtDesc);
    txtDesc->setName("txtDesc");

    // The keyboard: Tab goes from the list through the pane, the commands top
    // to bottom and the categories row by row; the arrow keys move within the
    // command column and within the category block. The list has the focus
    // when the window opens.
    setTabOrder({lstGameListing, txtDesc, lblHelp, lblRun, lblCopyHDD, lblView, lblExit, lblArcade, lblBoard,
                 lblEducate, lblStrategy, lblCards, lblAction, lblAdv, lbl3D});
    ui::arrowGrid({{lblHelp}, {lblRun}, {lblCopyHDD}, {lblView}, {lblExit}});
    ui::arrowGrid({{lblArcade, lblBoard, lblEducate, lblStrategy}, {lblCards, lblAction, lblAdv, lbl3D}});
    lstGameListing->setFocus();

    ui::connectHandlers(this, {
        {onClose, &frmGames::Form_Unload},
        {onMouseMove, &frmGames::Form_MouseMove},
        {lstGameListing->onMouseMove, &frmGames::lstGameListing_MouseMove},
        {lstGameListing->onFocus, &frmGames::lstGameListing_MouseMove},
        {lstGameListing->onClick, &frmGames::lstGameListing_Click},
        {txtDesc->onMouseMove, &frmGames::txtDesc_MouseMove},
        {txtDesc->onFocus, &frmGames::txtDesc_MouseMove},

        {lblHelp->onMouseMove, &frmGames::lblHelp_MouseMove},
        {lblHelp->onFocus, &frmGames::lblHelp_MouseMove},
        {lblHelp->onMouseDown, &frmGames::lblHelp_MouseDown},
        {lblHelp->onMouseUp, &frmGames::lblHelp_MouseUp},
        {lblHelp->onClick, &frmGames::lblHelp_Click},
        {lblRun->onMouseMove, &frmGames::lblRun_MouseMove},
        {lblRun->onFocus, &frmGames::lblRun_MouseMove},
        {lblRun->onMouseDown, &frmGames::lblRun_MouseDown},
        {lblRun->onMouseUp, &frmGames::lblRun_MouseUp},
        {lblRun->onClick, &frmGames::lblRun_Click},
        {lblCopyHDD->onMouseMove, &frmGames::lblCopyHDD_MouseMove},
        {lblCopyHDD->onFocus, &frmGames::lblCopyHDD_MouseMove},
        {lblCopyHDD->onMouseDown, &frmGames::lblCopyHDD_MouseDown},
        {lblCopyHDD->onMouseUp, &frmGames::lblCopyHDD_MouseUp},
        {lblCopyHDD->onClick, &frmGames::lblCopyHDD_Click},
        {lblView->onMouseMove, &frmGames::lblView_MouseMove},
        {lblView->onFocus, &frmGames::lblView_MouseMove},
        {lblView->onMouseDown, &frmGames::lblView_MouseDown},
        {lblView->onMouseUp, &frmGames::lblView_MouseUp},
        {lblView->onClick, &frmGames::lblView_Click},
        {lblExit->onMouseMove, &frmGames::lblExit_MouseMove},
        {lblExit->onFocus, &frmGames::lblExit_MouseMove},
        {lblExit->onMouseDown, &frmGames::lblExit_MouseDown},
        {lblExit->onMouseUp, &frmGames::lblExit_MouseUp},
        {lblExit->onClick, &frmGames::lblExit_Click},

        {lblArcade->onMouseMove, &frmGames::lblArcade_MouseMove},
        {lblArcade->onFocus, &frmGames::lblArcade_MouseMove},
        {lblArcade->onClick, &frmGames::lblArcade_Click},
        {lblBoard->onMouseMove, &frmGames::lblBoard_MouseMove},
        {lblBoard->onFocus, &frmGames::lblBoard_MouseMove},
        {lblBoard->onClick, &frmGames::lblBoard_Click},
        {lblEducate->onMouseMove, &frmGames::lblEducate_MouseMove},
        {lblEducate->onFocus, &frmGames::lblEducate_MouseMove},
        {lblEducate->onClick, &frmGames::lblEducate_Click},
        {lblStrategy->onMouseMove, &frmGames::lblStrategy_MouseMove},
        {lblStrategy->onFocus, &frmGames::lblStrategy_MouseMove},
        {lblStrategy->onClick, &frmGames::lblStrategy_Click},
        {lblCards->onMouseMove, &frmGames::lblCards_MouseMove},
        {lblCards->onFocus, &frmGames::lblCards_MouseMove},
        {lblCards->onClick, &frmGames::lblCards_Click},
        {lblAction->onMouseMove, &frmGames::lblAction_MouseMove},
        {lblAction->onFocus, &frmGames::lblAction_MouseMove},
        {lblAction->onClick, &frmGames::lblAction_Click},
        {lblAdv->onMouseMove, &frmGames::lblAdv_MouseMove},
        {lblAdv->onFocus, &frmGames::lblAdv_MouseMove},
        {lblAdv->onClick, &frmGames::lblAdv_Click},
        {lbl3D->onMouseMove, &frmGames::lbl3D_MouseMove},
        {lbl3D->onFocus, &frmGames::lbl3D_MouseMove},
        {lbl3D->onClick, &frmGames::lbl3D_Click},
    });
}

void frmGames::Form_Unload()
{
    // A close request while the exit dialog is up is a repeat.
    if (mClosing)
        return;
    mClosing = true;
    frmExit &exitDialog = ui::form<frmExit>();
    ui::centreOver(exitDialog, *this);
    exitDialog.showModal();
    // The exit dialog closed without its buttons: the main screen goes.
    unload();
}

void frmGames::Form_MouseMove() { initialiseLightButts(); }
void frmGames::lstGameListing_MouseMove() { initialiseLightButts(); }
void frmGames::txtDesc_MouseMove() { initialiseLightButts(); }

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
    for (ui::HotArea *l : {lblArcade, lblCards, lblBoard, lblAction, lblEducate, lblAdv, lblStrategy, lbl3D}) {
        l->setCursor(ui::Cursor::Hand);
        l->setSelected(false);
    }
}

void frmGames::highlightCommand(ui::Picture *light, const std::string &hint)
{
    if (light->visible())
        return;
    playSound(kRolloverSound);
    initialiseLightButts();
    light->show();
    lblStatus->setText(hint);
    lblStatus->show();
}

void frmGames::highlightCategory(ui::Picture *light, ui::Picture *indent, const std::string &hint)
{
    if (light->visible())
        return;
    initialiseLightButts();
    // The current category gets no highlight, no sound and no hint.
    if (indent->visible())
        return;
    playSound(kRolloverSound);
    light->show();
    lblStatus->setText(hint);
    lblStatus->show();
}

bool frmGames::commandClickPasses(ui::Picture *indent)
{
    // A click while the pressed look is still shown does nothing; the release
    // hides it before a completed click arrives.
    if (indent->visible())
        return false;
    playSound(kClickSound);
    return true;
}

// ---------------------------------------------------------------------------
// Command buttons

void frmGames::lblHelp_MouseMove() { highlightCommand(imgHelpLight, kHelpHint); }
void frmGames::lblHelp_MouseDown() { imgHelpIndent->show(); }
void frmGames::lblHelp_MouseUp() { imgHelpIndent->hide(); }
void frmGames::lblHelp_Click()
{
    if (!commandClickPasses(imgHelpIndent))
        return;
    ui::setHourglass();
    // The help viewer inherits the program's folder as its current folder;
    // when that folder cannot be entered, the help is opened all the same.
    platform::changeDirectory(modMain::gAppPath);
    modMain::launchProgram(this, modMain::gAppPath + "GLIMMERA.HLP", "");
    ui::setDefaultPointer();
}

void frmGames::lblRun_MouseMove() { highlightCommand(imgRunLight, kRunHint); }
void frmGames::lblRun_MouseDown() { imgRunIndent->show(); }
void frmGames::lblRun_MouseUp() { imgRunIndent->hide(); }
void frmGames::lblRun_Click()
{
    if (!commandClickPasses(imgRunIndent))
        return;
    using namespace modMain;

    if (gGameHddFlag == "1") {
        // A copy counts as present when its description file is there. A
        // copy that is missing, or that cannot be made the current folder,
        // brings up the notice that makes it.
        if (platform::isOrdinaryFile(catalogue::copyMarker()) && platform::changeDirectory(catalogue::copyFolder())) {
            launchProgram(this, catalogue::copyProgram(), gGameParameters);
            return;
        }
        frmHDD &hdd = ui::form<frmHDD>();
        ui::centreOver(hdd, *this);
        hdd.showModal();
        return;
    }

    if (gGameName.empty() || gGameCategory.empty()) {
        showInformationDialog("Please select a game category and then a game to run.", Placement::MainScreen,
                              Mode::Modal);
        return;
    }
    // The game inherits the current folder: it must be the game's own.
    ui::setHourglass();
    if (!platform::changeDirectory(catalogue::gameFolder())) {
        ui::setDefaultPointer();
        showInformationDialog(kDiscRequest, Placement::Screen, Mode::Modal);
        return;
    }
    launchProgram(this, catalogue::gameProgram(), gGameParameters);
    ui::setDefaultPointer();
}

void frmGames::lblCopyHDD_MouseMove()
{
    highlightCommand(imgCopyHDDLight, kCopyHDDHint);
}
void frmGames::lblCopyHDD_MouseDown() { imgCopyHDDIndent->show(); }
void frmGames::lblCopyHDD_MouseUp() { imgCopyHDDIndent->hide(); }
void frmGames::lblCopyHDD_Click()
{
    if (!commandClickPasses(imgCopyHDDIndent))
        return;
    if (modMain::gGameName.empty()) {
        showInformationDialog("Please select a game category and then a game to copy.", Placement::MainScreen,
                              Mode::Modal);
        return;
    }

    // Prepare the chooser: drive C:, its root, the proposed folder, and the
    // list of the game's files, which needs the disc.
    ui::setHourglass();
    frmSave &save = ui::form<frmSave>();
    save.setTitle("Save '" + modMain::trimmed(modMain::gGameName) + "' Game To Where ?");
    bool prepared = save.drvSave->setDrive("C:\\") && save.dirSave->setPath("C:\\");
    if (prepared) {
        save.txtFolderPath->setText("C:\\" + catalogue::categoryFolder(modMain::gGameCategory) + '\\'
                                    + modMain::gGameFolder);
        prepared = save.filGame->setFolder(catalogue::gameFolder());
    }
    if (!prepared) {
        save.unload();
        ui::setDefaultPointer();
        showInformationDialog(modMain::kDiscRequest, Placement::Screen, Mode::Modal);
        return;
    }
    ui::centreOver(save, *this);
    ui::setDefaultPointer();
    save.showModal();
}

void frmGames::lblView_MouseMove() { highlightCommand(imgViewLight, kViewHint); }
void frmGames::lblView_MouseDown() { imgViewIndent->show(); }
void frmGames::lblView_MouseUp() { imgViewIndent->hide(); }
void frmGames::lblView_Click()
{
    if (!commandClickPasses(imgViewIndent))
        return;
    if (modMain::gGameName.empty()) {
        showInformationDialog("Please select a game category and then a game to view.", Placement::MainScreen,
                              Mode::Modal);
        return;
    }

    // A missing disc or game folder ends the command quietly.
    const std::string folder = catalogue::gameFolder();
    if (!platform::changeDirectory(folder))
        return;
    comdlgGame.DialogTitle = "'" + modMain::trimmed(modMain::gGameName) + "' folder contents";
    comdlgGame.Filter = "All Files (*.*)|*.*";
    comdlgGame.FilterIndex = 1;
    comdlgGame.InitDir = folder;
    if (!comdlgGame.ShowOpen(*this))
        return;
    modMain::launchProgram(this, comdlgGame.FileName, "");
}

void frmGames::lblExit_MouseMove() { highlightCommand(imgExitLight, kExitHint); }
void frmGames::lblExit_MouseDown() { imgExitIndent->show(); }
void frmGames::lblExit_MouseUp() { imgExitIndent->hide(); }
void frmGames::lblExit_Click()
{
    // Exit has no guard on its pressed look.
    playSound(kClickSound);
    close();
}

// ---------------------------------------------------------------------------
// Category buttons

void frmGames::lblArcade_MouseMove() { highlightCategory(imgArcadeLight, imgArcadeIndent, kArcadeHint); }
void frmGames::lblBoard_MouseMove() { highlightCategory(imgBoardLight, imgBoardIndent, kBoardHint); }
void frmGames::lblEducate_MouseMove() { highlightCategory(imgEducateLight, imgEducateIndent, kEducateHint); }
void frmGames::lblStrategy_MouseMove() { highlightCategory(imgStrategyLight, imgStrategyIndent, kStrategyHint); }
void frmGames::lblCards_MouseMove() { highlightCategory(imgCardsLight, imgCardsIndent, kCardsHint); }
void frmGames::lblAction_MouseMove() { highlightCategory(imgActionLight, imgActionIndent, kActionHint); }
void frmGames::lblAdv_MouseMove() { highlightCategory(imgAdvLight, imgAdvIndent, kAdvHint); }
void frmGames::lbl3D_MouseMove() { highlightCategory(img3DLight, img3DIndent, k3DHint); }

void frmGames::lblArcade_Click() { selectCategory(lblArcade, imgArcadeIndent, "Arcade"); }
void frmGames::lblBoard_Click() { selectCategory(lblBoard, imgBoardIndent, "Board"); }
void frmGames::lblEducate_Click() { selectCategory(lblEducate, imgEducateIndent, "Educate"); }
void frmGames::lblStrategy_Click() { selectCategory(lblStrategy, imgStrategyIndent, "Strategy"); }
void frmGames::lblCards_Click() { selectCategory(lblCards, imgCardsIndent, "Cards"); }
void frmGames::lblAction_Click() { selectCategory(lblAction, imgActionIndent, "Action"); }
void frmGames::lblAdv_Click() { selectCategory(lblAdv, imgAdvIndent, "Adv"); }
void frmGames::lbl3D_Click() { selectCategory(lbl3D, img3DIndent, "3D"); }

// ---------------------------------------------------------------------------
// Category browsing and game details

void frmGames::selectCategory(ui::HotArea *label, ui::Picture *indent, const std::string &key)
{
    // Clicking the current category changes nothing and plays nothing.
    if (indent->visible())
        return;
    playSound(kClickSound);
    initialiseLightButts();
    initialiseIndentButts();
    indent->show();
    label->setCursor(ui::Cursor::Arrow);
    label->setSelected(true);
    if (!showGameListing(key)) {
        indent->hide();
        label->setCursor(ui::Cursor::Hand);
        label->setSelected(false);
    }
}

bool frmGames::showGameListing(std::string pmGameCategory)
{
    ui::setHourglass();
    lstGameListing->clear();
    txtDesc->setText("");

    // The names come in one read of the catalogue; a file that cannot be read
    // to its end leaves the list empty and the selection as it was.
    const std::optional<std::vector<std::string>> names =
        catalogue::readNames(catalogue::cataloguePath(pmGameCategory));
    if (!names) {
        ui::setDefaultPointer();
        return false;
    }
    lstGameListing->addItems(*names);
    lstGameListing->clearSelection();

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
    const int selected = lstGameListing->selectedIndex();
    if (selected < 0 || lstGameListing->item(selected).empty())
        return;
    // Record numbers are 16-bit; a catalogue never holds more than 32,767.
    displayGameText(std::int16_t(selected + 1));
}

void frmGames::displayGameText(std::int16_t pmGameIndex)
{
    ui::setHourglass();
    const auto fail = [this] {
        txtDesc->setText("No description file for the selected game.");
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

    const std::optional<std::string> text = platform::readFile(catalogue::descriptionFile());
    if (!text)
        return fail();
    txtDesc->setText(platform::fromAnsi(*text));
    ui::setDefaultPointer();
}
