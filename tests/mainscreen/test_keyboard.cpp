// The main screen without a mouse: the Tab cycle through the list, the pane
// and the thirteen buttons, the arrow keys within the command column and the
// category block, every button clicked from the keyboard, and the focus
// rectangle, all with real key events typed into the window.
#include "dialogs/frmCD.h"
#include "keys.h"
#include "mainscreen.h"

namespace {
// Counts the times the watched pictures are shown.
class ShowCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show)
            ++count;
        return false;
    }
};
} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    std::unique_ptr<MainScreen> screen;
    frmGames *games = nullptr;
    QWindow *win = nullptr;

    void type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { typeKey(win, key, modifiers); }
    QWidget *named(const QString &name) const { return widgetOf(*games)->findChild<QWidget *>(name); }
    // The Light pictures on screen, by name.
    QStringList lit() const
    {
        QStringList names;
        for (QWidget *p : widgetOf(*games)->findChildren<QWidget *>())
            if (p->objectName().endsWith(QLatin1String("Light")) && p->isVisible())
                names << p->objectName();
        return names;
    }
    QString focusedName() const { return focusedWidget() ? focusedWidget()->objectName() : QString(); }

    // The whole Tab cycle from the list, and the hint each button shows.
    static QList<QPair<QString, QString>> cycle()
    {
        return {{"txtDesc", ""},
                {"lblHelp", "Click here for help on using this screen."},
                {"lblRun", "Click here to run the selected game from the CD."},
                {"lblCopyHDD", "Click here to copy the selected game to your hard drive."},
                {"lblView", "Click here to view the selected game files."},
                {"lblExit", "Click here to quit this application."},
                {"lblArcade", "Click here for a listing of Arcade games."},
                {"lblBoard", "Click here for a listing of Board games."},
                {"lblEducate", "Click here for a listing of Educational games."},
                {"lblStrategy", "Click here for a listing of Strategy games."},
                {"lblCards", "Click here for a listing of Cards games."},
                {"lblAction", "Click here for a listing of Action games."},
                {"lblAdv", "Click here for a listing of Adventure games."},
                {"lbl3D", "Click here for a listing of 3D games."},
                {"lstGameListing", ""}};
    }

    // After a button took the focus: it alone is lit and its hint shows; on
    // the list or the pane nothing is lit.
    void verifyArrival(const QString &name, const QString &hint)
    {
        QCOMPARE(focusedName(), name);
        if (hint.isEmpty()) {
            QVERIFY(lit().isEmpty());
            QVERIFY(!shown(games->lblStatus));
        } else {
            QCOMPARE(lit(), QStringList{QStringLiteral("img%1Light").arg(name.mid(3))});
            QVERIFY(shown(games->lblStatus));
            QCOMPARE(screen->status(), hint);
        }
    }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        screen = std::make_unique<MainScreen>(QPoint(40, 30));
        QVERIFY(screen->exposed());
        games = &screen->games;
        win = screen->win();
        widgetOf(*games)->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(widgetOf(*games)));
        QTest::mouseMove(win, QPoint(600, 20));
    }
    void cleanup()
    {
        screen.reset();
        disc.reset();
    }

    // The window opens with the focus in the list; Tab goes round the whole
    // cycle, each button looking and sounding as under the pointer, and
    // Shift+Tab goes it backwards to the list again.
    void tabGoesRoundTheCycle()
    {
        QCOMPARE(focusedName(), QStringLiteral("lstGameListing"));
        QVERIFY(lit().isEmpty());
        Recorder rec;
        for (const auto &[name, hint] : cycle()) {
            type(Qt::Key_Tab);
            verifyArrival(name, hint);
        }
        QCOMPARE(rec.count(kRoll), 13);

        rec.sounds.clear();
        QList<QPair<QString, QString>> backwards = cycle();
        backwards.removeLast();  // the list, where the walk starts and ends
        std::reverse(backwards.begin(), backwards.end());
        backwards.append(qMakePair(QStringLiteral("lstGameListing"), QString()));
        for (const auto &[name, hint] : backwards) {
            type(Qt::Key_Tab, Qt::ShiftModifier);
            verifyArrival(name, hint);
        }
        QCOMPARE(rec.count(kRoll), 13);
        QCOMPARE(rec.count(kClick), 0);
    }

    // The current category, reached by Tab, shows no highlight, no hint and
    // plays nothing, as under the pointer; it still shows the focus.
    void currentCategoryFocusedShowsNothing()
    {
        disc->writeCatalogue(QStringLiteral("Board"), {gameRecord("Chess", "CHESS", "CHESS.EXE")});
        games->lblBoard->setFocus();
        type(Qt::Key_Return);
        QVERIFY(shown(games->imgBoardIndent));
        games->lblArcade->setFocus();
        Recorder rec;
        type(Qt::Key_Tab);
        QVERIFY(games->lblBoard->hasFocus());
        QVERIFY(lit().isEmpty());
        QVERIFY(!shown(games->lblStatus));
        QVERIFY(rec.sounds.isEmpty());
    }

    // The arrow keys move within the command column and within the category
    // block, and stop at their edges.
    void arrowKeys_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("to");
        QTest::newRow("Help, Up: the top") << "lblHelp" << Qt::Key_Up << "lblHelp";
        QTest::newRow("Help, Down") << "lblHelp" << Qt::Key_Down << "lblRun";
        QTest::newRow("Copy, Up") << "lblCopyHDD" << Qt::Key_Up << "lblRun";
        QTest::newRow("View, Down") << "lblView" << Qt::Key_Down << "lblExit";
        QTest::newRow("Exit, Down: the bottom") << "lblExit" << Qt::Key_Down << "lblExit";
        QTest::newRow("Run, Left: the column's edge") << "lblRun" << Qt::Key_Left << "lblRun";
        QTest::newRow("Run, Right: the column's edge") << "lblRun" << Qt::Key_Right << "lblRun";
        QTest::newRow("arcade, Left") << "lblArcade" << Qt::Key_Left << "lblArcade";
        QTest::newRow("arcade, Up") << "lblArcade" << Qt::Key_Up << "lblArcade";
        QTest::newRow("arcade, Right") << "lblArcade" << Qt::Key_Right << "lblBoard";
        QTest::newRow("arcade, Down") << "lblArcade" << Qt::Key_Down << "lblCards";
        QTest::newRow("strategy, Right: the row's end") << "lblStrategy" << Qt::Key_Right << "lblStrategy";
        QTest::newRow("strategy, Down") << "lblStrategy" << Qt::Key_Down << "lbl3D";
        QTest::newRow("education, Left") << "lblEducate" << Qt::Key_Left << "lblBoard";
        QTest::newRow("action, Up") << "lblAction" << Qt::Key_Up << "lblBoard";
        QTest::newRow("cards, Left: the block's edge") << "lblCards" << Qt::Key_Left << "lblCards";
        QTest::newRow("3D, Down: the bottom") << "lbl3D" << Qt::Key_Down << "lbl3D";
        QTest::newRow("3D, Right: the corner") << "lbl3D" << Qt::Key_Right << "lbl3D";
    }
    void arrowKeys()
    {
        QFETCH(QString, from);
        QFETCH(Qt::Key, key);
        QFETCH(QString, to);
        named(from)->setFocus(Qt::TabFocusReason);
        QCOMPARE(focusedName(), from);
        Recorder rec;
        type(key);
        QCOMPARE(focusedName(), to);
        QCOMPARE(lit(), QStringList{QStringLiteral("img%1Light").arg(to.mid(3))});
        QCOMPARE(rec.count(kRoll), from == to ? 0 : 1);
    }

    // In the list the arrow keys keep their meaning: they select games.
    void arrowKeysInTheListSelectGames()
    {
        disc->writeCatalogue(QStringLiteral("Cards"), {gameRecord("Solo", "SOLO", "S.EXE"), gameRecord("Duo", "DUO", "D.EXE")});
        games->lblCards->setFocus();
        type(Qt::Key_Space);
        games->lstGameListing->setFocus();
        type(Qt::Key_Down);
        type(Qt::Key_Down);
        QCOMPARE(focusedName(), QStringLiteral("lstGameListing"));
        QCOMPARE(modMain::gGameName, std::string("Duo"));
    }

    // Each command by Enter or Space: the click sound and the command, never
    // the pressed look; a key held down is one click.
    void commandsByKeyboard_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("repeats");
        QTest::addColumn<QString>("opened");   // what the shell is asked to open
        QTest::addColumn<QString>("message");  // or the message shown
        QTest::newRow("Help, Enter") << "lblHelp" << Qt::Key_Return << 0 << "C:\\MENU\\GLIMMERA.HLP" << "";
        QTest::newRow("Help, Space held") << "lblHelp" << Qt::Key_Space << 6 << "C:\\MENU\\GLIMMERA.HLP" << "";
        QTest::newRow("Run, Space") << "lblRun" << Qt::Key_Space << 0 << "D:\\BOARD\\CHESS\\CHESS.EXE" << "";
        QTest::newRow("Run, Enter held") << "lblRun" << Qt::Key_Return << 6 << "D:\\BOARD\\CHESS\\CHESS.EXE" << "";
        QTest::newRow("Copy, Enter") << "lblCopyHDD" << Qt::Key_Return << 0 << "" << kSelectToCopy;
        QTest::newRow("View, Space") << "lblView" << Qt::Key_Space << 0 << "" << kSelectToView;
    }
    void commandsByKeyboard()
    {
        QFETCH(QString, label);
        QFETCH(Qt::Key, key);
        QFETCH(int, repeats);
        QFETCH(QString, opened);
        QFETCH(QString, message);
        if (!opened.startsWith(QLatin1String("C:"))) {
            disc->addGame(QStringLiteral("Board"), QStringLiteral("CHESS"), QStringLiteral("CHESS.EXE"));
            modMain::gGameCategory = "Board";
            modMain::gGameName = opened.isEmpty() ? "" : "Chess";
            modMain::gGameFolder = "CHESS";
            modMain::gGameProgram = "CHESS.EXE";
        }
        QWidget *indent = named(QStringLiteral("img%1Indent").arg(label.mid(3)));
        ShowCounter pressedLook;
        indent->installEventFilter(&pressedLook);
        named(label)->setFocus(Qt::TabFocusReason);
        Recorder rec;
        // The message is answered from the keyboard too: Escape is its OK.
        QString shownMessage;
        DialogAnswerer answer([&](QWidget *w) {
            if (auto *cd = ui::qt::formOf<frmCD>(w))
                shownMessage = textOf(cd->lblInstruction);
            typeKey(w, Qt::Key_Escape);
        });
        holdKey(win, key, repeats);
        QTRY_VERIFY(message.isEmpty() || !ui::loadedForm<frmCD>());
        // Back in the main screen the focus is where it was.
        widgetOf(*games)->activateWindow();
        QTRY_COMPARE(focusedName(), label);
        QCOMPARE(shownMessage, message);
        QCOMPARE(rec.shellCalls.size(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty())
            QCOMPARE(rec.shellCalls[0].file, opened);
        QCOMPARE(rec.count(kClick), message.isEmpty() ? 1 : 2);  // the message's OK clicks too
        QCOMPARE(pressedLook.count, 0);
    }

    // Each category by the keyboard: listed, marked, and selected for a
    // screen reader; the one marked before is not selected any more.
    void categoriesByKeyboard_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("key");
        QTest::newRow("arcade") << "lblArcade" << "Arcade";
        QTest::newRow("board") << "lblBoard" << "Board";
        QTest::newRow("education") << "lblEducate" << "Educate";
        QTest::newRow("strategy") << "lblStrategy" << "Strategy";
        QTest::newRow("cards") << "lblCards" << "Cards";
        QTest::newRow("action") << "lblAction" << "Action";
        QTest::newRow("adventure") << "lblAdv" << "Adv";
        QTest::newRow("3D") << "lbl3D" << "3D";
    }
    void categoriesByKeyboard()
    {
        QFETCH(QString, label);
        QFETCH(QString, key);
        disc->writeCatalogue(key, {gameRecord("Only " + key, "ONLY", "O.EXE")});
        const QString other = key == QLatin1String("Arcade") ? QStringLiteral("Board") : QStringLiteral("Arcade");
        disc->writeCatalogue(other, {gameRecord("Other", "OTHER", "O.EXE")});
        ui::HotArea *otherLabel = other == QLatin1String("Board") ? games->lblBoard : games->lblArcade;
        otherLabel->setFocus();
        type(Qt::Key_Return);
        QVERIFY(otherLabel->selected());

        named(label)->setFocus(Qt::TabFocusReason);
        Recorder rec;
        type(Qt::Key_Return);
        QCOMPARE(screen->listed(), QStringList{"Only " + key});
        QCOMPARE(modMain::gGameCategory, key.toStdString());
        QVERIFY(named(QStringLiteral("img%1Indent").arg(label.mid(3)))->isVisible());
        QVERIFY(spokenOf(named(label)).state.selected);
        QVERIFY(!otherLabel->selected());
        QCOMPARE(rec.sounds, QStringList{kClick});
    }

    // The focus rectangle of a command stays whatever the pointer lights or
    // puts out: over the background, over another button, over itself.
    void focusRectangleStaysUnderThePointer()
    {
        Recorder rec;
        QWidget *window = widgetOf(*games);
        const QRect run = geometryOf(games->lblRun);
        screen->moveOver(games->lblRun);
        const QImage plainLit = shownAt(window, run);
        QTest::mouseMove(win, QPoint(600, 20));
        const QImage plainDark = shownAt(window, run);

        for (int i = 0; i < 3; ++i)  // from the list: the pane, Help, Run
            type(Qt::Key_Tab);
        QVERIFY(games->lblRun->hasFocus());
        QVERIFY(showsDottedOutline(plainLit, shownAt(window, run)));
        QTest::mouseMove(win, QPoint(610, 25));  // the background again, elsewhere
        QVERIFY(lit().isEmpty());
        QVERIFY(showsDottedOutline(plainDark, shownAt(window, run)));
        screen->moveOver(games->lblHelp);
        QVERIFY(shown(games->imgHelpLight));
        QVERIFY(showsDottedOutline(plainDark, shownAt(window, run)));
        screen->moveOver(games->lblRun);
        QVERIFY(showsDottedOutline(plainLit, shownAt(window, run)));
        // A click elsewhere takes no focus: the rectangle stays on Run.
        screen->click(games->lblHelp);
        QCOMPARE(rec.shellCalls.size(), 1);
        QVERIFY(games->lblRun->hasFocus());
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
