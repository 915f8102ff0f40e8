#include "frmCD.h"

#include "assets/assets.h"
#include "mainscreen/frmGames.h"
#include "startup/modMain.h"
#include "ui/layout.h"

#include <QEvent>
#include <QLabel>

namespace {
QPixmap art(const char *name) { return assets::picture(QStringLiteral("frmCD"), QLatin1String(name)); }
} // namespace

frmCD::frmCD()
{
    namespace L = layout::cd;
    ui::setupFixedWindow(this, L::width, L::height, true);
    setBackground(art("background"));

    // Created bottom-most first: the message, then the OK button's pictures
    // (at rest, highlight, pressed), then its hot area on top.
    lblInstruction = new QLabel(this);
    lblInstruction->setGeometry(ui::qrect(L::lblInstruction));
    lblInstruction->setTextFormat(Qt::PlainText);
    lblInstruction->setAlignment(Qt::AlignCenter);
    lblInstruction->setWordWrap(true);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(12);
    font.setBold(true);
    lblInstruction->setFont(font);
    lblInstruction->setMouseTracking(true);
    lblInstruction->installEventFilter(this);
    lblInstruction->hide();

    imgOk2 = new ui::Picture(this, ui::qrect(L::imgOk2), art("imgOk2"));
    imgOk2Light = new ui::Picture(this, ui::qrect(L::imgOk2Light), art("imgOk2Light"));
    imgOk2Indent = new ui::Picture(this, ui::qrect(L::imgOk2Indent), art("imgOk2Indent"));
    lblOk2 = new ui::HotArea(this, ui::qrect(L::lblOk2));
    lblOk2->hide();

    connect(lblOk2, &ui::HotArea::mouseMove, this, &frmCD::lblOk2_MouseMove);
    connect(lblOk2, &ui::HotArea::mouseDown, this, &frmCD::lblOk2_MouseDown);
    connect(lblOk2, &ui::HotArea::mouseUp, this, &frmCD::lblOk2_MouseUp);
    connect(lblOk2, &ui::HotArea::click, this, &frmCD::lblOk2_Click);
}

bool frmCD::eventFilter(QObject *watched, QEvent *event)
{
    // The message takes no part in the highlight: movement over it neither
    // shows nor clears anything.
    if (watched == lblInstruction && event->type() == QEvent::MouseMove)
        return true;
    return ui::Dialog::eventFilter(watched, event);
}

void frmCD::Form_MouseMove()
{
    imgOk2Light->hide();
}

void frmCD::lblOk2_MouseMove()
{
    if (imgOk2Light->isVisible())
        return;
    modMain::playSound(QStringLiteral("ROLLOVER.WAV"));
    imgOk2Light->show();
}

void frmCD::lblOk2_MouseDown()
{
    imgOk2Indent->show();
}

void frmCD::lblOk2_MouseUp()
{
    imgOk2Indent->hide();
}

void frmCD::lblOk2_Click()
{
    modMain::playSound(QStringLiteral("BUTCLICK.WAV"));
    done(QDialog::Accepted);
}

void showInformationDialog(const QString &message, Placement placement, Mode mode)
{
    // A modal request while the copy-finished message is still open closes
    // that one first, so that the new message gets a dialog of its own.
    if (mode == Mode::Modal) {
        if (frmCD *open = ui::loadedForm<frmCD>(); open && open->isVisible())
            ui::unload(open);
    }

    frmCD &dialog = ui::form<frmCD>();
    dialog.setWindowTitle(QStringLiteral("Quorvia Information"));
    dialog.lblInstruction->setText(message);
    frmGames *games = ui::loadedForm<frmGames>();
    if (placement == Placement::MainScreen && games)
        ui::centreOver(&dialog, games);
    else
        ui::centreOnScreen(&dialog);
    dialog.lblInstruction->show();
    dialog.imgOk2->show();
    dialog.lblOk2->show();

    if (mode == Mode::Modal) {
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.exec();
    } else {
        dialog.setWindowModality(Qt::NonModal);
        dialog.show();
    }
}
