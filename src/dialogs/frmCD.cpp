#include "frmCD.h"

#include "assets/assets.h"
#include "mainscreen/frmGames.h"
#include "startup/modMain.h"
#include "ui/layout.h"

#include <QEvent>
#include <QLabel>

namespace {
QPixmap art(const char *name) { return assets::picture(QStringLiteral("frmCD"), QLatin1String(name)); }

// Shows nothing, but the label's word wrap may break the line after it.
const QChar kBreakHere(0x200B);
const QChar kEllipsis(0x2026);

bool fitsLabel(const QLabel *label, const QString &text)
{
    const QRect area = label->contentsRect();
    const QRect needed =
        label->fontMetrics().boundingRect(area, int(label->alignment()) | Qt::TextWordWrap, text);
    return needed.width() <= area.width() && needed.height() <= area.height();
}

// The sentence with the name in place of its "%1", as the label can show it
// whole: as it stands, else with the name's "\" as places to wrap, else with
// the fewest characters taken out of the name's middle.
QString fittedMessage(const QLabel *label, const QString &sentence, const QString &name)
{
    const qsizetype at = sentence.indexOf(QLatin1String("%1"));
    const auto compose = [&](const QString &shown) {
        return at < 0 ? sentence : sentence.left(at) + shown + sentence.mid(at + 2);
    };
    const auto wrappable = [](QString shown) {
        return shown.replace(QLatin1Char('\\'), QString(QLatin1Char('\\')) + kBreakHere);
    };
    const QString whole = compose(name);
    if (at < 0 || fitsLabel(label, whole))
        return whole;
    for (qsizetype kept = name.size(); kept > 0; --kept) {
        const QString shown = kept == name.size()
            ? name
            : name.left(kept - kept / 2) + kEllipsis + name.right(kept / 2);
        const QString text = compose(wrappable(shown));
        if (fitsLabel(label, text))
            return text;
    }
    return compose(kEllipsis);
}
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

namespace {
void showMessage(const QString &sentence, const QString *name, Placement placement, Mode mode)
{
    // A modal request while the copy-finished message is still open closes
    // that one first, so that the new message gets a dialog of its own.
    if (mode == Mode::Modal) {
        if (frmCD *open = ui::loadedForm<frmCD>(); open && open->isVisible())
            ui::unload(open);
    }

    frmCD &dialog = ui::form<frmCD>();
    dialog.setWindowTitle(QStringLiteral("Quorvia Information"));
    dialog.lblInstruction->setText(name ? fittedMessage(dialog.lblInstruction, sentence, *name) : sentence);
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
} // namespace

void showInformationDialog(const QString &message, Placement placement, Mode mode)
{
    showMessage(message, nullptr, placement, mode);
}

void showInformationDialog(const QString &sentence, const QString &name, Placement placement, Mode mode)
{
    showMessage(sentence, &name, placement, mode);
}
