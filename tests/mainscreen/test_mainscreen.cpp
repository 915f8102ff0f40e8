// The main screen driven with real pointer and key events: highlights, pressed
// looks, category marks, listing and game details.
#include "mainscreen.h"

#include <QListWidget>
#include <QPlainTextEdit>

namespace {
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
    std::unique_ptr<MainScreen> screen;
    frmGames *games = nullptr;
    QWindow *win = nullptr;

    void moveOver(const ui::Control *c, QPoint offset = {}) { screen->moveOver(c, offset); }
    void moveOver(QWidget *w, QPoint offset = {}) { QTest::mouseMove(win, w->geometry().center() + offset); }
    void click(const ui::Control *c) { screen->click(c); }
    QWidget *w(const ui::Control *c) const { return widgetOf(c); }
    QList<QWidget *> lights() const
    {
        QList<QWidget *> out;
        for (const ui::Picture *p :
             {games->imgHelpLight, games->imgRunLight, games->imgCopyHDDLight, games->imgViewLight, games->imgExitLight,
              games->imgArcadeLight, games->imgBoardLight, games->imgEducateLight, games->imgStrategyLight,
              games->imgCardsLight, games->imgActionLight, games->imgAdvLight, games->img3DLight})
            out << w(p);
        return out;
    }
    QList<QWidget *> categoryMarks() const
    {
        QList<QWidget *> out;
        for (const ui::Picture *p : {games->imgArcadeIndent, games->imgBoardIndent, games->imgEducateIndent,
                                     games->imgStrategyIndent, games->imgCardsIndent, games->imgActionIndent,
                                     games->imgAdvIndent, games->img3DIndent})
            out << w(p);
        return out;
    }
    QList<QWidget *> visible(const QList<QWidget *> &pictures) const
    {
        QList<QWidget *> out;
        for (auto *p : pictures)
            if (p->isVisible())
                out << p;
        return out;
    }
    // A control of the main screen by the name the form gives it.
    QWidget *named(const QString &name) const { return widgetOf(*games)->findChild<QWidget *>(name); }
    QStringList listed() const { return screen->listed(); }
    QPoint background() const { return QPoint(600, 20); }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        screen = std::make_unique<MainScreen>(QPoint(40, 30));
        QVERIFY(screen->exposed());
        games = &screen->games;
        win = screen->win();
        QTest::mouseMove(win, background());
    }
    void cleanup()
    {
        screen.reset();
        disc.reset();
    }

    void designState()
    {
        QVERIFY(visible(lights()).isEmpty());
        QVERIFY(visible(categoryMarks()).isEmpty());
        QVERIFY(!shown(games->lblStatus));
        QCOMPARE(screen->list()->count(), 0);
        QVERIFY(screen->description().isEmpty());
        QVERIFY(screen->pane()->isReadOnly());
        QCOMPARE(widgetOf(*games)->size(), QSize(640, 480));
        QCOMPARE(geometryOf(games->lstGameListing), QRect(167, 90, 195, 242));
        QCOMPARE(geometryOf(games->txtDesc), QRect(372, 90, 216, 242));
        QCOMPARE(geometryOf(games->lblStatus), QRect(349, 22, 232, 28));
        QCOMPARE(geometryOf(games->lblRun), QRect(20, 123, 103, 36));
        QCOMPARE(geometryOf(games->imgCopyHDDLight), QRect(28, 182, 90, 54));
        QCOMPARE(geometryOf(games->img3DIndent), QRect(326, 416, 93, 42));
        // The list takes the focus first; Tab goes on to the pane.
        widgetOf(*games)->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(widgetOf(*games)));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(screen->list()));
        QTest::keyClick(screen->list(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(screen->pane()));
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
        QWidget *hot = named(label);
        QVERIFY(hot);
        moveOver(hot);
        moveOver(hot, QPoint(2, 1));
        QCOMPARE(rec.sounds, QStringList{kRoll});
        const auto lit = visible(lights());
        QCOMPARE(lit.size(), 1);
        QCOMPARE(lit[0]->objectName(), QStringLiteral("img%1Light").arg(label.mid(3)));
        QVERIFY(shown(games->lblStatus));
        QCOMPARE(screen->status(), hint);
    }

    void hoverHandsOverAndResets()
    {
        Recorder rec;
        moveOver(games->lblRun);
        moveOver(games->lblCopyHDD);  // straight on, no background between
        QCOMPARE(visible(lights()), QList<QWidget *>{w(games->imgCopyHDDLight)});
        QCOMPARE(screen->status(), QStringLiteral("Click here to copy the selected game to your hard drive."));
        QCOMPARE(rec.count(kRoll), 2);

        // The background, the list and the pane each clear it, silently.
        for (QPoint p : {background(), centreOf(games->lstGameListing), centreOf(games->txtDesc)}) {
            moveOver(games->lblCopyHDD);
            QTest::mouseMove(win, p);
            QVERIFY(visible(lights()).isEmpty());
            QVERIFY(!shown(games->lblStatus));
        }
        QCOMPARE(rec.count(kRoll), 4);
        QCOMPARE(rec.count(kClick), 0);
    }

    void backgroundMovesRepaintNothing()
    {
        EventCounter counter(QEvent::Paint);
        QTest::qWait(50);
        widgetOf(*games)->installEventFilter(&counter);
        for (auto *p : lights())
            p->installEventFilter(&counter);
        w(games->lblStatus)->installEventFilter(&counter);
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
        for (const ui::HotArea *hot : {games->lblHelp, games->lblRun, games->lblCopyHDD, games->lblView}) {
            QWidget *indent = named(QStringLiteral("img%1Indent").arg(w(hot)->objectName().mid(3)));
            QVERIFY(indent);
            moveOver(hot);
            screen->press(hot, button);
            QVERIFY(indent->isVisible());
            screen->release(hot, button);
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
        modMain::gGameCategory = "Board";
        modMain::gGameName = "Chess";
        modMain::gGameFolder = "CHESS";
        modMain::gGameProgram = "CHESS.EXE";
        Recorder rec;
        QWidget *hot = named(label);
        QWidget *indent = named(QStringLiteral("img%1Indent").arg(label.mid(3)));
        QVERIFY(hot && indent);
        EventCounter shownCount(QEvent::Show);
        indent->installEventFilter(&shownCount);
        moveOver(hot);
        QTest::mouseDClick(win, Qt::LeftButton, {}, hot->geometry().center());
        QCOMPARE(shownCount.count, 2);
        QVERIFY(!indent->isVisible());
        QCOMPARE(rec.shellCalls.size(), 1);
        QCOMPARE(rec.shellCalls[0].file, opened);
        QCOMPARE(rec.count(kClick), 1);
    }

    // A click that comes while the pressed look is still on screen (here
    // held there through the release) does nothing, not even its sound.
    void clickWhilePressedLookShownDoesNothing()
    {
        {
            Recorder quiet;  // the pointer rests on Run before the click
            moveOver(games->lblRun);
        }
        Recorder rec;
        DialogAnswerer closeDialogs([](QWidget *w) { w->close(); });
        {
            KeepShown held(w(games->imgRunIndent));
            click(games->lblRun);
            QVERIFY(shown(games->imgRunIndent));
            QVERIFY(rec.sounds.isEmpty());
        }
        w(games->imgRunIndent)->hide();
        click(games->lblRun);
        QCOMPARE(rec.sounds, QStringList{kClick});
    }

    // --- browsing -----------------------------------------------------------

    void categoryClickListsAndMarks()
    {
        disc->writeCatalogue(QStringLiteral("Arcade"), {gameRecord("Alpha", "ALPHA", "A.EXE"), gameRecord("Beta", "BETA", "B.EXE"),
                                                       gameRecord("  Gamma  ", "GAMMA", "G.EXE")});
        disc->writeCatalogue(QStringLiteral("Board"), {gameRecord("Chess", "CHESS", "CHESS.EXE")});
        modMain::gGameName = "stale";
        Recorder rec;
        MarkWatcher watcher;
        for (auto *m : categoryMarks()) {
            watcher.marks << m;
            m->installEventFilter(&watcher);
        }

        moveOver(games->lblArcade);
        click(games->lblArcade);
        QCOMPARE(listed(), (QStringList{"Alpha", "Beta", "Gamma"}));
        QCOMPARE(visible(categoryMarks()), QList<QWidget *>{w(games->imgArcadeIndent)});
        QCOMPARE(w(games->lblArcade)->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!shown(games->lblStatus));  // although the pointer is still on it
        QVERIFY(visible(lights()).isEmpty());
        QCOMPARE(modMain::gGameCategory, std::string("Arcade"));
        QCOMPARE(modMain::gGameName, std::string());
        QVERIFY(screen->list()->selectedItems().isEmpty());
        QVERIFY(!ui::hourglassShown());
        QCOMPARE(rec.sounds, (QStringList{kRoll, kClick}));

        // The current category: no highlight, no sound, and it hides others.
        moveOver(games->lblBoard);
        QVERIFY(shown(games->imgBoardLight));
        moveOver(games->lblArcade);
        QVERIFY(visible(lights()).isEmpty());
        QVERIFY(!shown(games->lblStatus));
        QCOMPARE(rec.count(kRoll), 2);

        // Clicking it again changes nothing, not even the selection.
        screen->clickRow(1);
        rec.sounds.clear();
        click(games->lblArcade);
        QVERIFY(rec.sounds.isEmpty());
        QCOMPARE(screen->list()->currentRow(), 1);
        QCOMPARE(modMain::gGameName, std::string("Beta"));

        // Another category: the old mark goes before the new one shows.
        click(games->lblBoard);
        QCOMPARE(visible(categoryMarks()), QList<QWidget *>{w(games->imgBoardIndent)});
        QCOMPARE(w(games->lblBoard)->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(w(games->lblArcade)->cursor().shape(), Qt::BitmapCursor);  // the hand again
        QCOMPARE(listed(), QStringList{"Chess"});
        QCOMPARE(modMain::gGameName, std::string());
        QVERIFY(screen->description().isEmpty());
        QCOMPARE(watcher.worst, 1);
    }

    void unreadableCatalogueMarksNothing()
    {
        disc->writeCatalogue(QStringLiteral("Arcade"), {gameRecord("Alpha", "ALPHA", "A.EXE")});
        click(games->lblArcade);
        modMain::gGameName = "Alpha";
        Recorder rec;
        click(games->lblCards);  // no QAR6.PAL
        QVERIFY(visible(categoryMarks()).isEmpty());
        QCOMPARE(w(games->lblCards)->cursor().shape(), Qt::BitmapCursor);  // the hand
        QCOMPARE(screen->list()->count(), 0);
        QCOMPARE(modMain::gGameCategory, std::string("Arcade"));
        QCOMPARE(modMain::gGameName, std::string("Alpha"));
        QCOMPARE(rec.sounds.last(), kClick);
        QCOMPARE(rec.count(kClick), 1);
        QVERIFY(!ui::hourglassShown());
    }

    void emptyCatalogueStillMarks()
    {
        disc->writeCatalogue(QStringLiteral("Strategy"), {});
        click(games->lblStrategy);
        QVERIFY(shown(games->imgStrategyIndent));
        QCOMPARE(screen->list()->count(), 0);
        QCOMPARE(modMain::gGameCategory, std::string("Strategy"));
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
        QListWidget *list = screen->list();

        // The first entry, by mouse: record 1 and its description below ADV.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(modMain::gGameName, std::string("Cave"));
        QCOMPARE(modMain::gGameFolder, std::string("CAVE"));
        QCOMPARE(modMain::gGameProgram, std::string("CAVE.EXE"));
        QCOMPARE(modMain::gGameParameters, std::string("-w"));
        QCOMPARE(modMain::gGameHddFlag, std::string("1"));
        QCOMPARE(screen->description(), QString::fromUtf8("Deep under the hill\nlies a café.\n"));
        QVERIFY(rec.sounds.isEmpty());

        // The blank entry: nothing loaded, the previous game stays selected.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(modMain::gGameName, std::string("Cave"));

        // The third, by keyboard: its description is missing, yet it is selected.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(modMain::gGameName, std::string("Tower"));
        QCOMPARE(modMain::gGameFolder, std::string("Tower"));
        QCOMPARE(modMain::gGameHddFlag, std::string("0"));
        QCOMPARE(screen->description(), kNoDescription);
        QVERIFY(!ui::hourglassShown());

        // Back up with the arrow keys: each entry passed over is loaded.
        QTest::keyClick(list, Qt::Key_Up);
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(modMain::gGameName, std::string("Cave"));
        QVERIFY(screen->description().startsWith(QStringLiteral("Deep under")));
    }

    void firstArrowKeySelectsFirstEntry()
    {
        disc->writeCatalogue(QStringLiteral("Cards"), {gameRecord("Solo", "SOLO", "S.EXE"), gameRecord("Duo", "DUO", "D.EXE")});
        disc->addGame(QStringLiteral("Cards"), QStringLiteral("SOLO"), QStringLiteral("S.EXE"));
        click(games->lblCards);
        screen->list()->setFocus();
        QTest::keyClick(screen->list(), Qt::Key_Down);
        QCOMPARE(modMain::gGameName, std::string("Solo"));
    }

    // An entry whose record is no longer in the catalogue (the file became
    // shorter after the listing): the pane says so and the game selected
    // before stays selected.
    void recordBeyondTheEndKeepsSelection()
    {
        disc->writeCatalogue(QStringLiteral("3D"), {gameRecord("Cube", "CUBE", "C.EXE"), gameRecord("Two", "TWO", "T.EXE"),
                                                   gameRecord("Three", "THREE", "T.EXE"), gameRecord("Four", "FOUR", "F.EXE"),
                                                   gameRecord("Five", "FIVE", "F.EXE")});
        disc->addGame(QStringLiteral("3D"), QStringLiteral("CUBE"), QStringLiteral("C.EXE"));
        click(games->lbl3D);
        screen->clickRow(0);
        QCOMPARE(modMain::gGameName, std::string("Cube"));
        disc->writeCatalogue(QStringLiteral("3D"), {gameRecord("Cube", "CUBE", "C.EXE")});
        screen->clickRow(4);  // record 5
        QCOMPARE(screen->description(), kNoDescription);
        QCOMPARE(modMain::gGameName, std::string("Cube"));
    }
};

QTEST_MAIN(TestMainScreen)
#include "test_mainscreen.moc"
