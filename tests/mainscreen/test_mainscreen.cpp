// The main screen driven with real pointer and key events: highlights, pressed
// looks, category marks, listing and game details.
#include "fixture.h"
#include "mainscreen/frmGames.h"
#include "ui/window.h"

#include <QListWidget>
#include <QPlainTextEdit>

namespace {
const QString kRoll = QStringLiteral("ROLLOVER.WAV");
const QString kClick = QStringLiteral("BUTCLICK.WAV");

// Counts the events of one type that the watched widgets receive.
class EventCounter : public QObject {
public:
    explicit EventCounter(QEvent::Type type) : mType(type) {}
    int count = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == mType)
            ++count;
        return false;
    }

private:
    QEvent::Type mType;
};

// Fails the test if two category marks are ever shown at once.
class MarkWatcher : public QObject {
public:
    QList<QWidget *> marks;
    int worst = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show) {
            int shown = 0;
            for (QWidget *m : marks)
                shown += m->isVisible() ? 1 : 0;
            worst = std::max(worst, shown);
        }
        return false;
    }
};
} // namespace

class TestMainScreen : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    frmGames *games = nullptr;
    QWindow *win = nullptr;

    void moveOver(QWidget *w, QPoint offset = {}) { QTest::mouseMove(win, w->geometry().center() + offset); }
    void click(QWidget *w) { QTest::mouseClick(win, Qt::LeftButton, {}, w->geometry().center()); }
    QList<ui::Picture *> lights() const
    {
        return {games->imgHelpLight,    games->imgRunLight,      games->imgCopyHDDLight, games->imgViewLight,
                games->imgExitLight,    games->imgArcadeLight,   games->imgBoardLight,   games->imgEducateLight,
                games->imgStrategyLight, games->imgCardsLight,   games->imgActionLight,  games->imgAdvLight,
                games->img3DLight};
    }
    QList<ui::Picture *> categoryMarks() const
    {
        return {games->imgArcadeIndent, games->imgBoardIndent,  games->imgEducateIndent, games->imgStrategyIndent,
                games->imgCardsIndent,  games->imgActionIndent, games->imgAdvIndent,     games->img3DIndent};
    }
    QList<ui::Picture *> visible(const QList<ui::Picture *> &pictures) const
    {
        QList<ui::Picture *> out;
        for (auto *p : pictures)
            if (p->isVisible())
                out << p;
        return out;
    }
    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < games->lstGameListing->count(); ++i)
            names << games->lstGameListing->item(i)->text();
        return names;
    }
    QPoint background() const { return QPoint(600, 20); }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        games = &ui::form<frmGames>();
        games->move(40, 30);
        games->show();
        QVERIFY(QTest::qWaitForWindowExposed(games));
        win = games->windowHandle();
        QTest::mouseMove(win, background());
    }
    void cleanup()
    {
        ui::unload(games);
        QTest::qWait(0);
        disc.reset();
    }

    void designState()
    {
        QVERIFY(visible(lights()).isEmpty());
        QVERIFY(visible(categoryMarks()).isEmpty());
        QVERIFY(!games->lblStatus->isVisible());
        QCOMPARE(games->lstGameListing->count(), 0);
        QVERIFY(games->txtDesc->toPlainText().isEmpty());
        QVERIFY(games->txtDesc->isReadOnly());
        QCOMPARE(games->size(), QSize(640, 480));
        QCOMPARE(games->lstGameListing->geometry(), QRect(167, 90, 195, 242));
        QCOMPARE(games->txtDesc->geometry(), QRect(372, 90, 216, 242));
        QCOMPARE(games->lblStatus->geometry(), QRect(349, 22, 232, 28));
        QCOMPARE(games->lblRun->geometry(), QRect(20, 123, 103, 36));
        QCOMPARE(games->imgCopyHDDLight->geometry(), QRect(28, 182, 90, 54));
        QCOMPARE(games->img3DIndent->geometry(), QRect(326, 416, 93, 42));
        // The list takes the focus first; Tab goes on to the pane.
        games->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(games));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(games->lstGameListing));
        QTest::keyClick(games->lstGameListing, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(games->txtDesc));
    }

    void hoverShowsHint_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("hint");
        QTest::newRow("Help") << "lblHelp" << "Click here for help on using this screen.";
        QTest::newRow("Run") << "lblRun" << "Click here to run the selected game from the CD.";
        QTest::newRow("Copy") << "lblCopyHDD" << "Click here to copy the selected game to your hard drive.";
        QTest::newRow("View") << "lblView" << "Click here to view the selected game files.";
        QTest::newRow("Exit") << "lblExit" << "Click here to quit this application.";
        QTest::newRow("arcade") << "lblArcade" << "Click here for a listing of Arcade games.";
        QTest::newRow("board") << "lblBoard" << "Click here for a listing of Board games.";
        QTest::newRow("education") << "lblEducate" << "Click here for a listing of Educational games.";
        QTest::newRow("strategy") << "lblStrategy" << "Click here for a listing of Strategy games.";
        QTest::newRow("cards") << "lblCards" << "Click here for a listing of Cards games.";
        QTest::newRow("action") << "lblAction" << "Click here for a listing of Action games.";
        QTest::newRow("adventure") << "lblAdv" << "Click here for a listing of Adventure games.";
        QTest::newRow("3D") << "lbl3D" << "Click here for a listing of 3D games.";
    }
    void hoverShowsHint()
    {
        QFETCH(QString, label);
        QFETCH(QString, hint);
        Recorder rec;
        auto *hot = games->findChild<ui::HotArea *>(label);
        QVERIFY(hot);
        moveOver(hot);
        moveOver(hot, QPoint(2, 1));
        QCOMPARE(rec.sounds, QStringList{kRoll});
        const auto lit = visible(lights());
        QCOMPARE(lit.size(), 1);
        QCOMPARE(lit[0]->objectName(), QStringLiteral("img%1Light").arg(label.mid(3)));
        QVERIFY(games->lblStatus->isVisible());
        QCOMPARE(games->lblStatus->text(), hint);
    }

    void hoverHandsOverAndResets()
    {
        Recorder rec;
        moveOver(games->lblRun);
        moveOver(games->lblCopyHDD);  // straight on, no background between
        QCOMPARE(visible(lights()), QList<ui::Picture *>{games->imgCopyHDDLight});
        QCOMPARE(games->lblStatus->text(), QStringLiteral("Click here to copy the selected game to your hard drive."));
        QCOMPARE(rec.count(kRoll), 2);

        // The background, the list and the pane each clear it, silently.
        for (QPoint p : {background(), games->lstGameListing->geometry().center(), games->txtDesc->geometry().center()}) {
            moveOver(games->lblCopyHDD);
            QTest::mouseMove(win, p);
            QVERIFY(visible(lights()).isEmpty());
            QVERIFY(!games->lblStatus->isVisible());
        }
        QCOMPARE(rec.count(kRoll), 4);
        QCOMPARE(rec.count(kClick), 0);
    }

    void backgroundMovesRepaintNothing()
    {
        EventCounter counter(QEvent::Paint);
        QTest::qWait(50);
        games->installEventFilter(&counter);
        for (auto *p : lights())
            p->installEventFilter(&counter);
        games->lblStatus->installEventFilter(&counter);
        for (int i = 0; i < 20; ++i)
            QTest::mouseMove(win, background() + QPoint(-i, i));
        QTest::qWait(50);
        QCOMPARE(counter.count, 0);
    }

    void pressedLookUntilRelease_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
    }
    void pressedLookUntilRelease()
    {
        QFETCH(Qt::MouseButton, button);
        Recorder rec;
        // The commands' own dialogs (nothing is selected) are closed.
        DialogAnswerer closeDialogs([](QWidget *w) { w->close(); }, 8);
        for (ui::HotArea *hot : {games->lblHelp, games->lblRun, games->lblCopyHDD, games->lblView}) {
            auto *indent = games->findChild<ui::Picture *>(QStringLiteral("img%1Indent").arg(hot->objectName().mid(3)));
            moveOver(hot);
            QTest::mousePress(win, button, {}, hot->geometry().center());
            QVERIFY(indent->isVisible());
            QTest::mouseRelease(win, button, {}, hot->geometry().center());
            QVERIFY(!indent->isVisible());
        }
        // A completed left click plays the click sound; the right button never clicks.
        QCOMPARE(rec.count(kClick), button == Qt::LeftButton ? 4 : 0);
    }

    // A double-click is one click: its second press shows the pressed look
    // again, but its release starts nothing.
    void doubleClickIsOneClick_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("opened");
        QTest::newRow("Run") << "lblRun" << "D:\\BOARD\\CHESS\\CHESS.EXE";
        QTest::newRow("Help") << "lblHelp" << "C:\\MENU\\GLIMMERA.HLP";
    }
    void doubleClickIsOneClick()
    {
        QFETCH(QString, label);
        QFETCH(QString, opened);
        disc->addGame(QStringLiteral("Board"), QStringLiteral("CHESS"), QStringLiteral("CHESS.EXE"));
        modMain::gGameCategory = QStringLiteral("Board");
        modMain::gGameName = QStringLiteral("Chess");
        modMain::gGameFolder = QStringLiteral("CHESS");
        modMain::gGameProgram = QStringLiteral("CHESS.EXE");
        Recorder rec;
        auto *hot = games->findChild<ui::HotArea *>(label);
        auto *indent = games->findChild<ui::Picture *>(QStringLiteral("img%1Indent").arg(label.mid(3)));
        QVERIFY(hot && indent);
        EventCounter shown(QEvent::Show);
        indent->installEventFilter(&shown);
        moveOver(hot);
        QTest::mouseDClick(win, Qt::LeftButton, {}, hot->geometry().center());
        QCOMPARE(shown.count, 2);
        QVERIFY(!indent->isVisible());
        QCOMPARE(rec.shellCalls.size(), 1);
        QCOMPARE(rec.shellCalls[0].file, opened);
        QCOMPARE(rec.count(kClick), 1);
    }

    void clickWhilePressedLookShownDoesNothing()
    {
        Recorder rec;
        DialogAnswerer closeDialogs([](QWidget *w) { w->close(); });
        games->imgRunIndent->show();
        games->lblRun_Click();
        QVERIFY(rec.sounds.isEmpty());
        games->imgRunIndent->hide();
        games->lblRun_Click();
        QCOMPARE(rec.sounds, QStringList{kClick});
    }

    // --- browsing -----------------------------------------------------------

    void categoryClickListsAndMarks()
    {
        disc->writeCatalogue(QStringLiteral("Arcade"), {gameRecord("Alpha", "ALPHA", "A.EXE"), gameRecord("Beta", "BETA", "B.EXE"),
                                                       gameRecord("  Gamma  ", "GAMMA", "G.EXE")});
        disc->writeCatalogue(QStringLiteral("Board"), {gameRecord("Chess", "CHESS", "CHESS.EXE")});
        modMain::gGameName = QStringLiteral("stale");
        Recorder rec;
        MarkWatcher watcher;
        for (auto *m : categoryMarks()) {
            watcher.marks << m;
            m->installEventFilter(&watcher);
        }

        moveOver(games->lblArcade);
        click(games->lblArcade);
        QCOMPARE(listed(), (QStringList{"Alpha", "Beta", "Gamma"}));
        QCOMPARE(visible(categoryMarks()), QList<ui::Picture *>{games->imgArcadeIndent});
        QCOMPARE(games->lblArcade->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!games->lblStatus->isVisible());  // although the pointer is still on it
        QVERIFY(visible(lights()).isEmpty());
        QCOMPARE(modMain::gGameCategory, QStringLiteral("Arcade"));
        QCOMPARE(modMain::gGameName, QString());
        QVERIFY(games->lstGameListing->selectedItems().isEmpty());
        QVERIFY(!ui::hourglassShown());
        QCOMPARE(rec.sounds, (QStringList{kRoll, kClick}));

        // The current category: no highlight, no sound, and it hides others.
        moveOver(games->lblBoard);
        QVERIFY(games->imgBoardLight->isVisible());
        moveOver(games->lblArcade);
        QVERIFY(visible(lights()).isEmpty());
        QVERIFY(!games->lblStatus->isVisible());
        QCOMPARE(rec.count(kRoll), 2);

        // Clicking it again changes nothing, not even the selection.
        games->lstGameListing->setCurrentRow(1);
        rec.sounds.clear();
        click(games->lblArcade);
        QVERIFY(rec.sounds.isEmpty());
        QCOMPARE(games->lstGameListing->currentRow(), 1);
        QCOMPARE(modMain::gGameName, QStringLiteral("Beta"));

        // Another category: the old mark goes before the new one shows.
        click(games->lblBoard);
        QCOMPARE(visible(categoryMarks()), QList<ui::Picture *>{games->imgBoardIndent});
        QCOMPARE(games->lblBoard->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(games->lblArcade->cursor().shape(), Qt::BitmapCursor);  // the hand again
        QCOMPARE(listed(), QStringList{"Chess"});
        QCOMPARE(modMain::gGameName, QString());
        QVERIFY(games->txtDesc->toPlainText().isEmpty());
        QCOMPARE(watcher.worst, 1);
    }

    void unreadableCatalogueMarksNothing()
    {
        disc->writeCatalogue(QStringLiteral("Arcade"), {gameRecord("Alpha", "ALPHA", "A.EXE")});
        click(games->lblArcade);
        modMain::gGameName = QStringLiteral("Alpha");
        Recorder rec;
        click(games->lblCards);  // no QAR6.PAL
        QVERIFY(visible(categoryMarks()).isEmpty());
        QCOMPARE(games->lblCards->cursor().shape(), Qt::BitmapCursor);  // the hand
        QCOMPARE(games->lstGameListing->count(), 0);
        QCOMPARE(modMain::gGameCategory, QStringLiteral("Arcade"));
        QCOMPARE(modMain::gGameName, QStringLiteral("Alpha"));
        QCOMPARE(rec.sounds.last(), kClick);
        QCOMPARE(rec.count(kClick), 1);
        QVERIFY(!ui::hourglassShown());
    }

    void emptyCatalogueStillMarks()
    {
        disc->writeCatalogue(QStringLiteral("Strategy"), {});
        click(games->lblStrategy);
        QVERIFY(games->imgStrategyIndent->isVisible());
        QCOMPARE(games->lstGameListing->count(), 0);
        QCOMPARE(modMain::gGameCategory, QStringLiteral("Strategy"));
    }

    void selectingGames()
    {
        disc->writeCatalogue(QStringLiteral("Adv"),
                             {gameRecord("Cave", "CAVE", "CAVE.EXE", "-w", "1"), gameRecord("", "BLANK", "B.EXE"),
                              gameRecord("Tower", "Tower", "tower.exe", "", "0")});
        disc->addGame(QStringLiteral("Adv"), QStringLiteral("CAVE"), QStringLiteral("CAVE.EXE"),
                      QByteArray("Deep under the hill\r\nlies a caf\xe9.\r\n"));
        disc->addGame(QStringLiteral("Adv"), QStringLiteral("Tower"), QStringLiteral("tower.exe"), std::nullopt);
        click(games->lblAdv);
        QCOMPARE(listed(), (QStringList{"Cave", "", "Tower"}));
        Recorder rec;
        QListWidget *list = games->lstGameListing;

        // The first entry, by mouse: record 1 and its description below ADV.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(modMain::gGameName, QStringLiteral("Cave"));
        QCOMPARE(modMain::gGameFolder, QStringLiteral("CAVE"));
        QCOMPARE(modMain::gGameProgram, QStringLiteral("CAVE.EXE"));
        QCOMPARE(modMain::gGameParameters, QStringLiteral("-w"));
        QCOMPARE(modMain::gGameHddFlag, QStringLiteral("1"));
        QCOMPARE(games->txtDesc->toPlainText(), QString::fromUtf8("Deep under the hill\nlies a café.\n"));
        QVERIFY(rec.sounds.isEmpty());

        // The blank entry: nothing loaded, the previous game stays selected.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(modMain::gGameName, QStringLiteral("Cave"));

        // The third, by keyboard: its description is missing, yet it is selected.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(modMain::gGameName, QStringLiteral("Tower"));
        QCOMPARE(modMain::gGameFolder, QStringLiteral("Tower"));
        QCOMPARE(modMain::gGameHddFlag, QStringLiteral("0"));
        QCOMPARE(games->txtDesc->toPlainText(), QStringLiteral("No description file for the selected game."));
        QVERIFY(!ui::hourglassShown());

        // Back up with the arrow keys: each entry passed over is loaded.
        QTest::keyClick(list, Qt::Key_Up);
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(modMain::gGameName, QStringLiteral("Cave"));
        QVERIFY(games->txtDesc->toPlainText().startsWith(QStringLiteral("Deep under")));
    }

    void firstArrowKeySelectsFirstEntry()
    {
        disc->writeCatalogue(QStringLiteral("Cards"), {gameRecord("Solo", "SOLO", "S.EXE"), gameRecord("Duo", "DUO", "D.EXE")});
        disc->addGame(QStringLiteral("Cards"), QStringLiteral("SOLO"), QStringLiteral("S.EXE"));
        click(games->lblCards);
        games->lstGameListing->setFocus();
        QTest::keyClick(games->lstGameListing, Qt::Key_Down);
        QCOMPARE(modMain::gGameName, QStringLiteral("Solo"));
    }

    void recordBeyondTheEndKeepsSelection()
    {
        disc->writeCatalogue(QStringLiteral("3D"), {gameRecord("Cube", "CUBE", "C.EXE")});
        disc->addGame(QStringLiteral("3D"), QStringLiteral("CUBE"), QStringLiteral("C.EXE"));
        click(games->lbl3D);
        games->lstGameListing->setCurrentRow(0);
        QCOMPARE(modMain::gGameName, QStringLiteral("Cube"));
        games->displayGameText(5);
        QCOMPARE(games->txtDesc->toPlainText(), QStringLiteral("No description file for the selected game."));
        QCOMPARE(modMain::gGameName, QStringLiteral("Cube"));
    }
};

QTEST_MAIN(TestMainScreen)
#include "test_mainscreen.moc"
